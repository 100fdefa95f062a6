#include "pages/Modules2Page.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallModules2::kdDInstallModules2(const std::string& title)
    : kdDPropertyPageBase(IDD_MODULES2, title, "Orvanto Modules") {
    uiDlgName = "Modules";
    statusText = "Please click on the 'Next' button to browse and install the 3rd party camera drivers.\nOr "
                 "click on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallModules2::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallModules2::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
