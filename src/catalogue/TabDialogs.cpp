#include "catalogue/TabDialogs.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/SubclassedControl.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "catalogue/CatalogueSources.h"
#include "catalogue/Hyperlink.h"
#include "catalogue_ids.h"
#include "controls/ToolTip.h"
#include "download/DownloadDialogs.h"
#include "download/InstallationElement.h"
#include "download/Unzipper.h"
#include "process/Elevation.h"
#include "python/PythonSelection.h"

namespace {

const int kMaxRows = 12;
const int kFirstRowTop = 5;
const int kRowHeight = 26;
const int kFirstControlId = 45001;
const POINT kAnchorInPage = {811, 1};
const int32_t kContentSize = 0x400000;

const char* const kUnexpectedOperation = "Error: Unexpected operation. Please try again.";
const char* const kUninstallFailed = "Unable to uninstall the Orvanto Vision App. Please try again.";
const char* const kLoadFailed = "Unable to load the profile. Unexpected error.";

const CatalogueTabTexts kProfileTexts = {
    "Error: Unable to locate the download path for the selected profile. Please try again.",
    "Error: Unable to parse the download path for the selected profile. Please try again.",
    "Error: Unable to extract the profile files. Please try again.",
    "Error: Unable to install/upgrade the selected profile. Please try again.",
    "Unable to access the profile information URL. Please try again.",
    "No demo profiles are available."};

const CatalogueTabTexts kTemplateTexts = {
    "Error: Unable to locate the download path for the selected template. Please try again.",
    "Error: Unable to parse the download path for the selected template. Please try again.",
    "Error: Unable to extract the template files. Please try again.",
    "Error: Unable to install the selected template. Please try again.",
    "Unable to access the template information URL. Please try again.",
    "No templates are available."};

// Four numbers a.b.c.d. Strict: exactly four parts of digits only (a folder
// suffix). Otherwise: at least three dots, four non-empty parts (the last is
// the rest of the text), each read by its leading digits.
bool parseVersion(const std::string& text, bool strict, long long (&parts)[4]) {
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        std::size_t end = i < 3 ? text.find('.', start) : text.size();
        if (end == std::string::npos || end == start)
            return false;
        std::string part = text.substr(start, end - start);
        if (strict && (part.size() > 9 || part.find_first_not_of("0123456789") != std::string::npos))
            return false;
        long long value = 0;
        for (std::size_t k = 0; k < part.size() && k < 9 && part[k] >= '0' && part[k] <= '9'; ++k)
            value = value * 10 + (part[k] - '0');
        parts[i] = value;
        start = end + 1;
    }
    return true;
}

int compareVersions(const long long (&a)[4], const long long (&b)[4]) {
    for (int i = 0; i < 4; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

} // namespace

RECT hnRectOf(int left, int top, int right, int bottom) {
    return RECT{left, top, right, bottom};
}

void hnShowRowControl(HWND control, bool shown, bool enabled) {
    if (!control)
        return;
    ::ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
    ::EnableWindow(control, enabled ? TRUE : FALSE);
}

HWND hnButtonWindow(const std::unique_ptr<DDynamicButton>& button) {
    return button ? button->hwnd() : nullptr;
}

// ---------------------------------------------------------------- DDynamicButton

LRESULT DDynamicButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReflectBase + WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (owner)
            ::SendMessageA(owner, kDynamicButtonMessage, static_cast<WPARAM>(rowIndex),
                           static_cast<LPARAM>(operation));
        return TRUE;
    }
    return hnImageButton::windowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------- hnCatalogueTabDialog

bool hnCatalogueTabDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != kDynamicButtonMessage)
        return hnDialog::onMessage(message, wParam, lParam, result);
    if (rowsRefused && rowsRefused()) {
        hnDebugOut("hnCatalogueTabDialog::onMessage - the rows wait for the page's list\n");
        result = 0;
        return true;
    }
    counted([&] { runRowMessage(wParam, lParam); });
    result = 1;
    return true;
}

