#include "pages/CoreComponentsStatusPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallCoreComponentsSoftwareStatus::kdDInstallCoreComponentsSoftwareStatus(const std::string& title)
    : kdDPropertyPageBase(IDD_CORE_STATUS, title, "Core Installation Status") {
    uiDlgName = "CoreComponents";
    statusText = "Please click on the 'Next' button to proceed";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallCoreComponentsSoftwareStatus::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallCoreComponentsSoftwareStatus::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
