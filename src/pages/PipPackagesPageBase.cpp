#include "pages/PipPackagesPageBase.h"

#include <atomic>
#include <windows.h>

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/Dialog.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "download/DownloadEngine.h"
#include "download/StatusWords.h"
#include "install/ActionCatalogue.h"
#include "install/CheckInstallations.h"
#include "install/FetchFirst.h"
#include "install/PipShow.h"
#include "pages/OptionalPageBase.h"
#include "pages_ids.h"
#include "process/Elevation.h"
#include "process/SystemInfo.h"

namespace {

const char* const kNoPackage = "No package available";
const char* const kNoComponents = "No components available";
const int kPromptX = kdDPropertyPageBase::kDownloadButtonX - 34;

struct Column {
    const char* title;
    int width;
};
const Column kColumns[] = {{"#", 35}, {"Name", 200}, {"Status", 110}, {"Actual Version", 400}};

void addListRow(HWND list, const std::string& number, const std::string& name, const std::string& status,
                const std::string& version) {
    LVITEMA row = {};
    row.mask = LVIF_TEXT;
    row.iItem = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    row.pszText = const_cast<char*>(number.c_str());
    int at = static_cast<int>(::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    if (at < 0)
        return;
    const std::string* texts[] = {&name, &status, &version};
    for (int column = 1; column <= 3; ++column) {
        LVITEMA cell = {};
        cell.iSubItem = column;
        cell.pszText = const_cast<char*>(texts[column - 1]->c_str());
        ::SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&cell));
    }
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && hnEqualsNoCase(text.substr(0, prefix.size()), prefix);
}

} // namespace

kdDPipPackagesPageBase::kdDPipPackagesPageBase(UINT templateId, const std::string& title,
                                               kdDPipPackagesVariant variant)
    : kdDPipListingPage(templateId, title, variant.pageName), componentManager(new hnInstallManagerBase()),
      variant_(std::move(variant)), ownNames_(variant_.ownComponents.size()),
      ownStatus_(variant_.ownComponents.size()), ownProgress_(variant_.ownComponents.size()),
      componentNames_(variant_.components.size()), componentStatus_(variant_.components.size()),
      componentProgress_(variant_.components.size()) {
    uiDlgName = variant_.uiDlgName;
    hintText =
        "Please click on the 'Next' button to proceed with other components installation.\nOr click on "
        "the 'Finish' button to complete the installation.";
    bindText(IDC_STATUS_AREA, &hintText);
    buildComponents();
    // Installer copies gather the elements of pages never shown.
    initInstallationElements();
    elementsInitialised = true;
}

kdDPipPackagesPageBase::~kdDPipPackagesPageBase() = default;

void kdDPipPackagesPageBase::debugLine(const char* routine, const char* reason) const {
    hnDebugOutF("%s::%s - %s\n", variant_.className, routine, reason);
}

std::unique_ptr<hnInstallationElement>
kdDPipPackagesPageBase::makeElement(const hnPipPackageComponent& component, std::string* name,
                                    std::string* status, std::string* progress) const {
    std::string fileName = component.fileName ? component.fileName : std::string(component.name) + ".whl";
    // A folder beginning with a separator is a server path of its own.
    std::string path = component.serverFolder[0] == '/'
                           ? std::string(component.serverFolder)
                           : std::string(variant_.serverPath) + component.serverFolder + "/";
    std::string url = installerServices()->repositoryBaseUrl() + path + fileName;
    std::string folder = cacheFolder(component.cacheFolder);
    return std::unique_ptr<hnInstallationElement>(new hnInstallationElement(
        component.name, url.c_str(), fileName.c_str(), component.switches ? component.switches : "",
        folder.c_str(), false, 0, false, name, status, progress, variant_.category));
}