bool hnCatalogueTabDialog::onCommand(WORD id, WORD code, HWND control) {
    // A link's click may run a modal download: it counts as an operation.
    bool handled = false;
    if (control && code == BN_CLICKED)
        counted([&] { handled = reflectClickToControl(code, control); });
    return handled || hnDialog::onCommand(id, code, control);
}

void hnCatalogueTabDialog::counted(const std::function<void()>& operation) {
    ++operationDepth_;
    try {
        operation();
    } catch (...) {
        hnDebugOut("hnCatalogueTabDialog::counted - unexpected exception\n");
    }
    --operationDepth_;
    if (operationDepth_ == 0 && onOperationEnded)
        onOperationEnded();
}

int fetchRowArchive(HWND owner, const std::string& name, const std::string& url,
                    const std::string& cacheFolderName, const std::string& category, std::string& archive) {
    std::string fileName, downloadFolder = ::cacheFolder(cacheFolderName.c_str());
    if (!fileNameOfUrl(url, fileName) || !isPlainNameInFolder(downloadFolder + "\\", fileName))
        return -1;
    std::string nameText, statusText, progressText;
    hnInstallationElement element(name.c_str(), url.c_str(), fileName.c_str(), "", downloadFolder.c_str(),
                                  false, kContentSize, false, &nameText, &statusText, &progressText,
                                  category.c_str());
    INT_PTR outcome;
    {
        DDownloadAndInstallComponent dialog(1, 1, &element, true, false, true);
        outcome = dialog.doModal(owner);
    }
    if (outcome != IDOK)
        return 0;
    return hnJoinPath(archive, downloadFolder, fileName) && fileExists(archive) ? 1 : 2;
}

void runProfileInRuntime(HWND owner, const std::string& runtimeFolder, const std::string& profilesFolder,
                         const std::string& profileName) {
    auto tell = [owner](const std::string& text) {
        hnAppBase::current()->prompter().messageBox(owner, text.c_str(), kInstallerCaption, MB_OK);
    };
    // Without a runtime folder the bare program name would be looked up in
    // the current folder and the search path, and started elevated.
    std::string program;
    if (runtimeFolder.empty() || !hnFormat(program, kPathCapacity, "%sOrvanto.exe", runtimeFolder.c_str()) ||
        !fileExists(program)) {
        tell(kLoadFailed);
        return;
    }
    std::string parameters =
        hnFormatText("\"System=%s%s\" \"/IGNOREPROFILEVERSION\" %s", profilesFolder.c_str(),
                     profileName.c_str(), DTabProfiles2D::pythonSwitch().c_str());
    int shellResult = 0;
    int result = launchAppManagingUACElevation(program.c_str(), runtimeFolder.c_str(), parameters.c_str(),
                                               &shellResult);
    if (result > 0 && shellResult <= 32)
        tell(hnFormatText("Unable to load the profile. Error code - %d", shellResult));
    else if (result <= 0)
        tell(kLoadFailed);
}

// ---------------------------------------------------------------- kdDTabDialogBase

kdDTabDialogBase::kdDTabDialogBase(UINT templateId) : hnCatalogueTabDialog(templateId) {}

kdDTabDialogBase::~kdDTabDialogBase() {
    if (toolTip && ::IsWindow(toolTip))
        ::DestroyWindow(toolTip);
}

bool kdDTabDialogBase::onInitDialog() {
    hnDialog::onInitDialog();
    LOGFONTA logFont = {};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    if (font && ::GetObjectA(font, sizeof(logFont), &logFont))
        dialogFont.reset(::CreateFontIndirectA(&logFont));
    if (toolTip && ::IsWindow(toolTip))
        ::DestroyWindow(toolTip);
    toolTip = hnCreateToolTip(hwnd(), dialogFont.get());
    return true;
}

