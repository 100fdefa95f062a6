#include "pages/Py36DemoProfilesPage.h"

#include "pages_ids.h"

kdDInstallPy36DemoProfiles::kdDInstallPy36DemoProfiles(const std::string& title)
    : kdDCataloguePageBase(IDD_PY36_DEMO_PROFILES, title, "Machine Vision Demonstration Profiles (Python 36)",
                           demoProfilesVariant(CatalogueKind::DemoProfilesPy36)) {
    uiDlgName = "Demonstration Profiles (Python 36)";
    statusText = "Please click on the 'Next' button to install the tutorials.\nOr click on the 'Finish' "
                 "button to complete the installation.";
}
