#include "pages/DemoProfilesPage.h"

#include "pages_ids.h"

kdDInstallDemoProfiles::kdDInstallDemoProfiles(const std::string& title)
    : kdDPropertyPageBase(IDD_DEMO_PROFILES, title, "Machine Vision Demonstration Profiles") {
    uiDlgName = "Demonstration Profiles";
    statusText = "Please click on the 'Next' button to install the tutorials.\nOr click on the 'Finish' "
                 "button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallDemoProfiles::setupControls() {
    return 1;
}

bool kdDInstallDemoProfiles::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
