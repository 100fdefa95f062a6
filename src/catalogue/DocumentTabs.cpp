#include "catalogue/DocumentTabs.h"

#include <shellapi.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "catalogue/CatalogueSources.h"
#include "catalogue_ids.h"
#include "download/InstallationElement.h"
#include "download/Unzipper.h"

namespace {

const int kMaxTutorialRows = 12;
const int kFirstRowTop = 5;
const int kRowHeight = 26;
const int kFirstControlId = 45001;
const int kIdStep = 7;
const POINT kAnchorInPage = {811, 1};
const int kResourceCell = 64; // a resource picture's square in the grid

const char* const kTutorialList = "774tutorials.ini.txt";
const char* const kResourceList = "774resorces.ini.txt";

const char* const kBadRow =
    "Error: Unable to locate the download path for the selected tutorial. Please try again.";
const char* const kBadUrl =
    "Error: Unable to parse the download path for the selected tutorial. Please try again.";
const char* const kUnexpected = "Error: Unexpected operation. Please try again.";

bool endsWithNoCase(const std::string& text, const char* suffix) {
    std::string tail(suffix);
    return text.size() >= tail.size() && hnEqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

void destroyWindowOf(HWND& window) {
    if (window && ::IsWindow(window))
        ::DestroyWindow(window);
    window = nullptr;
}

HFONT copyFontOf(HWND dialog, LOGFONTA& logFont) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!font || !::GetObjectA(font, sizeof(logFont), &logFont))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    return ::CreateFontIndirectA(&logFont);
}

// The sections of a cached INI list that belong to the tab, in file order.
std::vector<std::string> sectionsOfTab(const std::string& path, const std::string& tabName) {
    std::vector<std::string> names, matching;
    readIniSectionNames(path, names);
    for (const std::string& name : names)
        if (sectionBelongsToTab(name, tabName))
            matching.push_back(name);
    return matching;
}

// The tutorial's profile holds "Orvanto.Opb" and its folder the document.
bool tutorialFilesPresent(const std::string& profilesFolder, const std::string& tutorialsFolder,
                          const std::string& profileName, const std::string& name,
                          const std::string& pdfName) {
    std::string profile, document;
    return hnFormat(profile, kPathCapacity, "%s%s\\Orvanto.Opb", profilesFolder.c_str(),
                    profileName.c_str()) &&
           hnFormat(document, kPathCapacity, "%s%s\\%s", tutorialsFolder.c_str(), name.c_str(),
                    pdfName.c_str()) &&
           fileExists(profile) && fileExists(document);
}

std::string cachedTutorialList() {
    std::string list;
    hnFormat(list, kPathCapacity, "%s\\%s", ::cacheFolder(cache::kTutorials).c_str(), kTutorialList);
    return list;
}

} // namespace

std::vector<hnTutorialState> hnCachedTutorials() {
    std::string list = cachedTutorialList(), profilesFolder = userContentFolder("Profiles"),
                tutorialsFolder = userContentFolder("Tutorials");
    std::vector<std::string> sections;
    std::vector<hnTutorialState> found;
    readIniSectionNames(list, sections);
    for (const std::string& section : sections) {
        hnTutorialState state;
        state.name = readIniValue(list, section, "Name");
        if (state.name.empty())
            state.name = readIniValue(list, section, "Caption");
        state.tab = tabNameOfSection(section);
        bool seen = state.name.empty();
        for (const hnTutorialState& other : found)
            seen = seen || other.name == state.name;
        if (seen)
            continue;
        std::string profileName = readIniValue(list, section, "ProfileName");
        std::string pdfName = readIniValue(list, section, "PDFName");
        // The names checked as the row checks them before any path is made.
        bool plain = !profilesFolder.empty() && !tutorialsFolder.empty() &&
                     isPlainNameInFolder(tutorialsFolder, state.name) &&
                     isPlainNameInFolder(profilesFolder, profileName) && isPlainFileName(pdfName) &&
                     endsWithNoCase(pdfName, ".pdf") &&
                     isPlainNameInFolder(tutorialsFolder + state.name + "\\", pdfName);
        state.installed =
            plain && tutorialFilesPresent(profilesFolder, tutorialsFolder, profileName, state.name, pdfName);
        found.push_back(state);
    }
    return found;
}