void kdDPipPackagesPageBase::buildComponents() {
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    std::vector<hnInstallationElement*> elements;
    for (std::size_t i = 0; i < variant_.components.size(); ++i) {
        built.push_back(makeElement(variant_.components[i], &componentNames_[i], &componentStatus_[i],
                                    &componentProgress_[i]));
        elements.push_back(built.back().get());
    }
    componentManager->setElements(static_cast<unsigned>(elements.size()), elements.data());
}

int kdDPipPackagesPageBase::initInstallationElements() {
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    built.push_back(createListElement(variant_.listKind, &listName_, &listStatus_, &listProgress_));
    for (std::size_t i = 0; i < variant_.ownComponents.size(); ++i)
        built.push_back(
            makeElement(variant_.ownComponents[i], &ownNames_[i], &ownStatus_[i], &ownProgress_[i]));
    std::vector<hnInstallationElement*> elements;
    for (auto& element : built)
        elements.push_back(element.get());
    installManager->clearElements();
    installManager->setElements(static_cast<unsigned>(elements.size()), elements.data());
    return 1;
}

int kdDPipPackagesPageBase::setupControls() {
    setupImageButton(downloadButton_, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    setupImageButton(promptButton_, IDC_PYPKG_COMMAND_PROMPT, IDP_FOLDER, "Launch Command Prompt", kPromptX);
    setupImageButton(installAllButton_, IDC_PYPKG_INSTALL_ALL, IDP_INSTALL, "Install All Components");
    setupImageButton(uninstallAllButton_, IDC_PYPKG_UNINSTALL_ALL, IDP_REMOVE, "Uninstall All Components");
    setupImageButton(refreshButton_, IDC_PYPKG_REFRESH, IDP_REFRESH_SMALL, "Refresh Packages List");
    setupImageButton(informationButton_, IDC_PYPKG_INFORMATION, IDP_INFO, "Information");
    endStatusAreaBefore(kPromptX - 8);
    return 1;
}

bool kdDPipPackagesPageBase::onInitDialog() {
    kdDPipListingPage::onInitDialog();
    HWND list = item(IDC_PYPKG_LIST);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP,
                   LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<char*>(kColumns[i].title);
        ::SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    // The list is fetched afresh at the first activation, beside pip's listing.
    listDue_ = installerServices() && installerServices()->applicationFolderWritable();
    return true;
}

bool kdDPipPackagesPageBase::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    hintText =
        "Please click on the 'Next' button to proceed with other components installation.\nOr click on "
        "the 'Finish' button to complete the installation.";
    runtimeFolder.clear();
    if (!hnCheckInstallations::getRuntimeFolder(runtimeFolder)) {
        runtimeFolder.clear();
        debugLine("OnSetActive", "Unable to get Orvanto Runtime installation path");
    }
    // The page shows at once; pip's listing, asked afresh at every
    // activation, fills the statuses when it answers. The sets are read
    // before the worker starts: a fresh copy of the list, due once per window,
    // lands while the page waits for pip and is read when pip answers.
    std::string folder;
    if (variant_.interpreterFolder(folder)) {
        bool fresh = listDue_;
        if (fresh)
            readCachedCatalogue();
        else
            readCatalogue(false, false);
        if (startChecking(folder, fresh ? listDownload() : kdDPipListingCheck::Prelude())) {
            listDue_ = false;
            listFetched_ = fresh;
            for (unsigned i = 0; i < installManager->count(); ++i) {
                installManager->item(i)->setStatus("");
                installManager->item(i)->setProgress(kdDPipListingCheck::kCheckingText);
            }
            showChecking();
            bool result = activateDeferringRefresh();
            fillPackageCombo(); // the set's rows say "Checking..."
            return result;
        }
    }
    // Without the worker the fresh list comes first, before the page shows
    // itself as the active one.
    if (listDue_) {
        listDue_ = false;
        readCatalogue(true, false);
    }
    // The rows of the page and of a validated set ask pip once per package.
    hnPipAnswerScope pipAnswers;
    bool result = kdDPropertyPageBase::onSetActive();
    afterStatusRefresh();
    showActivationWarnings();
    refreshCatalogue(false, false);
    return result;
}

