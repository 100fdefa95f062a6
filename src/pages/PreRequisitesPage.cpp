#include "pages/PreRequisitesPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallPreRequisites::kdDInstallPreRequisites(const std::string& title)
    : kdDPropertyPageBase(IDD_PREREQUISITES, title, "Prerequisite Installation") {
    uiDlgName = "Prerequisite Installation";
    statusText = "Please click on the 'Next' button to proceed";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallPreRequisites::setupControls() {
    setupImageButton(downloadButton, IDC_PREREQ_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallPreRequisites::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    showDownloadButton(IDC_PREREQ_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