kdDTabDialogBase::RowsBuild::RowsBuild(HWND dialog)
    : dialog_(dialog), drawing_(dialog && ::IsWindowVisible(dialog)) {
    // Each visible control made would otherwise repaint its part of the tab.
    if (drawing_)
        ::SendMessageA(dialog_, WM_SETREDRAW, FALSE, 0);
}

kdDTabDialogBase::RowsBuild::~RowsBuild() {
    if (!drawing_ || !::IsWindow(dialog_))
        return;
    ::SendMessageA(dialog_, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(dialog_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void kdDTabDialogBase::onDestroy() {
    if (toolTip && ::IsWindow(toolTip))
        ::DestroyWindow(toolTip);
    toolTip = nullptr;
}

bool kdDTabDialogBase::preTranslateMessage(MSG* msg) {
    if (toolTip && hwnd() && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST &&
        (msg->hwnd == hwnd() || ::IsChild(hwnd(), msg->hwnd)))
        ::SendMessageA(toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
    return false;
}

void kdDTabDialogBase::addToolTip(HWND control, const std::string& text) {
    if (!text.empty())
        hnAddToolTip(toolTip, hwnd(), control, text.c_str());
}

void kdDTabDialogBase::explainRefusal(HWND nameLabel, const char* what, const std::string& name) {
    hnSetToolTipText(toolTip, hwnd(), nameLabel,
                     hnFormatText("Not offered: the %s name \"%s\" in the server's list is not a plain name "
                                  "inside its folder.",
                                  what, name.c_str()));
}

void kdDTabDialogBase::removeToolTip(HWND control) {
    hnRemoveToolTip(toolTip, hwnd(), control);
}

// ---------------------------------------------------------------- DCatalogueTabDialog

DCatalogueTabDialog::DCatalogueTabDialog(UINT templateId, const CatalogueTabTexts& texts,
                                         const char* contentFolderName, const char* initialTabName)
    : kdDTabDialogBase(templateId), texts_(texts), contentFolderName_(contentFolderName) {
    tabName = initialTabName;
    runtimeFolder = registeredRuntimeFolder();
    contentFolder = userContentFolder(contentFolderName_);
}

void DCatalogueTabDialog::message(const std::string& text) {
    hnAppBase::current()->prompter().messageBox(hwnd(), text.c_str(), kInstallerCaption, MB_OK);
}

int DCatalogueTabDialog::showTab(const std::string& listPath_, const std::string& tabName_,
                                 const std::string& cacheFolder_, const std::string& category_) {
    if (!hwnd())
        return -1;
    listPath = listPath_;
    tabName = tabName_;
    cacheFolder = cacheFolder_;
    category = category_;
    runtimeFolder = registeredRuntimeFolder();
    contentFolder = userContentFolder(contentFolderName_);
    list.load(listPath.c_str());

    std::vector<const CatalogueEntry*> matches;
    for (const CatalogueEntry& entry : list.entries)
        if (hnEqualsNoCase(entry.group, tabName) && static_cast<int>(matches.size()) < kMaxRows)
            matches.push_back(&entry);
    // A page activation shows the same rows again as a rule: they keep their
    // controls and only detect their state anew.
    if (rowsShowEntries(matches)) {
        for (int i = 0; i < rowCount(); ++i)
            detectRow(i);
        refreshRows();
        return 1;
    }
    RowsBuild build(hwnd());
    for (int i = 0; i < rowCount(); ++i)
        destroyRowControls(row(i));
    resizeRows(0);
    resizeRows(static_cast<int>(matches.size()));

    LOGFONTA logFont = {};
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    if (font && ::GetObjectA(font, sizeof(logFont), &logFont))
        rowFont.reset(::CreateFontIndirectA(&logFont));

    POINT anchor = kAnchorInPage;
    ::MapWindowPoints(::GetParent(hwnd()), hwnd(), &anchor, 1);
    int y = kFirstRowTop, id = kFirstControlId;
    for (int i = 0; i < static_cast<int>(matches.size()); ++i) {
        const CatalogueEntry& entry = *matches[static_cast<std::size_t>(i)];
        CatalogueRow& r = row(i);
        r.name = entry.Name;
        r.folderName = entry.ClassName.empty() ? entry.Name : entry.ClassName;
        r.url = entry.URL;
        r.availableVersion = entry.VersionLabel;
        r.infoText = entry.InfoText;
        r.infoUrl = entry.InfoURL;
        r.safe = !contentFolder.empty() && isPlainNameInFolder(contentFolder, r.folderName);
        if (!r.safe)
            hnDebugOutF("DCatalogueTabDialog::showTab - Unsafe folder name in the list, row '%s' disabled\n",
                        r.name.c_str());
        detectRow(i);
        createRowControls(i, anchor.x, y, id);
        y += kRowHeight;
        id += idStep();
    }
    emptyText = matches.empty() ? texts_.emptyTab : "";
    ::ShowWindow(item(IDC_TAB_TEXT), matches.empty() ? SW_SHOW : SW_HIDE);
    refreshRows();
    ::SetDlgItemTextA(hwnd(), IDC_TAB_TEXT, emptyText.c_str());
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    return 1;
}

bool DCatalogueTabDialog::rowsShowEntries(const std::vector<const CatalogueEntry*>& entries) {
    if (entries.empty() || static_cast<int>(entries.size()) != rowCount())
        return false;
    for (int i = 0; i < rowCount(); ++i) {
        const CatalogueEntry& entry = *entries[static_cast<std::size_t>(i)];
        CatalogueRow& r = row(i);
        std::string folderName = entry.ClassName.empty() ? entry.Name : entry.ClassName;
        bool safe = !contentFolder.empty() && isPlainNameInFolder(contentFolder, folderName);
        if (!r.nameLabel || !::IsWindow(r.nameLabel) || r.name != entry.Name || r.folderName != folderName ||
            r.url != entry.URL || r.availableVersion != entry.VersionLabel || r.infoText != entry.InfoText ||
            r.infoUrl != entry.InfoURL || r.safe != safe)
            return false;
    }
    return true;
}

int DCatalogueTabDialog::rowIndexOf(const std::string& name) {
    for (int i = 0; i < rowCount(); ++i)
        if (row(i).name == name)
            return i;
    return -1;
}

void DCatalogueTabDialog::runRowMessage(WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(wParam);
    if (index < 0 || index >= rowCount())
        message(texts_.badRow);
    else
        runOperation(index, static_cast<int>(lParam));
}

void DCatalogueTabDialog::runOperation(int index, int operation) {
    switch (operation) {
    case OperationInstall:
        installRow(index);
        break;
    case OperationRun:
        runRow(index);
        break;
    case OperationUninstall:
        uninstallRow(index);
        break;
    case OperationInfo:
        openInfo(index);
        break;
    default:
        message(kUnexpectedOperation);
        break;
    }
}

void DCatalogueTabDialog::runRow(int index) {
    (void)index;
    message(kUnexpectedOperation);
}

void DCatalogueTabDialog::installRow(int index) {
    CatalogueRow& r = row(index);
    std::string fileName, archive;
    if (!fileNameOfUrl(r.url, fileName) || !isPlainFileName(fileName)) {
        message(texts_.badUrl);
        return;
    }
    if (!r.safe) {
        message(texts_.archiveMissing);
        return;
    }
    int fetched = fetchRowArchive(hwnd(), r.name, r.url, cacheFolder, category, archive);
    if (fetched < 0) {
        message(texts_.badUrl);
    } else if (fetched == 1) {
        if (!CUnzipper::ensureFolder(contentFolder) ||
            !extractArchiveToFolder(archive.c_str(), contentFolder.c_str(), entryPrefix(r).c_str()))
            message(texts_.extractFailed);
    } else if (fetched == 2) {
        message(texts_.archiveMissing);
    }
    detectRow(index);
    refreshRows();
}

void DCatalogueTabDialog::openInfo(int index) {
    if (openWebLink(row(index).infoUrl, hwnd()) <= 32)
        message(texts_.infoFailed);
}

void DCatalogueTabDialog::createLabels(CatalogueRow& r, const RECT& nameRect, const RECT& versionRect,
                                       const std::string& text) {
    auto label = [this](const RECT& rect, const char* caption) {
        HWND control =
            ::CreateWindowExA(0, "STATIC", caption, WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                              rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, hwnd(),
                              nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (control)
            ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(rowFont.get()), FALSE);
        return control;
    };
    r.versionLabel = label(versionRect, "");
    r.nameLabel = label(nameRect, text.c_str());
    if (!r.safe)
        explainRefusal(r.nameLabel, "folder", r.folderName);
}

DDynamicButton* kdDTabDialogBase::createButton(std::unique_ptr<DDynamicButton>& button, int index,
                                               int operation, UINT image, const char* tooltip,
                                               const RECT& rect, int id) {
    button.reset(new DDynamicButton());
    button->owner = hwnd();
    button->rowIndex = index;
    button->operation = operation;
    if (!button->create(hwnd(), id, rect))
        return button.get();
    ::SendMessageA(button->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(rowFont.get()), FALSE);
    button->setImage(picture(image));
    addToolTip(button->hwnd(), tooltip ? tooltip : "");
    return button.get();
}

void DCatalogueTabDialog::createInfoControls(CatalogueRow& r, int index, int y, int id) {
    RECT rect = hnRectOf(5, y, 29, y + 25);
    createButton(r.infoButton, index, OperationInfo, IDP_INFO, r.infoText.c_str(), rect, id);
    r.infoImage.reset(new hnImageStatic());
    if (r.infoImage->create(hwnd(), id + 1, rect)) {
        r.infoImage->setImage(picture(IDP_INFO));
        addToolTip(r.infoImage->hwnd(), r.infoText);
    }
}

void DCatalogueTabDialog::refreshInfo(CatalogueRow& r) {
    HWND image = r.infoImage ? r.infoImage->hwnd() : nullptr;
    if (!r.infoUrl.empty()) {
        hnShowRowControl(hnButtonWindow(r.infoButton), true);
        hnShowRowControl(image, false);
    } else if (!r.infoText.empty()) {
        hnShowRowControl(hnButtonWindow(r.infoButton), false);
        hnShowRowControl(image, true);
    } else {
        hnShowRowControl(hnButtonWindow(r.infoButton), false);
        hnShowRowControl(image, false);
    }
}

void DCatalogueTabDialog::destroyRowControls(CatalogueRow& r) {
    for (HWND* label : {&r.nameLabel, &r.versionLabel}) {
        removeToolTip(*label);
        if (*label && ::IsWindow(*label))
            ::DestroyWindow(*label);
        *label = nullptr;
    }
    for (std::unique_ptr<DDynamicButton>* button : {&r.installButton, &r.uninstallButton, &r.infoButton}) {
        removeToolTip(hnButtonWindow(*button));
        button->reset();
    }
    if (r.infoImage)
        removeToolTip(r.infoImage->hwnd());
    r.infoImage.reset();
}

// ---------------------------------------------------------------- DTabProfiles2D

DTabProfiles2D::DTabProfiles2D()
    : DCatalogueTabDialog(IDD_TAB_PROFILES, kProfileTexts, "Profiles", "2d-demo") {}

DTabProfiles2D::~DTabProfiles2D() {
    for (ProfileRow& r : rows)
        r.runButton.reset();
}

void DTabProfiles2D::resizeRows(int count) {
    for (ProfileRow& r : rows) {
        removeToolTip(hnButtonWindow(r.runButton));
        r.runButton.reset();
    }
    rows.resize(static_cast<std::size_t>(count));
}

void DTabProfiles2D::detectRow(int index) {
    ProfileRow& r = rows[static_cast<std::size_t>(index)];
    r.installed = r.safe && readInstalledProfile(contentFolder + r.folderName, r.installedVersion);
    if (!r.installed)
        r.installedVersion.clear();
}

void DTabProfiles2D::createRowControls(int index, int X, int y, int b) {
    ProfileRow& r = rows[static_cast<std::size_t>(index)];
    std::string text =
        r.installed && !r.installedVersion.empty() ? r.name + " " + r.installedVersion : r.name;
    createButton(r.uninstallButton, index, OperationUninstall, IDP_REMOVE, "Uninstall",
                 hnRectOf(X, y, X + 24, y + 25), b - 1);
    createButton(r.runButton, index, OperationRun, IDP_RUN, "Run", hnRectOf(X - 25, y, X - 1, y + 25), b);
    createLabels(r, hnRectOf(30, y + 5, X - 177, y + 30), hnRectOf(X - 116, y + 5, X - 26, y + 30), text);
    createButton(r.installButton, index, OperationInstall, IDP_INSTALL, "Install",
                 hnRectOf(X - 146, y, X - 122, y + 25), b + 1);
    createInfoControls(r, index, y, b + 2);
}

void DTabProfiles2D::refreshRows() {
    for (ProfileRow& r : rows) {
        if (HWND install = hnButtonWindow(r.installButton))
            ::SetWindowTextA(install, "Install");
        std::string version = r.availableVersion, label = r.name;
        if (r.installed) {
            hnShowRowControl(hnButtonWindow(r.installButton), true, false);
            hnShowRowControl(hnButtonWindow(r.uninstallButton), true, r.safe);
            hnShowRowControl(hnButtonWindow(r.runButton), true, r.safe);
            if (r.installedVersion == r.availableVersion)
                version = r.installedVersion;
            else
                label = r.name + " " + r.installedVersion;
        } else {
            hnShowRowControl(hnButtonWindow(r.installButton), true, r.safe);
            hnShowRowControl(hnButtonWindow(r.uninstallButton), false);
            hnShowRowControl(hnButtonWindow(r.runButton), false);
        }
        ::SetWindowTextA(r.versionLabel, version.c_str());
        ::SetWindowTextA(r.nameLabel, label.c_str());
        refreshInfo(r);
    }
}

std::string DTabProfiles2D::pythonSwitch() {
    std::string selection;
    if (getPythonVersionSelection(&selection) < 1)
        selection = kPython279;
    return selection == kPython366 ? "--python36" : "--python27";
}

void DTabProfiles2D::runRow(int index) {
    ProfileRow& r = rows[static_cast<std::size_t>(index)];
    if (!r.safe) {
        message(kLoadFailed);
        return;
    }
    runProfileInRuntime(hwnd(), runtimeFolder, contentFolder, r.folderName);
}

void DTabProfiles2D::uninstallRow(int index) {
    ProfileRow& r = rows[static_cast<std::size_t>(index)];
    if (!r.safe || !deleteFolderInside(contentFolder, r.folderName))
        message(kUninstallFailed);
    detectRow(index);
    refreshRows();
}

// ---------------------------------------------------------------- DTabTemplates

DTabTemplates::DTabTemplates() : DCatalogueTabDialog(IDD_TAB_TEMPLATES, kTemplateTexts, "Templates", "2D") {}

DTabTemplates::~DTabTemplates() = default;

void DTabTemplates::resizeRows(int count) {
    rows.resize(static_cast<std::size_t>(count));
}

int32_t DTabTemplates::detectTemplateState(const std::string& templatesFolder, const std::string& folderName,
                                           const std::string& availableVersion, std::string& installedVersion,
                                           std::string& installedFolder) {
    installedVersion.clear();
    installedFolder.clear();
    std::string pattern;
    if (!hnFormat(pattern, kPathCapacity, "%s%s_*", templatesFolder.c_str(), folderName.c_str()))
        return 1;
    std::string prefix = folderName + "_";
    long long best[4] = {-1, -1, -1, -1};
    WIN32_FIND_DATAA data = {};
    hnScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (find) {
        do {
            std::string name = data.cFileName;
            long long version[4];
            // Only "<folderName>_a.b.c.d": "Blob_Pro_1.0.0.2" is not a "Blob".
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.size() <= prefix.size() ||
                !hnEqualsNoCase(name.substr(0, prefix.size()), prefix) ||
                !parseVersion(name.substr(prefix.size()), true, version))
                continue;
            if (compareVersions(version, best) > 0) {
                std::copy(version, version + 4, best);
                installedFolder = name;
            }
        } while (::FindNextFileA(find.get(), &data));
    }
    if (installedFolder.empty())
        return 1;
    installedVersion = hnFormatText("%lld.%lld.%lld.%lld", best[0], best[1], best[2], best[3]);
    if (hnEqualsNoCase(installedVersion, availableVersion))
        return 0;
    long long installed[4], offered[4];
    if (!parseVersion(installedVersion, false, installed) || !parseVersion(availableVersion, false, offered))
        return 0;
    int order = compareVersions(installed, offered);
    return order < 0 ? 1 : order > 0 ? 2 : 0;
}

void DTabTemplates::detectRow(int index) {
    TemplateRow& r = rows[static_cast<std::size_t>(index)];
    if (!r.safe) {
        r.state = 1;
        r.installedVersion.clear();
        r.installedFolder.clear();
        return;
    }
    r.state = detectTemplateState(contentFolder, r.folderName, r.availableVersion, r.installedVersion,
                                  r.installedFolder);
}

void DTabTemplates::createRowControls(int index, int X, int y, int b) {
    TemplateRow& r = rows[static_cast<std::size_t>(index)];
    createButton(r.uninstallButton, index, OperationUninstall, IDP_REMOVE, "Uninstall",
                 hnRectOf(X, y, X + 24, y + 25), b - 1);
    createLabels(r, hnRectOf(30, y + 5, X - 152, y + 30), hnRectOf(X - 91, y + 5, X - 1, y + 30), r.name);
    createButton(r.installButton, index, OperationInstall, IDP_INSTALL, "Install",
                 hnRectOf(X - 121, y, X - 97, y + 25), b);
    createInfoControls(r, index, y, b + 1);
}

void DTabTemplates::refreshRows() {
    for (TemplateRow& r : rows) {
        std::string label =
            r.state != 0 && !r.installedVersion.empty() ? r.name + " " + r.installedVersion : r.name;
        if (HWND install = hnButtonWindow(r.installButton))
            ::SetWindowTextA(install, "Install");
        if (r.state == 1) {
            hnShowRowControl(hnButtonWindow(r.installButton), true, r.safe);
            hnShowRowControl(hnButtonWindow(r.uninstallButton), false);
        } else {
            hnShowRowControl(hnButtonWindow(r.installButton), true, false);
            hnShowRowControl(hnButtonWindow(r.uninstallButton), true, r.safe);
            if (r.state == 0)
                label = r.name;
        }
        ::SetWindowTextA(r.versionLabel, r.availableVersion.c_str());
        ::SetWindowTextA(r.nameLabel, label.c_str());
        refreshInfo(r);
    }
}

void DTabTemplates::uninstallRow(int index) {
    TemplateRow& r = rows[static_cast<std::size_t>(index)];
    // The folder whose numbers equal the offered version (state 0, whatever
    // its spelling, "_01.0.0.3") or the newer one the row names (state 2).
    // An offered version that is no version names its folder literally.
    std::string folder;
    long long offered[4];
    if (r.state == 2 || (r.state == 0 && parseVersion(r.availableVersion, false, offered)))
        folder = r.installedFolder;
    else if (r.state == 0 && isPlainNameInFolder(contentFolder, r.folderName + "_" + r.availableVersion) &&
             fileExists(contentFolder + r.folderName + "_" + r.availableVersion))
        folder = r.folderName + "_" + r.availableVersion;
    if (!r.safe || folder.empty() || !deleteFolderInside(contentFolder, folder))
        message(kUninstallFailed);
    // Detected again either way: a half-deleted folder never reads installed.
    detectRow(index);
    refreshRows();
}
