#include "pages/IOSystemInstallationsPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallIOSystemInstallations::kdDInstallIOSystemInstallations(const std::string& title)
    : kdDPropertyPageBase(IDD_IO_SYSTEM, title, "3rd Party IO Drivers") {
    uiDlgName = "3rd Party IO Drivers";
    statusText = "Please click on the 'Next' button to install the optional utility softwares.\nOr click on "
                 "the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallIOSystemInstallations::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallIOSystemInstallations::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
