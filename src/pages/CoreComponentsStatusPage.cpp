#include "pages/CoreComponentsStatusPage.h"

#include "artwork_ids.h"
#include "download/StatusWords.h"
#include "pages/CoreComponentsPage.h"
#include "pages_ids.h"

kdDInstallCoreComponentsSoftwareStatus::kdDInstallCoreComponentsSoftwareStatus(const std::string& title)
    : kdDPropertyPageBase(IDD_CORE_STATUS, title, "Core Installation Status") {
    uiDlgName = "CoreComponents";
    statusText = "Please click on the 'Next' button to proceed";
    bindText(IDC_STATUS_AREA, &statusText);
    bindCoreRows(*this, rowNames, rowStatus, rowProgress);
    initInstallationElements();
    elementsInitialised = true;
}

int kdDInstallCoreComponentsSoftwareStatus::initInstallationElements() {
    buildCoreElements(*installManager, 2, rowNames, rowStatus, rowProgress);
    return 1;
}

bool kdDInstallCoreComponentsSoftwareStatus::isPageSkipped() {
    return installManager->refreshStatuses(0, static_cast<int>(installManager->count()) - 1) > 0;
}

int kdDInstallCoreComponentsSoftwareStatus::setupControls() {
    alignGroupWithRows(item(IDC_PAGE_GROUP));
    setupImageButton(uninstallButtons[0], IDC_CORE_RUNTIME_UNINSTALL, IDP_REMOVE, "Uninstall");
    setupImageButton(uninstallButtons[1], IDC_CORE_VISION_UNINSTALL, IDP_REMOVE, "Uninstall");
    layoutRemoveRow(&uninstallButtons[0], item(IDC_CORE_RUNTIME_NAME), item(IDC_CORE_RUNTIME_STATUS),
                    item(IDC_CORE_RUNTIME_PROGRESS), controlTop(uninstallButtons[0].hwnd()));
    layoutRemoveRow(&uninstallButtons[1], item(IDC_CORE_VISION_NAME), item(IDC_CORE_VISION_STATUS),
                    item(IDC_CORE_VISION_PROGRESS), controlTop(uninstallButtons[1].hwnd()));
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    endStatusAreaBefore(kDownloadButtonX - 8);
    return 1;
}

bool kdDInstallCoreComponentsSoftwareStatus::onSetActive() {
    updateStatusNavigation();
    setCancelText("Cancel");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    return kdDPropertyPageBase::onSetActive(); // refreshes, transfers and updates the buttons
}

int kdDInstallCoreComponentsSoftwareStatus::updateButtons() {
    for (int i = 0; i < 2; ++i)
        ::EnableWindow(uninstallButtons[i].hwnd(), rowStatus[i] != kStatusNotInstalled);
    updateStatusNavigation();
    return 1;
}

int kdDInstallCoreComponentsSoftwareStatus::updateStatusNavigation() {
    if (refreshCoreRows(*installManager, rowStatus)) {
        setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
        setCancelText("Finish");
        statusText = "The Orvanto Vision Software core components are installed.\nPlease click on the 'Next' "
                     "button to proceed, or on the 'Finish' button to end the installation.";
    } else {
        setWizardButtons(PSWIZB_BACK);
        statusText =
            "Core components are not installed successfully. Please click on the 'Back' button to try "
            "again";
    }
    if (hwnd())
        transferToControls();
    return 1;
}

bool kdDInstallCoreComponentsSoftwareStatus::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_CORE_RUNTIME_UNINSTALL:
            onUninstall(0);
            return true;
        case IDC_CORE_VISION_UNINSTALL:
            onUninstall(1);
            return true;
        case IDC_DOWNLOAD_INSTALLABLES:
            onDownloadInstallables();
            return true;
        default:
            break;
        }
    }
    return kdDPropertyPageBase::onCommand(id, code, control);
}

void kdDInstallCoreComponentsSoftwareStatus::onUninstall(int element) {
    runUninstallRange(element, element); // the refresh updates the buttons and the navigation
}

void kdDInstallCoreComponentsSoftwareStatus::onDownloadInstallables() {
    bool skipAllErrors = false;
    runDownloadAll(&skipAllErrors);
}
