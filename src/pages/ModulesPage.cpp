#include "pages/ModulesPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallModules::kdDInstallModules(const std::string& title)
    : kdDPropertyPageBase(IDD_MODULES, title, "Orvanto Image Processing Options") {
    uiDlgName = "Image Processing Options";
    statusText = "Please click on the 'Next' button to browse and install the Orvanto modules.\nOr click on "
                 "the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallModules::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallModules::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
