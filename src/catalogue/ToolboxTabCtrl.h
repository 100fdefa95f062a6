#pragma once
// The tab control of a 3D toolbox build: the template groups of the build's
// templates list followed by the groups of its demo-profiles list, each tab
// shown by the templates or the profiles tab dialog; one blank tab with the
// not-available dialog when both lists are empty.
#include <string>
#include <vector>

#include "catalogue/CatalogueTabCtrl.h"

class DToolboxDeepformVisionTabCtrl : public hnCatalogueTabCtrl {
public:
    DToolboxDeepformVisionTabCtrl();

    // Replaces the tabs and selects `selectName` (without regard to case; tab
    // 0 when it is not there). 1.
    int setToolboxTabs(const std::vector<std::string>& templateGroups,
                       const std::vector<std::string>& profileGroups, const std::string& selectName,
                       const std::string& templatesListPath, const std::string& profilesListPath,
                       const std::string& category);

    // The lists the template and the profile tabs were set from.
    std::string templatesListPath() const;
    std::string profilesListPath() const;
};
