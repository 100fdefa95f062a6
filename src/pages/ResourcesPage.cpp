#include "pages/ResourcesPage.h"

#include "pages_ids.h"

kdDInstallOrvantoResourcesDynamic::kdDInstallOrvantoResourcesDynamic(const std::string& title)
    : kdDPropertyPageBase(IDD_RESOURCES, title, "Orvanto Vision Resources") {
    uiDlgName = "Resources";
    statusText = "Please click on the 'Next' button to view 'Readme Notes'.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallOrvantoResourcesDynamic::setupControls() {
    return 1;
}

bool kdDInstallOrvantoResourcesDynamic::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    return kdDPropertyPageBase::onSetActive();
}
