#include "pages/CoreComponentsPage.h"

#include <shellapi.h>

#include <memory>

#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "download/StatusWords.h"
#include "pages/DataImportDlg.h"
#include "pages_ids.h"

namespace {

const char* const kCoreServerPath = "/orvanto/files/InstallerDownloads/Orvanto15.0/774/";

struct CoreRow {
    const char* name;
    const char* fileName;
    const char* cacheFolder;
};
const CoreRow kCoreRows[] = {
    {"Orvanto Version XV 15.0.0.774 Runtime", "OrvantoRuntime_15_0_0_774_ReDist_200831.exe", cache::kRuntime},
    {"Orvanto Vision Software Version XV 15.0.0.774", "OrvantoVisionSoftware_15_0_0_774_200831.exe",
     cache::kVisionSoftware},
    {"Orvanto Kadrix SDK XV 774 Installer", "OrvantoKadrixSDK_15_0_0_774_Installer_200831.exe",
     cache::kKadrixSdkInstaller},
};
const int kSdkElement = 2;

INT_PTR openWithShell(const std::string& folder) {
    INT_PTR result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", folder.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL));
    hnSessionLogF("Program", "opened %s, shell result %d", folder.c_str(), static_cast<int>(result));
    return result;
}

} // namespace

void buildCoreElements(hnInstallManagerBase& manager, int count, std::string* names, std::string* status,
                       std::string* progress) {
    std::unique_ptr<hnInstallationElement> built[3];
    hnInstallationElement* elements[3] = {};
    for (int i = 0; i < count && i < 3; ++i) {
        std::string url = installerServices()->repositoryBaseUrl() + kCoreServerPath + kCoreRows[i].fileName;
        std::string folder = cacheFolder(kCoreRows[i].cacheFolder);
        built[i].reset(new hnInstallationElement(kCoreRows[i].name, url.c_str(), kCoreRows[i].fileName, " ",
                                                 folder.c_str(), false, 0, false, &names[i], &status[i],
                                                 &progress[i], kCategoryCoreComponents));
        elements[i] = built[i].get();
    }
    manager.clearElements();
    manager.setElements(static_cast<unsigned>(count < 3 ? count : 3), elements);
}

void bindCoreRows(hnDialog& page, std::string* names, std::string* status, std::string* progress) {
    page.bindText(IDC_CORE_RUNTIME_NAME, &names[0]);
    page.bindText(IDC_CORE_RUNTIME_STATUS, &status[0]);
    page.bindText(IDC_CORE_RUNTIME_PROGRESS, &progress[0]);
    page.bindText(IDC_CORE_VISION_NAME, &names[1]);
    page.bindText(IDC_CORE_VISION_STATUS, &status[1]);
    page.bindText(IDC_CORE_VISION_PROGRESS, &progress[1]);
}

bool refreshCoreRows(hnInstallManagerBase& manager, const std::string* status) {
    manager.refreshStatuses(0, 1);
    return status[0] == kStatusInstalled && status[1] == kStatusInstalled;
}

kdDInstallCoreComponentsSoftware::kdDInstallCoreComponentsSoftware(const std::string& title)
    : kdDPropertyPageBase(IDD_CORE_COMPONENTS, title, "Core Installation"),
      importOlderVersionData(offerDataImport), openFolder(openWithShell) {
    uiDlgName = "Core Installation";
    statusText = "Please install correct versions of all the Orvanto Vision Software core components by "
                 "clicking on the 'Install' buttons,\nThen click on the 'Next' button to proceed.";
    sdkDescription =
        "Orvanto Kadrix is an advanced ActiveX component which can be quickly integrated in any Windows "
        "application. Orvanto Kadrix handles all functionalities related to machine vision by itself, and "
        "the "
        "application only needs to host it.\nHence, Orvanto Kadrix can be used to quickly develop advanced "
        "machine vision applications, using full power and flexibility of Orvanto Vision Runtime.\nPlease "
        "click "
        "on the 'Download' button to download the 'Orvanto Kadrix SDK installer'.";
    bindText(IDC_STATUS_AREA, &statusText);
    bindText(IDC_CORE_SDK_DESCRIPTION, &sdkDescription);
    bindCoreRows(*this, rowNames, rowStatus, rowProgress);
}

int kdDInstallCoreComponentsSoftware::initInstallationElements() {
    buildCoreElements(*installManager, 3, rowNames, rowStatus, rowProgress);
    return 1;
}