// ---------------------------------------------------------------- DTabTutorials

DTabTutorials::DTabTutorials() : kdDTabDialogBase(IDD_TAB_TUTORIALS) {
    tabName = "Getting Started";
    runtimeFolder = registeredRuntimeFolder();
    profilesFolder = userContentFolder("Profiles");
    tutorialsFolder = userContentFolder("Tutorials");
}

DTabTutorials::~DTabTutorials() {
    destroyRows();
}

void DTabTutorials::message(const std::string& text) {
    hnAppBase::current()->prompter().messageBox(hwnd(), text.c_str(), kInstallerCaption, MB_OK);
}

void DTabTutorials::destroyRows() {
    // The tooltip outlives the rows: their tools go with them.
    for (TutorialRow& r : rows) {
        removeToolTip(r.nameLabel);
        destroyWindowOf(r.nameLabel);
        destroyWindowOf(r.statusLabel);
        for (std::unique_ptr<DDynamicButton>* button :
             {&r.installButton, &r.removeButton, &r.runButton, &r.pdfButton, &r.videoButton, &r.infoButton})
            removeToolTip(hnButtonWindow(*button));
        if (r.infoImage)
            removeToolTip(r.infoImage->hwnd());
    }
    rows.clear();
    shownList_.clear();
}

int DTabTutorials::showTab(const std::string& listPath, const std::string& tabName_,
                           const std::string& cacheFolder_, const std::string& category_) {
    (void)listPath; // always the cached tutorial list
    if (!hwnd())
        return -1;
    tabName = tabName_;
    cacheFolder = cacheFolder_;
    category = category_;
    runtimeFolder = registeredRuntimeFolder();
    profilesFolder = userContentFolder("Profiles");
    tutorialsFolder = userContentFolder("Tutorials");
    std::string list = cachedTutorialList();
    std::vector<std::string> sections = sectionsOfTab(list, tabName);
    if (sections.size() > static_cast<std::size_t>(kMaxTutorialRows))
        sections.resize(kMaxTutorialRows);

    // A page activation shows the same rows again as a rule: they keep their
    // controls and only detect their state anew.
    if (rowsShowList(list)) {
        refreshRows();
        return 1;
    }
    RowsBuild build(hwnd());
    destroyRows();
    shownList_ = list;
    shownTab_ = tabName;
    shownFolders_ = profilesFolder + "|" + tutorialsFolder;
    rows.resize(sections.size());
    LOGFONTA logFont = {};
    rowFont.reset(copyFontOf(hwnd(), logFont));
    POINT anchor = kAnchorInPage;
    ::MapWindowPoints(::GetParent(hwnd()), hwnd(), &anchor, 1);
    const int X = anchor.x;
    int y = kFirstRowTop, b = kFirstControlId;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        TutorialRow& r = rows[i];
        const std::string& section = sections[i];
        r.caption = readIniValue(list, section, "Caption");
        r.name = readIniValue(list, section, "Name");
        if (r.name.empty())
            r.name = r.caption;
        r.profileName = readIniValue(list, section, "ProfileName");
        r.profileZip = readIniValue(list, section, "ProfileZIP");
        r.url = readListedAddress(list, section, "URL");
        r.pdfName = readIniValue(list, section, "PDFName");
        r.videoUrl = readIniValue(list, section, "VideoURL");
        r.infoText = readIniValue(list, section, "InfoText");
        r.infoUrl = readIniValue(list, section, "InfoURL");
        // Server values become paths of an elevated program's file operations.
        const std::string own = tutorialsFolder + r.name + "\\";
        const struct {
            const char* what;
            const std::string& name;
            bool plain;
        } names[] = {
            {"tutorial", r.name, isPlainNameInFolder(tutorialsFolder, r.name)},
            {"profile", r.profileName, isPlainNameInFolder(profilesFolder, r.profileName)},
            {"document", r.pdfName,
             isPlainFileName(r.pdfName) && endsWithNoCase(r.pdfName, ".pdf") &&
                 isPlainNameInFolder(own, r.pdfName)},
            {"archive", r.profileZip, isPlainNameInFolder(own, r.profileZip)},
        };
        r.refusedName = nullptr;
        for (const auto& name : names)
            if (!name.plain && !r.refusedName) {
                r.refusedName = name.what;
                r.refusedText = name.name;
            }
        r.safe = !profilesFolder.empty() && !tutorialsFolder.empty() && !r.refusedName;
        if (!r.safe)
            hnDebugOutF("DTabTutorials::showTab - Unsafe names in the list, row '%s' disabled\n",
                        r.caption.c_str());
        r.installed = detectInstalled(r);

        int index = static_cast<int>(i);
        createButton(r.removeButton, index, TutorialRemove, IDP_REMOVE_DISC, "Remove",
                     hnRectOf(X, y, X + 24, y + 25), b - 1);
        createButton(r.videoButton, index, TutorialVideo, IDP_VIDEO, "Video",
                     hnRectOf(X - 25, y, X - 1, y + 25), b);
        createButton(r.pdfButton, index, TutorialPdf, IDP_DOCUMENT, "PDF",
                     hnRectOf(X - 50, y, X - 26, y + 25), b + 1);
        createButton(r.runButton, index, TutorialRun, IDP_RUN, "Run", hnRectOf(X - 75, y, X - 51, y + 25),
                     b + 2);
        createButton(r.installButton, index, TutorialInstall, IDP_INSTALL, "Install",
                     hnRectOf(X - 100, y, X - 76, y + 25), b + 3);
        auto label = [this](const RECT& rect, const std::string& text) {
            HWND control = ::CreateWindowExA(
                0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, rect.left,
                rect.top, rect.right - rect.left, rect.bottom - rect.top, hwnd(), nullptr,
                ::GetModuleHandleA(nullptr), nullptr);
            if (control)
                ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(rowFont.get()), FALSE);
            return control;
        };
        r.statusLabel = label(hnRectOf(X - 171, y + 5, X - 101, y + 30), "Not Installed");
        r.nameLabel = label(hnRectOf(30, y + 5, X - 202, y + 30), r.caption);
        if (r.refusedName)
            explainRefusal(r.nameLabel, r.refusedName, r.refusedText);
        RECT info = hnRectOf(5, y, 29, y + 25);
        createButton(r.infoButton, index, TutorialInfo, IDP_INFO, r.infoText.c_str(), info, b + 4);
        r.infoImage.reset(new hnImageStatic());
        if (r.infoImage->create(hwnd(), b + 5, info)) {
            r.infoImage->setImage(picture(IDP_INFO));
            addToolTip(r.infoImage->hwnd(), r.infoText);
        }
        y += kRowHeight;
        b += kIdStep;
    }
    emptyText = rows.empty() ? "No demo tutorials are available." : "";
    ::ShowWindow(item(IDC_TAB_TEXT), rows.empty() ? SW_SHOW : SW_HIDE);
    refreshRows();
    ::SetDlgItemTextA(hwnd(), IDC_TAB_TEXT, emptyText.c_str());
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    return 1;
}

