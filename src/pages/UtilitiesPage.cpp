#include "pages/UtilitiesPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallUtilities::kdDInstallUtilities(const std::string& title)
    : kdDPropertyPageBase(IDD_UTILITIES, title, "Optional Utility Software I") {
    uiDlgName = "Optional Utility Software I";
    statusText = "Please click on the 'Next' button to install the optional utility softwares (page 2).\nOr "
                 "click on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallUtilities::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallUtilities::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
