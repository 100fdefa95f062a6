#include "pages/Py27ExtensionsNewPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallPY27ExtensionsNew::kdDInstallPY27ExtensionsNew(const std::string& title)
    : kdDPropertyPageBase(IDD_PY27_EXTENSIONS_NEW, title, "Recommended Orvanto Extensions") {
    uiDlgName = "Recommended Extensions";
    statusText = "Please click on the 'Next' button to proceed with other components installation.\nOr click "
                 "on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallPY27ExtensionsNew::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallPY27ExtensionsNew::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
