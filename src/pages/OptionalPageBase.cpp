#include "pages/OptionalPageBase.h"

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "download/StatusWords.h"
#include "install/ElementActions.h"
#include "pages_ids.h"
#include "process/SystemInfo.h"

namespace {

const char* const kNone = "None";
const std::string kNoStatus;

struct RepairWarning {
    const char* word;
    const char* message;
};
const RepairWarning kRepairWarnings[] = {
    {kStatusVersionMismatch, "Warning: Incorrect version is currently installed for one or more components.\n"
                             "Please click on the 'Install' button to install the required version."},
    {kStatusReinstallNeeded, "Warning: All the dependencies are not installed for one or more components.\n"
                             "Please click on the 'Install' button to install the required dependencies."},
    {kStatusMultipleVersions,
     "Warning: Multiple versions are currently installed for one or more components.\n"
     "Please click on the 'Install' button to repair the installation."},
    {kStatusIncompleteModule, "Warning: Installation for one or more components is incomplete.\n"
                              "Please click on the 'Install' button to repair the installation."},
};

} // namespace

const char* repairWarningFor(const std::string& status) {
    for (const RepairWarning& warning : kRepairWarnings)
        if (status == warning.word)
            return warning.message;
    return nullptr;
}

hnSystemFacts querySystemFacts() {
    hnSystemFacts facts;
    char fullName[kOsNameCapacity] = {};
    char shortName[kOsNameCapacity] = {};
    bool is64Bit = false;
    if (queryOSVersion(fullName, shortName, &is64Bit)) {
        facts.is64Bit = is64Bit;
        facts.shortName = shortName;
    } else {
        facts.is64Bit = is64BitWindows();
    }
    return facts;
}

hnOptionalComponent variantComponent(const hnBitnessVariant& variant, bool is64Bit, bool own,
                                     const char* switches, const char* serverPath, bool isMsiPackage,
                                     const char* cacheFolder, const char* category) {
    bool take64 = !variant.name32 || (own ? is64Bit : !is64Bit);
    hnOptionalComponent definition;
    definition.name = take64 ? variant.name64 : variant.name32;
    definition.fileName = take64 ? variant.file64 : variant.file32;
    definition.switches = switches;
    definition.serverPath = serverPath;
    definition.isMsiPackage = isMsiPackage;
    definition.cacheFolder = cacheFolder;
    definition.category = category;
    return definition;
}

// ---------------------------------------------------------------- selector

hnVersionSelector::hnVersionSelector(kdDOptionalPageBase& page, hnSelectorDefinition definition)
    : page_(page), definition_(std::move(definition)) {}

void hnVersionSelector::fill() {
    HWND combo = page_.item(definition_.combo);
    if (!combo)
        return;
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int element : definition_.entries)
        ::SendMessageA(combo, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(page_.rowNames[static_cast<std::size_t>(element)].c_str()));
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNone));
}

int hnVersionSelector::elementOf(const std::string& text) const {
    if (text == kNone)
        return -1;
    for (int element : definition_.entries)
        if (page_.rowNames[static_cast<std::size_t>(element)] == text)
            return element;
    for (const auto& alias : definition_.aliases)
        if (page_.rowNames[static_cast<std::size_t>(alias.first)] == text)
            return alias.second;
    return -1;
}

bool hnVersionSelector::selectedText(std::string& text) const {
    return hnComboSelection(page_.item(definition_.combo), text);
}

void hnVersionSelector::debugLine(const char* operation, const char* text) const {
    hnDebugOutF("%s::%s - %s\n", definition_.className, operation, text);
}

std::string hnVersionSelector::installedMember() const {
    for (int element : definition_.foundOrder)
        if (page_.isElementInstalled(element))
            return page_.rowNames[static_cast<std::size_t>(element)];
    return kNone;
}

int hnVersionSelector::refreshVersionSelector() {
    std::string installed = installedMember();
    if (HWND combo = page_.item(definition_.combo))
        hnComboSelectExact(combo, installed);
    if (!selectedText(currentSelection))
        currentSelection = kNone;
    int element = elementOf(currentSelection);
    selectorStatus =
        element < 0 ? std::string() : hnFormatText("Status: %s", page_.statusOf(element).c_str());
    if (HWND label = page_.item(definition_.statusLabel)) {
        ::SetWindowTextA(label, selectorStatus.c_str());
        page_.showStatusReason(
            label, element < 0 ? nullptr : page_.installManager->item(static_cast<unsigned>(element)));
    }
    return 1;
}

