#include "pages/Utilities2Page.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallUtilities2::kdDInstallUtilities2(const std::string& title)
    : kdDPropertyPageBase(IDD_UTILITIES2, title, "Optional Utility Software II") {
    uiDlgName = "Optional Utility Software II";
    statusText = "Please click on the 'Next' button to access the Halvenor Utilities.\nOr click on the "
                 "'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallUtilities2::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallUtilities2::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