bool kdDPipPackagesPageBase::onKillActive() {
    // A fresh list that was still on its way is fetched at the next activation.
    if (checking() && listFetched_)
        listDue_ = true;
    listFetched_ = false;
    return kdDPipListingPage::onKillActive();
}

kdDPipListingCheck::Prelude kdDPipPackagesPageBase::listDownload() const {
    const hnInstallationElement* element = installManager->item(0);
    if (!element)
        return {};
    std::string url = element->url;
    std::string folder = element->downloadFolder;
    ElementDownloadPaths paths = elementDownloadPaths(folder, element->fileName);
    return [url, folder, paths](hnInternetStop& stop) {
        if (paths.tooLong())
            return;
        createFolderPath(folder);
        std::atomic<bool> abort(false);
        downloadElementFile(url, paths, true, abort, nullptr, &stop);
        resolveDownloadBackup(paths); // a failed transfer leaves the cached copy
    };
}

void kdDPipPackagesPageBase::answered() {
    if (listFetched_) {
        listFetched_ = false;
        refreshCatalogue(false, false);
    }
    for (unsigned i = 0; i < installManager->count(); ++i)
        installManager->item(i)->setProgress("");
    refreshPage();
    afterStatusRefresh();
    if (validateChecked())
        refreshPackageStatuses();
    refreshPackageListView();
    showActivationWarnings();
}

void kdDPipPackagesPageBase::showActivationWarnings() {
    for (unsigned i = 0; i < installManager->count(); ++i) {
        if (const char* warning = repairWarningFor(installManager->item(i)->status())) {
            appMessageBox(warning, MB_OK);
            return;
        }
    }
    if (incompleteWithoutRepairWord())
        appMessageBox(repairWarningFor(kStatusIncompleteModule), MB_OK);
}

int kdDPipPackagesPageBase::refreshCatalogue(bool forceDownload, bool showMessages) {
    int read = readCatalogue(forceDownload, showMessages);
    if (hwnd())
        fillPackageCombo();
    return read;
}

int kdDPipPackagesPageBase::readCatalogue(bool forceDownload, bool showMessages) {
    packageManager.reset();
    hnInstallationElement* element = installManager->item(0);
    if (!element)
        return -1;
    HWND owner = hwnd() ? hwnd() : appMainWindow();
    return readListFile(fetchCatalogueList(*element, forceDownload, showMessages, showMessages,
                                           "Using default list of packages.", owner));
}

int kdDPipPackagesPageBase::readCachedCatalogue() {
    packageManager.reset();
    const hnInstallationElement* element = installManager->item(0);
    return element ? readListFile(fileExists(localListPath(*element))) : -1;
}

int kdDPipPackagesPageBase::readListFile(bool available) {
    if (!available)
        return -1;
    std::string path = localListPath(*installManager->item(0));
    std::vector<std::string> groups;
    list_.load(path.c_str());
    list_.distinctGroups(&groups);
    buildPackageTable(&groups, path.c_str(), packageTable);
    return 1;
}

void kdDPipPackagesPageBase::fillPackageCombo() {
    HWND combo = item(IDC_PYPKG_COMBO);
    if (!combo)
        return;
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const PackageDefinition& definition : packageTable.definitions)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(definition.packageName.c_str()));
    if (packageTable.definitions.empty())
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoPackage));
    int chosen = 0;
    std::string stored;
    if (variant_.readSelection(&stored) > 0) {
        int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[512] = {};
            if (::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) >= 512)
                continue;
            ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            if (startsWithNoCase(text, stored)) {
                chosen = i;
                break;
            }
        }
    }
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    onPackageSelected();
}

void kdDPipPackagesPageBase::onPackageSelected() {
    updateInstallationManagerPythonPackage();
    std::string text;
    if (hnComboSelection(item(IDC_PYPKG_COMBO), text) && text != kNoPackage)
        variant_.storeSelection(text.c_str());
}

