#include "pages/ThirdPartyInstallations2Page.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstall3rdPartyInstallations2::kdDInstall3rdPartyInstallations2(const std::string& title)
    : kdDPropertyPageBase(IDD_THIRD_PARTY2, title, "3rd Party Camera Drivers - 2") {
    uiDlgName = "3rd Party Camera Drivers - 2";
    statusText = "Please click on the 'Next' button to browse and install the 3rd party IO drivers.\nOr "
                 "click on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstall3rdPartyInstallations2::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstall3rdPartyInstallations2::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
