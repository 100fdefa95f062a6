#include "pages/DemoProfilesPage.h"

#include "pages_ids.h"

kdDInstallDemoProfiles::kdDInstallDemoProfiles(const std::string& title)
    : kdDCataloguePageBase(IDD_DEMO_PROFILES, title, "Machine Vision Demonstration Profiles",
                           demoProfilesVariant(CatalogueKind::DemoProfiles)) {
    uiDlgName = "Demonstration Profiles";
    statusText = "Please click on the 'Next' button to install the tutorials.\nOr click on the 'Finish' "
                 "button to complete the installation.";
}