std::string kdDPipPackagesPageBase::selectedPackage() const {
    std::string text;
    if (!hnComboSelection(item(IDC_PYPKG_COMBO), text))
        return kNoPackage;
    return text;
}

bool kdDPipPackagesPageBase::validateChecked() const {
    return ::IsDlgButtonChecked(hwnd(), IDC_PYPKG_VALIDATE) == BST_CHECKED;
}

void kdDPipPackagesPageBase::updateInstallationManagerPythonPackage() {
    packageManager.reset(new hnInstallManagerBase());
    packageManager->setActions(&installManager->actions());
    std::string text = selectedPackage();
    const PackageDefinition* definition = text == kNoPackage ? nullptr : findPackage(packageTable, text);
    if (definition) {
        std::vector<hnInstallationElement*> found;
        for (int slot = 0; slot < kPackageSlots; ++slot) {
            const char* name = componentName(definition, slot);
            if (!name)
                continue;
            if (hnInstallationElement* element = componentManager->findElementByName(name))
                found.push_back(element);
        }
        packageManager->clearElements();
        if (!found.empty())
            packageManager->setElements(static_cast<unsigned>(found.size()), found.data());
        if (validateChecked() && !checking())
            refreshPackageStatuses();
    }
    refreshPackageListView();
}

void kdDPipPackagesPageBase::refreshPackageStatuses() {
    if (!packageManager || packageManager->count() == 0)
        return;
    hnPipAnswerScope pipAnswers; // a set names each package once, its version details again
    int last = static_cast<int>(packageManager->count()) - 1;
    packageManager->refreshStatuses(0, last);
    packageManager->refreshVersionDetails(last);
}

void kdDPipPackagesPageBase::refreshPackageListView() {
    HWND list = item(IDC_PYPKG_LIST);
    if (!list)
        return;
    std::string text = selectedPackage();
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    bool validate = validateChecked();
    bool waiting = checking();
    int rows = 0;
    if (text != kNoPackage && packageManager) {
        if (const PackageDefinition* definition = findPackage(packageTable, text)) {
            for (int slot = 0; slot < kPackageSlots; ++slot) {
                const char* name = componentName(definition, slot);
                if (!name)
                    continue;
                std::string status, version;
                if (validate && waiting) {
                    version = kdDPipListingCheck::kCheckingText;
                } else if (validate) {
                    const hnInstallationElement* element = packageManager->findElementByName(name);
                    if (element && element->statusText) {
                        status = element->status();
                        if (status == kStatusVersionMismatch || status == kStatusMultipleVersions)
                            version = element->statusDetail;
                    } else {
                        status = "Unknown";
                    }
                }
                addListRow(list, hnFormatText("%d", ++rows), name, status, version);
            }
        }
    }
    if (rows == 0)
        addListRow(list, "", kNoComponents, "", "");
    bool actions = packageManager && validate && !waiting && packageManager->count() > 0;
    ::EnableWindow(item(IDC_PYPKG_INSTALL_ALL), actions && !packageManager->allInstalled());
    ::EnableWindow(item(IDC_PYPKG_UNINSTALL_ALL), actions && !packageManager->noneInstalled());
    ::EnableWindow(item(IDC_PYPKG_INFORMATION), actions);
    ::EnableWindow(item(IDC_PYPKG_STOP_ON_ERRORS), actions);
    std::string selected;
    ::EnableWindow(item(IDC_PYPKG_VALIDATE),
                   hnComboSelection(item(IDC_PYPKG_COMBO), selected) && selected != kNoPackage);
    updateButtons();
}

void kdDPipPackagesPageBase::enableActions(bool enabled) {
    for (int id :
         {IDC_PYPKG_INSTALL_ALL, IDC_PYPKG_UNINSTALL_ALL, IDC_PYPKG_INFORMATION, IDC_PYPKG_STOP_ON_ERRORS})
        ::EnableWindow(item(id), enabled);
}

