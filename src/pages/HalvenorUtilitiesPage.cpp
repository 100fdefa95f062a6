#include "pages/HalvenorUtilitiesPage.h"

#include "pages_ids.h"

kdDInstallHalvenorUtilities::kdDInstallHalvenorUtilities(const std::string& title)
    : kdDPropertyPageBase(IDD_HALVENOR_UTILITIES, title, "Halvenor Utilities") {
    uiDlgName = "Halvenor Utilities";
    statusText = "Please click on the 'Finish' button to exit.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallHalvenorUtilities::setupControls() {
    return 1;
}

bool kdDInstallHalvenorUtilities::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
