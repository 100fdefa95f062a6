#include "pages/ImportProfilesPage.h"

#include "pages_ids.h"

kdDInstallImportProfiles::kdDInstallImportProfiles(const std::string& title)
    : kdDPropertyPageBase(IDD_IMPORT_PROFILES, title, "Import Orvanto Profiles") {
    uiDlgName = "Import Orvanto Profiles";
    statusText = "Please click on the 'Next' button to browse and download the demonstration profiles.\nOr "
                 "click on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallImportProfiles::setupControls() {
    return 1;
}

bool kdDInstallImportProfiles::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