int kdDPipPackagesPageBase::runOverPackage(bool install) {
    if (!packageManager) {
        appMessageBox("Initialization error (1). Please try again", MB_OK);
        return -1;
    }
    if (packageManager->count() == 0) {
        appMessageBox("Initialization error (2). Please try again", MB_OK);
        return -1;
    }
    bool stopOnErrors = ::IsDlgButtonChecked(hwnd(), IDC_PYPKG_STOP_ON_ERRORS) == BST_CHECKED;
    int last = static_cast<int>(packageManager->count()) - 1;
    int result = 0;
    // Nothing else may press a button of the set while it runs.
    enableActions(false);
    try {
        std::string told;
        result = install ? installAllFetchedFirst(*packageManager, 0, last, true, stopOnErrors, told)
                         : packageManager->uninstallRange(0, last, stopOnErrors);
        if (result == -2)
            appMessageBox(
                "Not every package of the set could be downloaded; nothing was removed or installed.", MB_OK);
    } catch (...) {
        appMessageBox("Unexpected Error 101", MB_OK);
        result = 0;
    }
    refreshPackageStatuses();
    refreshPackageListView();
    return result;
}

int kdDPipPackagesPageBase::installAllComponents() {
    return runOverPackage(true);
}

int kdDPipPackagesPageBase::uninstallAllComponents() {
    return runOverPackage(false);
}

int kdDPipPackagesPageBase::launchPythonPrompt() {
    std::string interpreter;
    if (!variant_.interpreterFolder(interpreter)) {
        appMessageBox("Error - Unable to get Python installation path", MB_OK);
        return -1;
    }
    std::string system;
    if (!systemX86Folder(system)) {
        appMessageBox("Error - Unable to get Windows directory path", MB_OK);
        return -1;
    }
    std::string program = system + "\\cmd.exe";
    std::string parameters = hnFormatText("/K \"cd /d %s\"", interpreter.c_str());
    int shellResult = 0;
    int result =
        launchAppManagingUACElevation(program.c_str(), system.c_str(), parameters.c_str(), &shellResult);
    if (result > 0 && shellResult > 32)
        return 1;
    if (result > 0)
        appMessageBox(hnFormatText("Unable to launch command prompt. Error code - %d", shellResult), MB_OK);
    else
        appMessageBox("Unable to launch command prompt. Unexpected error.", MB_OK);
    return -1;
}

bool kdDPipPackagesPageBase::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (id != IDC_PYPKG_LIST || header->code != LVN_GETINFOTIPA)
        return kdDPropertyPageBase::onNotify(id, header, result);
    auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(header);
    result = 0;
    if (!tip->pszText || tip->cchTextMax <= 0 || !packageManager || !validateChecked())
        return true;
    char name[512] = {};
    LVITEMA cell = {};
    cell.iSubItem = 1;
    cell.pszText = name;
    cell.cchTextMax = sizeof(name);
    ::SendMessageA(header->hwndFrom, LVM_GETITEMTEXTA, static_cast<WPARAM>(tip->iItem),
                   reinterpret_cast<LPARAM>(&cell));
    const hnInstallationElement* element = packageManager->findElementByName(name);
    std::string reasons = element ? hnRowReasons(*element) : std::string();
    if (!reasons.empty())
        lstrcpynA(tip->pszText, reasons.c_str(), tip->cchTextMax);
    return true;
}

