#include "pages/ReleaseNotesPage.h"

#include "pages_ids.h"

kdDInstallReleaseNotes::kdDInstallReleaseNotes(const std::string& title)
    : kdDPropertyPageBase(IDD_RELEASE_NOTES, title, "Readme Notes") {
    uiDlgName = "Readme Notes";
    statusText = "Please click on the 'Next' button to install the pre-requisites.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallReleaseNotes::setupControls() {
    return 1;
}

bool kdDInstallReleaseNotes::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    return kdDPropertyPageBase::onSetActive();
}
