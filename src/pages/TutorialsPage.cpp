#include "pages/TutorialsPage.h"

#include "pages_ids.h"

kdDInstallTutorials::kdDInstallTutorials(const std::string& title)
    : kdDPropertyPageBase(IDD_TUTORIALS, title, "Orvanto Vision Tutorials") {
    uiDlgName = "Tutorials";
    statusText = "Please click on the 'Next' button to configure the image processing options.\nOr click on "
                 "the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallTutorials::setupControls() {
    return 1;
}

bool kdDInstallTutorials::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}
