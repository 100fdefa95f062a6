#include "pages/ToolboxDeepformVisionPage.h"

#include "pages_ids.h"

kdDInstallToolboxeDeepformVision::kdDInstallToolboxeDeepformVision(const std::string& title)
    : kdDPropertyPageBase(IDD_TOOLBOX, title, "Orvanto 3D Toolbox - Deepform Vision") {
    uiDlgName = "Toolbox - Deepform Vision";
    statusText = "Please click on the 'Next' button to proceed with other components installation.\nOr click "
                 "on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallToolboxeDeepformVision::setupControls() {
    return 1;
}

bool kdDInstallToolboxeDeepformVision::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