int hnVersionSelector::processNewSelection() {
    std::string chosen;
    if (!selectedText(chosen)) {
        debugLine(definition_.processOperation, "Unable to get new selection");
        chosen = kNone;
    }
    if (chosen == currentSelection)
        return -1;
    if (currentSelection == kNone) {
        installNewSelection();
        return 1;
    }
    int oldElement = elementOf(currentSelection);
    if (chosen == kNone) {
        if (oldElement >= 0)
            page_.runUninstallRange(oldElement, oldElement);
        return 1;
    }
    std::string question = hnFormatText(definition_.question, chosen.c_str(), chosen.c_str());
    if (appMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    int newElement = elementOf(chosen);
    if (oldElement < 0 || newElement < 0)
        return 1; // a text without an element: nothing is removed or installed
    switchMembers(oldElement, newElement);
    return 1;
}

// The new member is fetched first, the old one removed and found gone, then
// the new one installed and detected; when it is not, the old one is
// installed again and the user told what is installed now.
int hnVersionSelector::switchMembers(int oldElement, int newElement) {
    // Offline, the old member must stay: fetch the new one before anything
    // is removed.
    if (page_.runDownloadElement(newElement) <= 0) {
        debugLine(definition_.processOperation, "Unable to download the new selection");
        return -1;
    }
    const std::string& oldName = page_.rowNames[static_cast<std::size_t>(oldElement)];
    const std::string& newName = page_.rowNames[static_cast<std::size_t>(newElement)];
    page_.runUninstallRange(oldElement, oldElement);
    // The removed member itself is asked again: another member found first
    // by the selector says nothing about it. A removal that answered success
    // (an uninstaller the user cancelled) stops here too.
    if (page_.isElementInstalled(oldElement)) {
        debugLine(definition_.processOperation, "Unable to uninstall the current selection");
        appMessageBox(hnFormatText("%s is still installed, so %s was not installed.", oldName.c_str(),
                                   newName.c_str()));
        return -1;
    }
    if (page_.installSelectorMember(newElement) > 0)
        return 1;
    // The user is never left with less: the old member comes back, from the
    // cache when its installable is there, otherwise from the server.
    debugLine(definition_.processOperation,
              "Unable to install the new selection; restoring the previous one");
    if (page_.installSelectorMember(oldElement) > 0) {
        appMessageBox(
            hnFormatText("%s could not be installed; %s was restored.", newName.c_str(), oldName.c_str()));
        return -1;
    }
    std::string now;
    for (int element : definition_.foundOrder)
        if (page_.isElementInstalled(element)) {
            now = page_.rowNames[static_cast<std::size_t>(element)];
            break;
        }
    appMessageBox(now.empty()
                      ? hnFormatText("%s could not be installed and %s could not be restored; neither "
                                     "is installed now.",
                                     newName.c_str(), oldName.c_str())
                      : hnFormatText("%s could not be installed and %s could not be restored; %s is "
                                     "installed now.",
                                     newName.c_str(), oldName.c_str(), now.c_str()));
    return -1;
}

int hnVersionSelector::installNewSelection() {
    std::string chosen;
    if (!selectedText(chosen)) {
        debugLine(definition_.installOperation, "Unable to get new selection");
        return -1;
    }
    int element = elementOf(chosen);
    if (element >= 0)
        page_.installSelectorMember(element);
    return 1;
}

// ---------------------------------------------------------------- page

kdDOptionalPageBase::kdDOptionalPageBase(UINT templateId, const std::string& title,
                                         const std::string& pageName, const char* hint,
                                         std::vector<hnOptionalComponent> elements,
                                         std::vector<hnOptionalRow> pageRows, const Layout& layout)
    : kdDPropertyPageBase(templateId, title, pageName), componentTable(std::move(elements)),
      rows(std::move(pageRows)), rowNames(componentTable.size()), rowStatus(componentTable.size()),
      rowProgress(componentTable.size()), layout_(layout) {
    uiDlgName = pageName;
    statusText = hint;
    bindText(IDC_STATUS_AREA, &statusText);
    for (const hnOptionalRow& row : rows) {
        std::size_t e = static_cast<std::size_t>(row.element);
        if (row.name)
            bindText(row.name, &rowNames[e]);
        if (row.status)
            bindText(row.status, &rowStatus[e]);
        if (row.progress)
            bindText(row.progress, &rowProgress[e]);
        installButtons_.emplace_back(row.install ? new hnImageButton() : nullptr);
        removeButtons_.emplace_back(row.remove ? new hnImageButton() : nullptr);
        advices_.emplace_back(row.advice ? new hnImageStatic() : nullptr);
    }
    // The elements are there without a window: installer copies gather them
    // from pages never shown.
    initInstallationElements();
    elementsInitialised = true;
}

kdDOptionalPageBase::~kdDOptionalPageBase() = default;

int kdDOptionalPageBase::initInstallationElements() {
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    std::vector<hnInstallationElement*> elements;
    for (std::size_t i = 0; i < componentTable.size(); ++i) {
        const hnOptionalComponent& definition = componentTable[i];
        std::string url =
            installerServices()->repositoryBaseUrl() + definition.serverPath + definition.fileName;
        std::string folder = cacheFolder(definition.cacheFolder);
        built.emplace_back(new hnInstallationElement(
            definition.name.c_str(), url.c_str(), definition.fileName.c_str(), definition.switches.c_str(),
            folder.c_str(), definition.isMsiPackage, 0, definition.refreshBeforeCopy, &rowNames[i],
            &rowStatus[i], &rowProgress[i], definition.category));
        elements.push_back(built.back().get());
    }
    installManager->clearElements();
    installManager->setElements(static_cast<unsigned>(elements.size()), elements.data());
    return 1;
}

hnVersionSelector& kdDOptionalPageBase::addSelector(hnSelectorDefinition definition) {
    selectors.emplace_back(new hnVersionSelector(*this, std::move(definition)));
    return *selectors.back();
}

const std::string& kdDOptionalPageBase::statusOf(int element) const {
    const hnInstallationElement* item = installManager->item(static_cast<unsigned>(element));
    return item ? item->status() : kNoStatus;
}

bool kdDOptionalPageBase::isElementInstalled(int element) const {
    hnInstallationElement* item = installManager->item(static_cast<unsigned>(element));
    return item && installManager->actions().isInstalled(*item);
}

int kdDOptionalPageBase::setupControls() {
    // Every group box encloses the rows, which stand at pixel columns.
    for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char kind[16] = {};
        ::GetClassNameA(child, kind, sizeof(kind));
        if (lstrcmpiA(kind, "Button") == 0 &&
            (::GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
            alignGroupWithRows(child);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const hnOptionalRow& row = rows[r];
        hnImageButton* install = installButtons_[r].get();
        hnImageButton* remove = removeButtons_[r].get();
        hnImageStatic* advice = advices_[r].get();
        if (advice)
            advice->subclassItem(hwnd(), row.advice);
        if (install)
            setupImageButton(*install, row.install, IDP_INSTALL, "Install");
        if (remove)
            setupImageButton(*remove, row.remove, IDP_REMOVE, layout_.removeTooltip);
        if (layout_.componentRows && row.driverRow && install) {
            layoutDriverRow(*install, advice, item(row.name));
        } else if (layout_.componentRows && install && remove) {
            layoutComponentRow(*remove, *install, advice, row.adviceText, item(row.name), item(row.status),
                               item(row.progress));
            addToolTip(remove->hwnd(), layout_.removeTooltip);
        } else {
            int top = controlTop((remove ? remove : install)->hwnd());
            layoutRemoveRow(remove, item(row.name), item(row.status), item(row.progress), top);
            if (install)
                moveControl(install->hwnd(), 785, top);
        }
    }
    for (const auto& selector : selectors) {
        // The combo in the name column, its status in the status column.
        HWND combo = item(selector->definition().combo);
        int top = controlTop(combo);
        ::SetWindowPos(combo, nullptr, 226, top, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetWindowPos(item(selector->definition().statusLabel), nullptr, 643, top + 4, 160, 20,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    setupImageButton(downloadButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, layout_.downloadTooltip,
                     kDownloadButtonX);
    endStatusAreaBefore(kDownloadButtonX - 8);
    return 1;
}

bool kdDOptionalPageBase::onInitDialog() {
    kdDPropertyPageBase::onInitDialog();
    for (const auto& selector : selectors)
        selector->fill();
    return true;
}

bool kdDOptionalPageBase::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
    bool result = kdDPropertyPageBase::onSetActive();
    afterActivation();
    return result;
}

void kdDOptionalPageBase::afterActivation() {
    for (const auto& selector : selectors)
        selector->refreshVersionSelector();
}

int kdDOptionalPageBase::updateButtons() {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const hnOptionalRow& row = rows[r];
        bool shown = rowShown(row);
        const std::string& status = rowStatus[static_cast<std::size_t>(row.element)];
        if (hnImageButton* install = installButtons_[r].get())
            ::EnableWindow(install->hwnd(), shown && (row.driverRow || status != kStatusInstalled));
        if (hnImageButton* remove = removeButtons_[r].get())
            ::EnableWindow(remove->hwnd(), shown && status != kStatusNotInstalled);
    }
    return 1;
}

void kdDOptionalPageBase::showRepairWarning(const char* skipName) {
    for (unsigned i = 0; i < installManager->count(); ++i) {
        const hnInstallationElement& element = *installManager->item(i);
        if (skipName && element.name == skipName)
            continue;
        if (const char* warning = repairWarningFor(element.status())) {
            appMessageBox(warning, MB_OK);
            return;
        }
    }
}

int kdDOptionalPageBase::installSelectorMember(int element) {
    // Success is the member detected afterwards, not the installer's answer.
    if (runInstallRange(element, element, false) <= 0)
        return -1;
    return isElementInstalled(element) ? 1 : -1;
}

void kdDOptionalPageBase::onInstallRow(int element) {
    runInstallRange(element, element, false);
    afterRowCommand(element);
}

void kdDOptionalPageBase::onUninstallRow(int element) {
    runUninstallRange(element, element);
    afterRowCommand(element);
}

void kdDOptionalPageBase::onDownloadInstallables() {
    bool skipAllErrors = false;
    runDownloadAll(&skipAllErrors);
}

int kdDOptionalPageBase::installControlOf(int element) const {
    for (const hnOptionalRow& row : rows)
        if (row.element == element && rowShown(row))
            return row.install;
    return 0;
}

int kdDOptionalPageBase::removeControlOf(int element) const {
    for (const hnOptionalRow& row : rows)
        if (row.element == element && rowShown(row))
            return row.remove;
    return 0;
}

std::vector<hnPageChoice> kdDOptionalPageBase::choices() {
    std::vector<hnPageChoice> found;
    for (const auto& selector : selectors) {
        hnPageChoice choice;
        choice.key = selector->definition().setName;
        choice.current = selector->installedMember();
        for (int element : selector->definition().entries)
            choice.members.push_back(rowNames[static_cast<std::size_t>(element)]);
        choice.members.push_back(kNone);
        found.push_back(choice);
    }
    return found;
}

bool kdDOptionalPageBase::choose(const std::string& key, const std::string& member) {
    for (const auto& selector : selectors)
        if (!key.empty() && hnEqualsNoCase(selector->definition().setName, key))
            return chooseComboText(selector->definition().combo, member);
    return false;
}

bool kdDOptionalPageBase::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        if (id == IDC_DOWNLOAD_INSTALLABLES) {
            onDownloadInstallables();
            return true;
        }
        for (const hnOptionalRow& row : rows) {
            if (row.install && id == row.install) {
                onInstallRow(row.element);
                return true;
            }
            if (row.remove && id == row.remove) {
                onUninstallRow(row.element);
                return true;
            }
        }
    }
    if (code == CBN_SELCHANGE) {
        for (const auto& selector : selectors) {
            if (id == selector->definition().combo) {
                if (selector->processNewSelection() > 0)
                    selector->refreshVersionSelector();
                return true;
            }
        }
    }
    return kdDPropertyPageBase::onCommand(id, code, control);
}
