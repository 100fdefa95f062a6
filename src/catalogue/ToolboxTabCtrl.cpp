#include "catalogue/ToolboxTabCtrl.h"

#include "catalogue_ids.h"
#include "download/InstallationElement.h"

DToolboxDeepformVisionTabCtrl::DToolboxDeepformVisionTabCtrl()
    : hnCatalogueTabCtrl("DToolboxDeepformVisionTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabTemplates()),
                         IDD_TOOLBOX_NOT_AVAILABLE) {
    addTabDialog(std::unique_ptr<hnCatalogueTabDialog>(new DTabProfiles2D()));
}

int DToolboxDeepformVisionTabCtrl::setToolboxTabs(const std::vector<std::string>& templateGroups,
                                                  const std::vector<std::string>& profileGroups,
                                                  const std::string& selectName,
                                                  const std::string& templatesList,
                                                  const std::string& profilesList, const std::string& category) {
    // One cache folder serves both Python lines.
    return setGroupedTabs(category, {templateGroups, profileGroups}, {templatesList, profilesList}, selectName,
                          cache::kToolbox);
}
