#include "pages/TemplatesPage.h"

#include "pages_ids.h"

kdDInstallTemplates::kdDInstallTemplates(const std::string& title)
    : kdDPropertyPageBase(IDD_TEMPLATES, title, "OTC - Orvanto Tool Components") {
    uiDlgName = "OTC - Tool Components";
    statusText = "Please click on the 'Next' button to view the installation summary.\nOr click on the "
                 "'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallTemplates::setupControls() {
    return 1;
}

bool kdDInstallTemplates::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
