#include "pages/ThirdPartyInstallationsPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstall3rdPartyInstallations::kdDInstall3rdPartyInstallations(const std::string& title)
    : kdDPropertyPageBase(IDD_THIRD_PARTY, title, "3rd Party Camera Drivers - 1") {
    uiDlgName = "3rd Party Camera Drivers - 1";
    statusText = "Please click on the 'Next' button to browse and install the 3rd party camera drivers - "
                 "2.\nOr click on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstall3rdPartyInstallations::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstall3rdPartyInstallations::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
