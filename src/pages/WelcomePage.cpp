#include "pages/WelcomePage.h"

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "pages_ids.h"
#include "wizard/InstallerSheet.h"

kdDInstallWelcomeBase::kdDInstallWelcomeBase(const std::string& title)
    : kdDPropertyPageBase(IDD_WELCOME, title, hnFormatText("Welcome to %s System Management", kProductName)) {
    uiDlgName = "Installation Welcome";
    statusText = "Please click on the 'Next' button to proceed.";
    bindText(IDC_STATUS_AREA, &statusText);
    welcomeTitle = hnFormatText("Welcome to the %s.", kInstallerCaption);
    introduction = hnFormatText(
        "This application will help you in installing and managing all the components associated with the %s "
        "System, on this computer.\n\nThis application will also assist you in quickly getting started with "
        "the "
        "%s by\n",
        kProductName, kProductName);
    introduction +=
        "=> Providing access to the Orvanto Online Resources\n"
        "=> Installing the required Microsoft Runtime Libraries\n"
        "=> Installing the Orvanto Runtime and the Orvanto Vision Software\n"
        "=> Providing interface to manage the Python Framework\n"
        "=> Providing interface to install the Open Source Libraries - OpenCV, NumPy, SciPy and more\n"
        "=> Suggesting the optional Orvanto Extensions, Orvanto Modules and Utility Softwares\n"
        "=> Providing interface for downloading and trying out the Orvanto demo profiles\n";
    bindText(IDC_WELCOME_TITLE, &welcomeTitle);
    bindText(IDC_WELCOME_INTRO, &introduction);
}

int kdDInstallWelcomeBase::setupControls() {
    return 1;
}

bool kdDInstallWelcomeBase::onSetActive() {
    setWizardButtons(PSWIZB_NEXT);
    setCancelText("Cancel");
    return kdDPropertyPageBase::onSetActive();
}