bool DTabTutorials::rowsShowList(const std::string& list) const {
    if (rows.empty() || list != shownList_ || tabName != shownTab_ ||
        profilesFolder + "|" + tutorialsFolder != shownFolders_)
        return false;
    for (const TutorialRow& r : rows)
        if (!r.nameLabel || !::IsWindow(r.nameLabel) || ::GetParent(r.nameLabel) != hwnd())
            return false;
    return true;
}

bool DTabTutorials::detectInstalled(const TutorialRow& r) const {
    return r.safe && tutorialFilesPresent(profilesFolder, tutorialsFolder, r.profileName, r.name, r.pdfName);
}

int DTabTutorials::rowIndexOf(const std::string& name) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void DTabTutorials::refreshRows() {
    for (TutorialRow& r : rows) {
        r.installed = detectInstalled(r);
        if (r.installed) {
            hnShowRowControl(hnButtonWindow(r.installButton), true, false);
            hnShowRowControl(hnButtonWindow(r.removeButton), true);
            hnShowRowControl(hnButtonWindow(r.runButton), true);
            hnShowRowControl(hnButtonWindow(r.pdfButton), true);
            hnShowRowControl(hnButtonWindow(r.videoButton), true, !r.videoUrl.empty());
        } else {
            hnShowRowControl(hnButtonWindow(r.installButton), true, r.safe);
            hnShowRowControl(hnButtonWindow(r.removeButton), false);
            hnShowRowControl(hnButtonWindow(r.runButton), false);
            hnShowRowControl(hnButtonWindow(r.pdfButton), false);
            hnShowRowControl(hnButtonWindow(r.videoButton), false);
        }
        ::SetWindowTextA(r.statusLabel, r.installed ? "Installed" : "Not Installed");
        HWND image = r.infoImage ? r.infoImage->hwnd() : nullptr;
        hnShowRowControl(hnButtonWindow(r.infoButton), !r.infoUrl.empty());
        hnShowRowControl(image, r.infoUrl.empty() && !r.infoText.empty());
    }
}

