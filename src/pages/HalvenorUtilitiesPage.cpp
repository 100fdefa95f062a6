#include "pages/HalvenorUtilitiesPage.h"

#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "install/CheckInstallations.h"
#include "pages_ids.h"

kdDInstallHalvenorUtilities::kdDInstallHalvenorUtilities(const std::string& title)
    : kdDPropertyPageBase(IDD_HALVENOR_UTILITIES, title, "Halvenor Utilities") {
    uiDlgName = "Halvenor Utilities";
    statusText = "Please click on the 'Finish' button to exit.";
    bindText(IDC_STATUS_AREA, &statusText);
}

int kdDInstallHalvenorUtilities::setupControls() {
    alignGroupWithRows(item(IDC_PAGE_GROUP));
    if (setupImageButton(runButton, IDC_HALVENOR_RUN, IDP_RUN, "Run", 785)) {
        int top = controlTop(runButton.hwnd());
        ::SetWindowPos(item(IDC_HALVENOR_FILE_VERSIONER), nullptr, 226, top + 4, 415, 20,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 1;
}

bool kdDInstallHalvenorUtilities::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setWizardButtons(PSWIZB_BACK); // the last page: only Back stays
    setCancelText("Finish");
    return kdDPropertyPageBase::onSetActive();
}

bool kdDInstallHalvenorUtilities::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED && id == IDC_HALVENOR_RUN) {
        runFileVersioner();
        return true;
    }
    return kdDPropertyPageBase::onCommand(id, code, control);
}

int kdDInstallHalvenorUtilities::runFileVersioner() {
    std::string runtime;
    if (!hnCheckInstallations::getRuntimeFolder(runtime)) {
        appMessageBox("Error: Unable to get Orvanto Runtime installation path. Please try again.", MB_OK);
        return -1;
    }
    std::string program, folder;
    if (!hnFormat(program, kPathCapacity, "%sHalvenorUtilities\\FileVersioner.exe", runtime.c_str()) ||
        !hnFormat(folder, kPathCapacity, "%sHalvenorUtilities", runtime.c_str()) || !fileExists(program)) {
        appMessageBox("Error: Unable to locate the selected Halvenor Utility. Please try again.", MB_OK);
        return -1;
    }
    int shellResult = 0;
    if (launchAppManagingUACElevation(program.c_str(), folder.c_str(), nullptr, &shellResult, launchSystem) <=
        0) {
        appMessageBox("Unable to execute the utility. Unexpected error.", MB_OK);
        return -1;
    }
    if (shellResult <= 32) {
        appMessageBox(hnFormatText("Unable to execute the utility. Error code - %d", shellResult), MB_OK);
        return -1;
    }
    return 1;
}
