#include "pages/PipExtensionsPageBase.h"

#include "app/AppBase.h"
#include "app/ControlText.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/PleaseWaitDlg.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "download/StatusWords.h"
#include "install/InstallHelpers.h"
#include "install/PipShow.h"
#include "install/WheelCheck.h"
#include "pages_ids.h"

namespace {

bool isWheelFile(const char* fileName) {
    std::string name = fileName ? fileName : "";
    return name.size() > 4 && hnEqualsNoCase(name.substr(name.size() - 4), ".whl");
}

enum RowPart { kName = 0, kVersion = 1, kInstall = 2, kUninstall = 3 };

const int kExploreButtonX = kdDPropertyPageBase::kDownloadButtonX - 34;

int rowControl(int slot, RowPart part) {
    return IDC_PYEXT_ROW(slot, part);
}

} // namespace

kdDPipExtensionsPageBase::kdDPipExtensionsPageBase(UINT templateId, const std::string& title,
                                                   kdDPipExtensionsVariant variant)
    : kdDPipListingPage(templateId, title, variant.pageName), variant_(std::move(variant)),
      rowStates_(variant_.rowOrder.size()), elementNames_(variant_.extensions.size()),
      elementStatus_(variant_.extensions.size()), elementProgress_(variant_.extensions.size()) {
    uiDlgName = variant_.uiDlgName;
    statusText = "Please click on the 'Next' button to install the Orvanto Tool Components.\nOr click on the "
                 "'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &statusText);
    for (std::size_t slot = 0; slot < rowStates_.size(); ++slot) {
        int s = static_cast<int>(slot);
        bindText(rowControl(s, kName), &rowStates_[slot].nameLabel);
        bindText(rowControl(s, kVersion), &rowStates_[slot].versionLabel);
        installButtons_.emplace_back(new hnImageButton());
        uninstallButtons_.emplace_back(new hnImageButton());
    }
    // Installer copies gather the elements of pages never shown.
    initInstallationElements();
    elementsInitialised = true;
}

kdDPipExtensionsPageBase::~kdDPipExtensionsPageBase() = default;

int kdDPipExtensionsPageBase::initInstallationElements() {
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    std::vector<hnInstallationElement*> elements;
    std::string folder = cacheFolder(variant_.cacheFolder);
    for (std::size_t i = 0; i < variant_.extensions.size(); ++i) {
        const hnPipExtension& extension = variant_.extensions[i];
        std::string name = std::string(variant_.elementPrefix) + extension.package;
        std::string url = installerServices()->repositoryBaseUrl() + variant_.serverPath +
                          extension.serverFolder + "/" + extension.fileName;
        built.emplace_back(new hnInstallationElement(
            name.c_str(), url.c_str(), extension.fileName, extension.switches ? extension.switches : "",
            folder.c_str(), false, 0, false, &elementNames_[i], &elementStatus_[i], &elementProgress_[i],
            variant_.category));
        elements.push_back(built.back().get());
    }
    installManager->clearElements();
    installManager->setElements(static_cast<unsigned>(elements.size()), elements.data());
    return 1;
}

int kdDPipExtensionsPageBase::setupControls() {
    for (std::size_t slot = 0; slot < rowStates_.size(); ++slot) {
        int s = static_cast<int>(slot);
        setupImageButton(*installButtons_[slot], rowControl(s, kInstall), IDP_INSTALL, "Install");
        setupImageButton(*uninstallButtons_[slot], rowControl(s, kUninstall), IDP_REMOVE, "Uninstall");
    }
    setupImageButton(downloadButton_, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    setupImageButton(exploreButton_, variant_.exploreButton, IDP_FOLDER, "Browse Python Scripts Folder...",
                     kExploreButtonX);
    endStatusAreaBefore(kExploreButtonX - 8);
    return 1;
}

void kdDPipExtensionsPageBase::debugLine(const char* routine, const char* reason) const {
    hnDebugOutF("%s::%s - %s\n", variant_.className, routine, reason);
}

bool kdDPipExtensionsPageBase::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    statusText = "Please click on the 'Next' button to install the Orvanto Tool Components.\nOr click on the "
                 "'Finish' button to complete the installation.";
    // The rows show at once; pip's listing, asked afresh at every activation,
    // fills them when it answers.
    std::string folder;
    if (variant_.interpreterFolder(folder) && startChecking(folder)) {
        showChecking();
        return activateDeferringRefresh();
    }
    // Every row and the status refresh after them ask pip about the same
    // packages: one answer per package serves the whole activation.
    hnPipAnswerScope pipAnswers;
    updateAllRows();
    return kdDPropertyPageBase::onSetActive();
}

