#include "pages/ToolboxPy36DeepformVisionPage.h"

#include "pages_ids.h"

kdDInstallToolboxePy36DeepformVision::kdDInstallToolboxePy36DeepformVision(const std::string& title)
    : kdDPropertyPageBase(IDD_TOOLBOX_PY36, title, "Orvanto 3D Toolbox - Deepform Vision (Python 36)") {
    uiDlgName = "Toolbox - Deepform Vision (Python 36)";
    statusText = "Please click on the 'Next' button to proceed with other components installation.\nOr click "
                 "on the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallToolboxePy36DeepformVision::setupControls() {
    return 1;
}

bool kdDInstallToolboxePy36DeepformVision::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
