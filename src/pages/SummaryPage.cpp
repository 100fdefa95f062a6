#include "pages/SummaryPage.h"

#include "pages_ids.h"

kdDInstallSummaryOrvanto::kdDInstallSummaryOrvanto(const std::string& title)
    : kdDPropertyPageBase(IDD_SUMMARY, title, "Installation Complete") {
    uiDlgName = "Installation Complete";
    statusText = "Please click on the 'Next' button to proceed.\nOr click on the 'Finish' button to complete "
                 "the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallSummaryOrvanto::setupControls() {
    return 1;
}

bool kdDInstallSummaryOrvanto::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