void kdDPipExtensionsPageBase::showChecking() {
    for (std::size_t i = 0; i < variant_.extensions.size(); ++i) {
        elementStatus_[i].clear();
        elementProgress_[i] = kdDPipListingCheck::kCheckingText;
    }
    for (std::size_t slot = 0; slot < rowStates_.size(); ++slot) {
        RowState& row = rowStates_[slot];
        const hnInstallationElement* element =
            installManager->item(static_cast<unsigned>(variant_.rowOrder[slot]));
        row.nameLabel = element ? element->name : std::string();
        row.versionLabel = kdDPipListingCheck::kCheckingText;
        row.installEnabled = false;
        row.uninstallShown = false;
        showRow(static_cast<int>(slot));
    }
}

void kdDPipExtensionsPageBase::answered() {
    for (std::string& progress : elementProgress_)
        progress.clear();
    fillRows();
    refreshPage();
}

void kdDPipExtensionsPageBase::updateAllRows() {
    hnPipAnswerScope pipAnswers;
    std::unique_ptr<DPleaseWaitDlg> wait(new DPleaseWaitDlg());
    if (wait->create(hwnd() ? hwnd() : appMainWindow()))
        ::ShowWindow(wait->hwnd(), SW_SHOW);
    fillRows();
    wait->destroy();
}

void kdDPipExtensionsPageBase::fillRows() {
    for (std::size_t slot = 0; slot < rowStates_.size(); ++slot)
        updateStateForSingleElement(static_cast<int>(slot));
}

void kdDPipExtensionsPageBase::updateStateForSingleElement(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= rowStates_.size())
        return;
    RowState& row = rowStates_[static_cast<std::size_t>(slot)];
    int index = variant_.rowOrder[static_cast<std::size_t>(slot)];
    const hnPipExtension* extension =
        index >= 0 && static_cast<std::size_t>(index) < variant_.extensions.size()
            ? &variant_.extensions[static_cast<std::size_t>(index)]
            : nullptr;
    row.versionLabel = extension ? extension->version : "";
    row.installEnabled = true;
    row.uninstallShown = false;
    const hnInstallationElement* element = installManager->item(static_cast<unsigned>(index));
    if (!extension || !element) {
        debugLine("updateStateForSingleElement", "unable to get array index");
        showRow(slot);
        return;
    }
    std::string installed;
    bool found = false;
    if (!variant_.installedVersion(&installed, extension->package, &found)) {
        debugLine("updateStateForSingleElement", "unable to process version check");
        found = false;
    }
    if (found) {
        bool exact = installed == extension->version;
        row.nameLabel =
            exact ? element->name : hnFormatText("%s %s", element->name.c_str(), installed.c_str());
        row.installEnabled = !exact;
        row.uninstallShown = true;
    } else {
        row.nameLabel = element->name;
    }
    showRow(slot);
}

void kdDPipExtensionsPageBase::showRow(int slot) {
    if (!hwnd())
        return;
    const RowState& row = rowStates_[static_cast<std::size_t>(slot)];
    hnSetTextIfChanged(item(rowControl(slot, kName)), row.nameLabel);
    hnSetTextIfChanged(item(rowControl(slot, kVersion)), row.versionLabel);
    ::EnableWindow(item(rowControl(slot, kInstall)), row.installEnabled);
    ::ShowWindow(item(rowControl(slot, kUninstall)), row.uninstallShown ? SW_SHOW : SW_HIDE);
}

