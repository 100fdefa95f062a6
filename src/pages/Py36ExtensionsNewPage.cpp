#include "pages/Py36ExtensionsNewPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallPY36ExtensionsNew::kdDInstallPY36ExtensionsNew(const std::string& title)
    : kdDPropertyPageBase(IDD_PY36_EXTENSIONS_NEW, title, "Recommended Orvanto Extensions (Python 36)") {
    uiDlgName = "Recommended Extensions (Python 36)";
    statusText = "Please click on the 'Next' button to proceed with other components installation.\nOr click "
                 "on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallPY36ExtensionsNew::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallPY36ExtensionsNew::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