void DTabTutorials::runRowMessage(WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(wParam);
    if (index < 0 || index >= rowCount()) {
        message(kBadRow);
        return;
    }
    TutorialRow& r = rows[static_cast<std::size_t>(index)];
    switch (static_cast<int>(lParam)) {
    case TutorialInstall:
        install(r);
        break;
    case TutorialRun:
        if (r.safe)
            runProfileInRuntime(hwnd(), runtimeFolder, profilesFolder, r.profileName);
        else
            message("Unable to load the profile. Unexpected error.");
        break;
    case TutorialRemove:
        remove(r);
        break;
    case TutorialPdf:
        openDocument(r);
        break;
    case TutorialVideo:
        openLink(r.videoUrl, "Unable to access the tutorial video URL. Please try again.");
        break;
    case TutorialInfo:
        openLink(r.infoUrl, "Unable to access the tutorial information URL. Please try again.");
        break;
    default:
        message(kUnexpected);
        break;
    }
}

void DTabTutorials::install(TutorialRow& r) {
    std::string archive, fileName;
    if (!fileNameOfUrl(r.url, fileName) || !isPlainFileName(fileName) || !r.safe) {
        message(kBadUrl);
        return;
    }
    int fetched = fetchRowArchive(hwnd(), r.caption, r.url, cache::kTutorials, "Tutorials", archive);
    if (fetched < 0)
        message(kBadUrl);
    if (fetched == 2)
        message("Error: Unable to extract the tutorial files. Please try again.");
    if (fetched == 1) {
        std::string folder = tutorialsFolder + r.name, profileArchive;
        // The tutorial folder this install makes goes again when either
        // archive fails; the profile archive cleans up its own folder.
        bool existed = fileExists(folder);
        std::string failure, document;
        if (!CUnzipper::ensureFolder(profilesFolder) || !CUnzipper::ensureFolder(tutorialsFolder) ||
            !CUnzipper::ensureFolder(folder + "\\") ||
            !extractArchiveToFolder(archive.c_str(), folder.c_str()))
            failure = "Error: Unable to extract the tutorial files. Please try again.";
        else if (!hnJoinPath(document, folder, r.pdfName) || !fileExists(document))
            failure = hnFormatText("Error: The tutorial archive holds no document '%s'.", r.pdfName.c_str());
        else if (!hnJoinPath(profileArchive, folder, r.profileZip) || !fileExists(profileArchive))
            failure =
                hnFormatText("Error: The tutorial archive holds no profile '%s'.", r.profileZip.c_str());
        else if (!extractArchiveToFolder(profileArchive.c_str(), profilesFolder.c_str(),
                                         profileEntryPrefix(r.profileName).c_str()))
            failure = "Error: Unable to extract the tutorial files 2. Please try again.";
        if (!failure.empty()) {
            if (!existed)
                deleteFolderInside(tutorialsFolder, r.name);
            message(failure);
        }
    }
    refreshRows();
}