bool kdDPipPackagesPageBase::onCommand(WORD id, WORD code, HWND control) {
    if (code == CBN_SELCHANGE && id == IDC_PYPKG_COMBO) {
        onPackageSelected();
        return true;
    }
    // The list file and the statuses are not to be touched until the
    // reading has answered.
    if (code == BN_CLICKED && checking() &&
        (id == IDC_PYPKG_INSTALL_ALL || id == IDC_PYPKG_UNINSTALL_ALL || id == IDC_PYPKG_REFRESH ||
         id == IDC_DOWNLOAD_INSTALLABLES)) {
        debugLine("onCommand", "the packages are still being checked");
        return true;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_PYPKG_VALIDATE:
            if (validateChecked() && !checking())
                refreshPackageStatuses();
            refreshPackageListView();
            return true;
        case IDC_PYPKG_INSTALL_ALL:
            installAllComponents();
            return true;
        case IDC_PYPKG_UNINSTALL_ALL:
            uninstallAllComponents();
            return true;
        case IDC_PYPKG_REFRESH:
            refreshCatalogue(true, true);
            return true;
        case IDC_PYPKG_INFORMATION:
            hnAppBase::current()->prompter().messageBox(
                hwnd(),
                "Enabling 'Stop on Package Errors' will start displaying status window when error is "
                "observed "
                "in any of the Python Wheel installation / un-installation operation.\n\nIMPORTANT: User "
                "needs "
                "to manually acknowledge each of the errors, to proceed; when 'Stop on Package Errors' is "
                "enabled.\n\n",
                "Information", MB_OK);
            return true;
        case IDC_PYPKG_COMMAND_PROMPT:
            launchPythonPrompt();
            return true;
        case IDC_DOWNLOAD_INSTALLABLES: {
            bool skipAllErrors = false;
            if (packageManager)
                runDownloadAllOf(&skipAllErrors, packageManager.get());
            runDownloadAll(&skipAllErrors);
            return true;
        }
        default:
            break;
        }
    }
    return kdDPipListingPage::onCommand(id, code, control);
}

std::vector<hnPageItem> kdDPipPackagesPageBase::items() {
    hnPipAnswerScope pipAnswers;
    std::vector<hnPageItem> found;
    if (componentManager->count() > 0)
        componentManager->refreshStatuses(0, static_cast<int>(componentManager->count()) - 1);
    for (unsigned i = 0; i < componentManager->count(); ++i) {
        const hnInstallationElement& element = *componentManager->item(i);
        // A component names its version: another version of its package in
        // place ("Version Mismatch") is not this component installed.
        const std::string& status = element.status();
        std::string installed;
        if (status == kStatusInstalled)
            installed = element.statusDetail.empty() ? status : element.statusDetail;
        const hnWheelRow* wheel = findWheelRow(element.name);
        found.push_back({hnPageItem::Package, element.name, installed, "", wheel ? wheel->package : ""});
    }
    return found;
}

bool kdDPipPackagesPageBase::installItem(const std::string& key) {
    if (!hwnd() || checking() || !componentManager->findElementByName(key))
        return false;
    auto holds = [&key](const PackageDefinition& definition) {
        for (int slot = 0; slot < kPackageSlots; ++slot)
            if (const char* name = componentName(&definition, slot))
                if (hnEqualsNoCase(name, key))
                    return true;
        return false;
    };
    std::string chosen = selectedPackage();
    const PackageDefinition* current = chosen == kNoPackage ? nullptr : findPackage(packageTable, chosen);
    const PackageDefinition* wanted = current && holds(*current) ? current : nullptr;
    for (std::size_t i = 0; !wanted && i < packageTable.definitions.size(); ++i)
        if (holds(packageTable.definitions[i]))
            wanted = &packageTable.definitions[i];
    if (!wanted)
        return false;
    if (wanted != current && !chooseComboText(IDC_PYPKG_COMBO, wanted->packageName))
        return false;
    ::CheckDlgButton(hwnd(), IDC_PYPKG_VALIDATE, BST_CHECKED);
    pressControl(IDC_PYPKG_VALIDATE);
    bool pressed = pressControl(IDC_PYPKG_INSTALL_ALL);
    if (wanted != current && current)
        chooseComboText(IDC_PYPKG_COMBO, chosen);
    return pressed;
}