void kdDPipExtensionsPageBase::onInstallRow(int slot) {
    int index = variant_.rowOrder[static_cast<std::size_t>(slot)];
    const hnInstallationElement* element = installManager->item(static_cast<unsigned>(index));
    if (!element)
        return;
    const hnPipExtension& extension = variant_.extensions[static_cast<std::size_t>(index)];
    std::string oldVersion;
    if (element->status() != kStatusNotInstalled) {
        // Another version goes only once the row's own one is at hand: a
        // failed download must not leave the user with neither.
        if (runDownloadElement(index) <= 0) {
            debugLine("onInstallRow", "Unable to download the required version");
            updateAllRows();
            return;
        }
        bool found = false;
        if (!variant_.installedVersion(&oldVersion, extension.package, &found) || !found)
            oldVersion.clear();
        // A wheel is checked as far as the installer can without pip before
        // the version in use goes; a file that fails is no wheel to keep.
        std::string wheel;
        if (isWheelFile(extension.fileName) &&
            hnJoinPath(wheel, element->downloadFolder, extension.fileName) &&
            !wheelFitsInterpreter(wheel, extension.fileName, variant_.python)) {
            debugLine("onInstallRow", "The downloaded wheel is not usable");
            deleteFileIfPresent(wheel);
            std::string kept = oldVersion.empty() ? std::string("the installed version was kept")
                                                  : std::string(extension.package) + " " + oldVersion +
                                                        " is still installed";
            appMessageBox(std::string(extension.package) + " " + extension.version +
                              " could not be installed: the downloaded file is no usable wheel for this "
                              "Python; " +
                              kept + ".",
                          MB_OK | MB_ICONWARNING);
            updateAllRows();
            return;
        }
        runUninstallRange(index, index);
    }
    runInstallRange(index, index, true);
    if (!oldVersion.empty()) {
        // The cache holds only the offered version: a removed one cannot be
        // put back, so the user is told what is there now.
        std::string now;
        bool found = false;
        if (!variant_.installedVersion(&now, extension.package, &found))
            found = false;
        if (!found || now != extension.version)
            appMessageBox(hnFormatText("%s %s could not be installed; %s %s %s.", extension.package,
                                       extension.version, extension.package,
                                       found ? now.c_str() : oldVersion.c_str(),
                                       found ? "is installed" : "was removed"),
                          MB_OK | MB_ICONWARNING);
    }
    updateAllRows();
}

void kdDPipExtensionsPageBase::onUninstallRow(int slot) {
    int index = variant_.rowOrder[static_cast<std::size_t>(slot)];
    runUninstallRange(index, index);
    updateAllRows();
}

int kdDPipExtensionsPageBase::explorePythonScripts() {
    std::string folder;
    if (!variant_.interpreterFolder(folder)) {
        appMessageBox("Error - Unable to get Python installation path", MB_OK);
        return -1;
    }
    std::string scripts = folder + "Scripts";
    INT_PTR result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(hwnd(), "open", scripts.c_str(), nullptr, scripts.c_str(), SW_SHOWNORMAL));
    if (result <= 32) {
        appMessageBox(hnFormatText("Unable to browse the folder. Error code - %d", static_cast<int>(result)),
                      MB_OK);
        return -1;
    }
    return 1;
}

bool kdDPipExtensionsPageBase::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        if (id == IDC_DOWNLOAD_INSTALLABLES) {
            bool skipAllErrors = false;
            runDownloadAll(&skipAllErrors);
            return true;
        }
        if (id == variant_.exploreButton) {
            explorePythonScripts();
            return true;
        }
        for (std::size_t slot = 0; slot < rowStates_.size(); ++slot) {
            int s = static_cast<int>(slot);
            bool rowButton = id == rowControl(s, kInstall) || id == rowControl(s, kUninstall);
            if (rowButton && checking()) {
                debugLine("onCommand", "the rows are still being checked");
                return true;
            }
            if (id == rowControl(s, kInstall)) {
                onInstallRow(s);
                return true;
            }
            if (id == rowControl(s, kUninstall)) {
                onUninstallRow(s);
                return true;
            }
        }
    }
    return kdDPipListingPage::onCommand(id, code, control);
}

std::vector<hnPageItem> kdDPipExtensionsPageBase::items() {
    hnPipAnswerScope pipAnswers; // one listing serves every row
    std::vector<hnPageItem> found;
    for (std::size_t i = 0; i < variant_.extensions.size(); ++i) {
        const hnInstallationElement* element = installManager->item(static_cast<unsigned>(i));
        if (!element)
            continue;
        const hnPipExtension& extension = variant_.extensions[i];
        std::string installed;
        bool present = false;
        if (!variant_.installedVersion(&installed, extension.package, &present) || !present)
            installed.clear();
        found.push_back(
            {hnPageItem::Package, element->name, installed, extension.version, extension.package});
    }
    return found;
}

int kdDPipExtensionsPageBase::rowButtonOf(const std::string& key, bool install) const {
    for (std::size_t slot = 0; slot < variant_.rowOrder.size(); ++slot) {
        const hnInstallationElement* element =
            installManager->item(static_cast<unsigned>(variant_.rowOrder[slot]));
        if (element && hnEqualsNoCase(element->name, key))
            return rowControl(static_cast<int>(slot), install ? kInstall : kUninstall);
    }
    return 0;
}

bool kdDPipExtensionsPageBase::installItem(const std::string& key) {
    int button = rowButtonOf(key, true);
    return button != 0 && pressControl(button);
}

bool kdDPipExtensionsPageBase::removeItem(const std::string& key) {
    int button = rowButtonOf(key, false);
    return button != 0 && pressControl(button);
}