void DTabTutorials::remove(TutorialRow& r) {
    // Each delete stays strictly inside its folder; a folder left behind is
    // a failure.
    bool removed = r.safe && deleteFolderInside(profilesFolder, r.profileName) &&
                   deleteFolderInside(tutorialsFolder, r.name);
    if (!removed)
        message("Unable to remove the tutorial. Please try again.");
    refreshRows();
}

void DTabTutorials::openDocument(TutorialRow& r) {
    std::string path;
    INT_PTR result = 0;
    if (r.safe && hnFormat(path, kPathCapacity, "%s%s\\%s", tutorialsFolder.c_str(), r.name.c_str(),
                           r.pdfName.c_str())) {
        result = reinterpret_cast<INT_PTR>(
            ::ShellExecuteA(hwnd(), "open", path.c_str(), nullptr, nullptr, SW_SHOW));
        hnSessionLogF("Program", "opened %s, shell result %d", path.c_str(), static_cast<int>(result));
    }
    if (result <= 32)
        message("Unable to access the tutorial PDF file. Please try again.");
}

void DTabTutorials::openLink(const std::string& link, const char* failure) {
    if (openWebLink(link, hwnd()) <= 32)
        message(failure);
}

// ---------------------------------------------------------------- DTabResources

DTabResources::DTabResources() : hnCatalogueTabDialog(IDD_TAB_RESOURCES) {}

DTabResources::~DTabResources() {
    destroyItems();
}

void DTabResources::destroyItems() {
    for (ResourceItem& i : items) {
        destroyWindowOf(i.bulletLabel);
        destroyWindowOf(i.captionLabel);
    }
    items.clear();
    itemCount = 0;
}

bool DTabResources::onInitDialog() {
    hnCatalogueTabDialog::onInitDialog();
    repaintCount = 0;
    ::SetTimer(hwnd(), kRepaintTimer, 500, nullptr);
    return true;
}

void DTabResources::onTimer(UINT_PTR id) {
    if (id != kRepaintTimer)
        return;
    ::KillTimer(hwnd(), kRepaintTimer);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    if (++repaintCount <= 3)
        ::SetTimer(hwnd(), kRepaintTimer, 500, nullptr);
}

bool DTabResources::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, hyperlinkColour());
        ::SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return true;
    }
    return hnCatalogueTabDialog::onMessage(message, wParam, lParam, result);
}

int DTabResources::showTab(const std::string& listPath, const std::string& tabName_,
                           const std::string& cacheFolder, const std::string& category) {
    (void)listPath;
    (void)cacheFolder;
    (void)category;
    if (!hwnd())
        return -1;
    updateResourcesList(tabName_);
    return 1;
}

HWND DTabResources::label(const char* text, const RECT& rect, DWORD style) {
    HWND control = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style,
                                     rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                     hwnd(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (control)
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(itemFont.get()), FALSE);
    return control;
}

