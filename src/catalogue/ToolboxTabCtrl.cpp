#include "catalogue/ToolboxTabCtrl.h"

#include "catalogue_ids.h"
#include "download/InstallationElement.h"

DToolboxDeepformVisionTabCtrl::DToolboxDeepformVisionTabCtrl()
    : hnCatalogueTabCtrl("DToolboxDeepformVisionTabCtrl",
                         std::unique_ptr<hnCatalogueTabDialog>(new DTabTemplates()),
                         std::unique_ptr<hnDialog>(new DTabTemplatesAndDemoProfilesNotAvailable())) {
    addTabDialog(std::unique_ptr<hnCatalogueTabDialog>(new DTabProfiles2D()));
}

int DToolboxDeepformVisionTabCtrl::setToolboxTabs(const std::vector<std::string>& templateGroups,
                                                  const std::vector<std::string>& profileGroups,
                                                  const std::string& selectName,
                                                  const std::string& templatesListPath,
                                                  const std::string& profilesListPath,
                                                  const std::string& category) {
    // One cache folder serves both Python lines.
    return setGroupedTabs(category, {templateGroups, profileGroups}, {templatesListPath, profilesListPath},
                          selectName, cache::kToolbox);
}

std::string DToolboxDeepformVisionTabCtrl::templatesListPath() const {
    return groupListPath(0);
}

std::string DToolboxDeepformVisionTabCtrl::profilesListPath() const {
    return groupListPath(1);
}