int kdDInstallCoreComponentsSoftware::setupControls() {
    setupImageButton(installButtons[0], IDC_CORE_RUNTIME_INSTALL, IDP_INSTALL, "Install");
    setupImageButton(uninstallButtons[0], IDC_CORE_RUNTIME_UNINSTALL, IDP_REMOVE, "Uninstall");
    setupImageButton(installButtons[1], IDC_CORE_VISION_INSTALL, IDP_INSTALL, "Install");
    setupImageButton(uninstallButtons[1], IDC_CORE_VISION_UNINSTALL, IDP_REMOVE, "Uninstall");
    layoutComponentRow(uninstallButtons[0], installButtons[0], nullptr, nullptr, item(IDC_CORE_RUNTIME_NAME),
                       item(IDC_CORE_RUNTIME_STATUS), item(IDC_CORE_RUNTIME_PROGRESS));
    layoutComponentRow(uninstallButtons[1], installButtons[1], nullptr, nullptr, item(IDC_CORE_VISION_NAME),
                       item(IDC_CORE_VISION_STATUS), item(IDC_CORE_VISION_PROGRESS));
    for (int i = 0; i < 2; ++i) { // the row layout names them by their pictures
        addToolTip(installButtons[i].hwnd(), "Install");
        addToolTip(uninstallButtons[i].hwnd(), "Uninstall");
    }
    alignGroupWithRows(item(IDC_PAGE_GROUP));
    setupImageButton(sdkDownloadButton, IDC_CORE_SDK_DOWNLOAD, IDP_INSTALL,
                     "Download Orvanto Kadrix SDK Installer", 785);
    // The description in the name column, beside its button in the install column.
    ::SetWindowPos(item(IDC_CORE_SDK_DESCRIPTION), nullptr, 226, controlTop(sdkDownloadButton.hwnd()) + 4,
                   545, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    endStatusAreaBefore(kDownloadButtonX - 8);
    return 1;
}

bool kdDInstallCoreComponentsSoftware::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    updateCoreNavigation();
    return kdDPropertyPageBase::onSetActive(); // refreshes, transfers and updates the buttons
}

int kdDInstallCoreComponentsSoftware::updateButtons() {
    for (int i = 0; i < 2; ++i) {
        const std::string& status = rowStatus[i];
        ::EnableWindow(installButtons[i].hwnd(), status != kStatusInstalled);
        ::EnableWindow(uninstallButtons[i].hwnd(), status != kStatusNotInstalled);
    }
    return 1;
}

int kdDInstallCoreComponentsSoftware::updateCoreNavigation() {
    if (refreshCoreRows(*installManager, rowStatus)) {
        setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
        setCancelText("Finish");
    } else {
        setWizardButtons(PSWIZB_BACK);
        setCancelText("Cancel");
    }
    if (hwnd()) {
        transferToControls();
        updateButtons();
    }
    return 1;
}

bool kdDInstallCoreComponentsSoftware::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_CORE_RUNTIME_INSTALL:
            onInstallRuntime();
            return true;
        case IDC_CORE_VISION_INSTALL:
            onInstallVisionSoftware();
            return true;
        case IDC_CORE_RUNTIME_UNINSTALL:
            onUninstall(0);
            return true;
        case IDC_CORE_VISION_UNINSTALL:
            onUninstall(1);
            return true;
        case IDC_CORE_SDK_DOWNLOAD:
            onDownloadSdkInstaller();
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

int kdDInstallCoreComponentsSoftware::installControlOf(int element) const {
    return element == 0 ? IDC_CORE_RUNTIME_INSTALL : element == 1 ? IDC_CORE_VISION_INSTALL : 0;
}

int kdDInstallCoreComponentsSoftware::removeControlOf(int element) const {
    return element == 0 ? IDC_CORE_RUNTIME_UNINSTALL : element == 1 ? IDC_CORE_VISION_UNINSTALL : 0;
}

void kdDInstallCoreComponentsSoftware::onInstallRuntime() {
    runInstallRangeFetchedFirst(0, 0);
    updateCoreNavigation();
}

void kdDInstallCoreComponentsSoftware::onInstallVisionSoftware() {
    // The vision software needs the runtime: one run installs both when the
    // runtime is missing.
    if (rowStatus[0] == kStatusInstalled)
        runInstallRangeFetchedFirst(1, 1);
    else
        runInstallRangeFetchedFirst(0, 1);
    updateCoreNavigation();
}

void kdDInstallCoreComponentsSoftware::onUninstall(int element) {
    runUninstallRange(element, element);
    updateCoreNavigation();
}

void kdDInstallCoreComponentsSoftware::onDownloadInstallables() {
    bool skipAllErrors = false;
    runDownloadAll(&skipAllErrors);
}

void kdDInstallCoreComponentsSoftware::onDownloadSdkInstaller() {
    runInstallRange(kSdkElement, kSdkElement, true);
    std::string folder = cacheFolder(kCoreRows[kSdkElement].cacheFolder);
    std::string file;
    hnPrompter& prompter = hnAppBase::current()->prompter();
    if (folder.empty() || !hnJoinPath(file, folder, kCoreRows[kSdkElement].fileName) || !fileExists(file)) {
        prompter.messageBox(hwnd(), "Error: Unable to download.\nPlease try again.", "Error", MB_OK);
        return;
    }
    prompter.messageBox(
        hwnd(),
        "Download successful.\nPlease click on the 'OK' button to view the downloaded file in "
        "Windows Explorer.",
        "Success", MB_OK);
    INT_PTR shell = openFolder ? openFolder(folder) : 0;
    if (shell <= 32)
        prompter.messageBox(
            hwnd(),
            hnFormatText("Unable to browse the folder. Error code - %d", static_cast<int>(shell)).c_str(),
            "Error", MB_OK);
}

LRESULT kdDInstallCoreComponentsSoftware::onWizardNext() {
    if (importOlderVersionData)
        importOlderVersionData(hwnd());
    return kdDPropertyPageBase::onWizardNext();
}