void DTabResources::updateResourcesList(const std::string& tabName_) {
    tabName = tabName_;
    destroyItems();
    std::string folder = ::cacheFolder(cache::kResources), list;
    hnFormat(list, kPathCapacity, "%s\\%s", folder.c_str(), kResourceList);
    for (const std::string& section : sectionsOfTab(list, tabName)) {
        if (static_cast<int>(items.size()) >= kMaxItems) {
            hnDebugOutF(
                "DTabResources::updateResourcesList() - %s. Unable to use all resources from INI file. "
                "List too long.\n",
                tabName.c_str());
            break;
        }
        items.emplace_back();
        ResourceItem& i = items.back();
        i.name = readIniValue(list, section, "Name");
        i.url = readListedAddress(list, section, "URL");
        i.imageUrl = readListedAddress(list, section, "ImageURL");
        std::string column = readIniValue(list, section, "Column");
        i.column = static_cast<int32_t>(std::atoi(column.empty() ? "0" : column.c_str()));
        std::string fileName;
        if (!i.imageUrl.empty() && isDownloadedResource(i.imageUrl) && fileNameOfUrl(i.imageUrl, fileName) &&
            isPlainNameInFolder(folder + "\\", fileName))
            hnJoinPath(i.imagePath, folder, fileName);
    }
    itemCount = static_cast<int>(items.size());

    LOGFONTA logFont = {};
    itemFont.reset(copyFontOf(hwnd(), logFont));
    showsPictures = false;
    for (const ResourceItem& i : items)
        showsPictures = showsPictures || !i.imageUrl.empty();

    if (items.empty()) {
        emptyText = "No demo profiles are available.";
        ::ShowWindow(item(IDC_TAB_TEXT), SW_SHOW);
    } else {
        ::ShowWindow(item(IDC_TAB_TEXT), SW_HIDE);
        emptyText.clear();
    }
    if (showsPictures) {
        for (int k = 0; k < itemCount; ++k) {
            int row = k / 8, column = k % 8;
            if (row >= 3) {
                hnDebugOutF("DTabResources::updateResourcesList() - %s. Unable to display all elements.\n",
                            tabName.c_str());
                break;
            }
            ResourceItem& i = items[static_cast<std::size_t>(k)];
            i.imageButton.reset(new DDynamicButton());
            i.imageButton->owner = hwnd();
            i.imageButton->rowIndex = k;
            i.imageButton->operation = 0;
            int left = 79 * column + 15, top = 110 * row + 10;
            if (i.imageButton->create(hwnd(), 45000 + k,
                                      hnRectOf(left, top, left + kResourceCell, top + kResourceCell))) {
                // The server's picture is fitted into the cell; one that cannot
                // (or may not) be decoded shows the emblem as well.
                if (i.imagePath.empty() || !fileExists(i.imagePath) ||
                    i.imageButton->setImageFromFile(i.imagePath, kResourceCell, kResourceCell) != 1)
                    i.imageButton->setImageFromResource(IDP_EMBLEM);
            }
            i.captionLabel = label(
                i.name.c_str(), hnRectOf(79 * column + 7, 110 * row + 77, 79 * column + 87, 110 * row + 105),
                SS_CENTER);
        }
    } else {
        int y[2] = {20, 20}, shown[2] = {0, 0};
        logFont.lfUnderline = TRUE;
        for (int k = 0; k < itemCount; ++k) {
            ResourceItem& i = items[static_cast<std::size_t>(k)];
            int list_ = i.column == 2 ? 1 : 0;
            if (shown[list_] >= 12) {
                hnDebugOutF(
                    "DTabResources::updateResourcesList() - %s. Unable to display all elements from column "
                    "%d.\n",
                    tabName.c_str(), list_ + 1);
                continue;
            }
            int bullet = list_ ? 318 : 10, left = list_ ? 336 : 28;
            i.bulletLabel = label("=>", hnRectOf(bullet, y[list_], bullet + 15, y[list_] + 15), SS_LEFT);
            i.link.reset(new DDynamicHyperlink());
            i.link->create(i.name.c_str(), WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                           hnRectOf(left, y[list_], left + 275, y[list_] + 15), hwnd(), i.url, logFont,
                           44000 + k + (list_ ? 500 : 0));
            y[list_] += 25;
            ++shown[list_];
        }
    }
    ::SetDlgItemTextA(hwnd(), IDC_TAB_TEXT, emptyText.c_str());
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void DTabResources::runRowMessage(WPARAM index, LPARAM operation) {
    if (operation != 0)
        return;
    if (index >= static_cast<WPARAM>(itemCount)) {
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Error: Unable to locate the link. Please try again.", kInstallerCaption, MB_OK);
        return;
    }
    const ResourceItem& i = items[index];
    int code = 0;
    if (openResourceLink(i.url, i.name, &code, hwnd()) <= 0)
        hnAppBase::current()->prompter().messageBox(
            hwnd(), hnFormatText("Unable to access the link. Error code - %d", code).c_str(),
            kInstallerCaption, MB_OK);
}
