#include "pages/Py36Extensions2Page.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallPY36Extensions2::kdDInstallPY36Extensions2(const std::string& title)
    : kdDPropertyPageBase(IDD_PY36_EXTENSIONS2, title, "Optional Orvanto Extensions (Python 36)") {
    uiDlgName = "Optional Extensions (Python 36)";
    statusText = "Please click on the 'Next' button to install the Orvanto Tool Components.\nOr click on the "
                 "'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallPY36Extensions2::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallPY36Extensions2::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
