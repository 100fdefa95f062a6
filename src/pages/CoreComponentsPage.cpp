#include "pages/CoreComponentsPage.h"

#include "artwork_ids.h"
#include "pages_ids.h"

kdDInstallCoreComponentsSoftware::kdDInstallCoreComponentsSoftware(const std::string& title)
    : kdDPropertyPageBase(IDD_CORE_COMPONENTS, title, "Core Installation") {
    uiDlgName = "Core Installation";
    statusText = "Please install correct versions of all the Orvanto Vision Software core components by "
                 "clicking on the 'Install' buttons,\nThen click on the 'Next' button to proceed.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallCoreComponentsSoftware::setupControls() {
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    return 1;
}

bool kdDInstallCoreComponentsSoftware::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive();
}
