#include "wizard/InstallerSheet.h"

#include <iterator>

#include "python/PythonSelection.h"

#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

#include "download/SelfUpdate.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SessionLog.h"
#include "app/StopBlock.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "catalogue/Documents.h"
#include "catalogue/Hyperlink.h"
#include "wizard/PropertyPageBase.h"
#include "install/CheckInstallations.h"
#include "install/InstallManager.h"
#include "download/StatusWords.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "python/SelectionDefaults.h"
#include "artwork_ids.h"
#include "wizard_ids.h"

const char* const kProductName = "Orvanto Vision Software XV 774";
const char* const kWebHelpAddress = "https://www.orvanto.com/support/vision-software/installer/";
const char* const kHelpFilesServerFolder =
    "/orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware/HelpFiles/";

namespace {

const char* const kHelpFileElementPrefix = "Orvanto Vision Software Help File";

// The web help goes through the resource-link opener: web addresses only,
// documents fetched into the cache first.
int openLinkOrDocument(const std::string& address, const char* linkName, HWND owner, int& code) {
    return openResourceLink(address, linkName ? linkName : "", &code, owner);
}

// The navigation row: text, command and the UI dialog names it jumps to.
struct NavigationButton {
    const char* text;
    int id;
    const char* target;
    const char* alternative;
};
const NavigationButton kNavigation[] = {
    {"Home", ID_NAV_HOME, "Installation Welcome", nullptr},
    {"Core", ID_NAV_CORE, "Core Installation", nullptr},
    {"OTC", ID_NAV_OTC, "OTC - Tool Components", "OTC - Tool Components (Python 36)"},
    {"Demo Profiles", ID_NAV_DEMO_PROFILES, "Demonstration Profiles", "Demonstration Profiles (Python 36)"},
    {"Tutorials", ID_NAV_TUTORIALS, "Tutorials", nullptr},
    {"Camera Drivers", ID_NAV_CAMERA_DRIVERS, "3rd Party Camera Drivers - 1", nullptr},
    {"Utility Software", ID_NAV_UTILITY_SOFTWARE, "Optional Utility Software I", nullptr},
};
const int kNavigationLeft[] = {10, 99, 188, 277, 366, 455, 544};

// The pictures on the buttons of most pages.
const UINT kCommonPictures[] = {IDP_INSTALL, IDP_REMOVE, IDP_DOWNLOAD, IDP_REFRESH, IDP_REFRESH_SMALL,
                                IDP_INFO, IDP_FOLDER, IDP_RUN};
const int kNavigationWidth = 85;

// UI dialog names that have a help document, in the order of the elements.
const char* const kHelpDocumentPages[] = {"Installation Welcome",
                                          "Resources",
                                          "Readme Notes",
                                          "Prerequisite Installation",
                                          "Core Installation",
                                          "Recommended Extensions",
                                          "Toolbox - Deepform Vision",
                                          "Optional Extensions",
                                          "OTC - Tool Components",
                                          "Installation Complete",
                                          "Import Orvanto Profiles",
                                          "Demonstration Profiles",
                                          "Tutorials",
                                          "Image Processing Options",
                                          "Modules",
                                          "3rd Party Camera Drivers - 1",
                                          "3rd Party Camera Drivers - 2",
                                          "3rd Party IO Drivers",
                                          "Optional Utility Software I",
                                          "Optional Utility Software II",
                                          "Halvenor Utilities"};

struct TitleOfName {
    const char* uiDlgName;
    const char* title;
};
const TitleOfName kTitles[] = {
    {"Kadrix SDK Installation Welcome", "Installation Welcome"},
    {"Resources", "Orvanto Vision Resources"},
    {"Kadrix SDK Readme Notes", "Readme Notes"},
    {"Kadrix SDK Core Installation", "Core Installation"},
    {"Recommended Extensions", "Recommended Orvanto Extensions"},
    {"Optional Extensions", "Optional Orvanto Extensions"},
    {"Kadrix SDK Installation Complete", "Installation Complete"},
    {"Kadrix SDK Tutorials", "Orvanto Kadrix SDK Tutorials"},
    {"Image Processing Options", "Orvanto Image Processing Options"},
    {"Toolbox - Deepform Vision", "Orvanto 3D Toolbox - Deepform Vision"},
    {"OTC - Tool Components", "OTC - Orvanto Tool Components"},
    {"Demonstration Profiles", "Machine Vision Demonstration Profiles"},
    {"Tutorials", "Orvanto Vision Tutorials"},
    {"Modules", "Orvanto Modules"},
};

} // namespace

std::string kdDKadrixSDKInstallerSheet::pageTitleOf(const char* pageName) {
    return hnFormatText("%s - %s", kInstallerCaption, pageName);
}

kdDSheetHooks defaultSheetHooks() {
    kdDSheetHooks hooks;
    hooks.getPythonVersionSelection = [](std::string& selection) {
        return getPythonVersionSelection(&selection);
    };
    hooks.setPythonVersionSelection = [](const std::string& selection) {
        return setPythonVersionSelection(selection.c_str());
    };
    hooks.ifRequiredSetSelectionForPy27Extensions = ifRequiredSetSelectionForPy27Extensions;
    hooks.ifRequiredSetSelectionForPy36Extensions = ifRequiredSetSelectionForPy36Extensions;
    hooks.python27Upkeep = [] { hnPyhton27InstallFunctions::reapplyPython27Selections(); };
    hooks.python36Upkeep = [] { hnPyhton36InstallFunctions::reapplyPython36Selections(); };
    hooks.checkUpgradeChannel = [](CUpgradeInfo& info, hnUpgradeCheckControl& control) {
        return fetchUpgradeInfo(info, &control) == 1;
    };
    hooks.showHelpDocument = showHelpDocument;
    hooks.openResourceLink = openLinkOrDocument;
    return hooks;
}

struct kdDKadrixSDKInstallerSheet::UpgradeCheck {
    hnUpgradeCheckControl control;
    std::function<bool(CUpgradeInfo&, hnUpgradeCheckControl&)> check;
    HWND target = nullptr;
};

kdDKadrixSDKInstallerSheet::kdDKadrixSDKInstallerSheet(std::unique_ptr<kdDSheetPages> pages,
                                                       const kdDSheetHooks& hooks)
    : hnPropertySheet(kInstallerCaption), pages_(std::move(pages)), hooks_(hooks) {
    comStarted_ = SUCCEEDED(::CoInitialize(nullptr));
    upgradeCheckThread = nullptr;
    extensionsOnlyMode = false;

    std::vector<kdDPropertyPageBase*> head = pages_->head();
    for (kdDPropertyPageBase* page : head)
        addPage(page);
    // The first page's pictures are decoded while the window is made, then
    // those of most pages' buttons.
    std::vector<UINT> prefetched;
    if (!head.empty() && head.front())
        prefetched = head.front()->picturesShownAtOnce();
    prefetched.insert(prefetched.end(), std::begin(kCommonPictures), std::end(kCommonPictures));
    pictures.prefetch(prefetched);
    building_ = !pages_->complete();
    if (!building_)
        listLaterPages();
}

void kdDKadrixSDKInstallerSheet::listLaterPages() {
    laterPagesListed_ = true;
    // The head pages built since the sheet was made follow the welcome page,
    // before any page of the Python-dependent part.
    for (kdDPropertyPageBase* page : pages_->head())
        if (pageIndex(page) < 0)
            addPage(page);
    initPages();
}

bool kdDKadrixSDKInstallerSheet::stepAfterFirstPaint() {
    if (!building_)
        return false;
    if (pages_->buildNext())
        return true;
    if (!laterPagesListed_) {
        listLaterPages();
        return true;
    }
    // The pictures of most pages' buttons, one a step, so that no page's
    // first activation decodes them.
    if (picturesDecoded_ < std::size(kCommonPictures)) {
        pictures.resource(kCommonPictures[picturesDecoded_++]);
        return true;
    }
    // The first page does its set-up now, and the upgrade check starts.
    building_ = false;
    reactivateCurrentPage();
    startUpgradeCheck();
    return true;
}

void kdDKadrixSDKInstallerSheet::finishBuilding() {
    while (stepAfterFirstPaint()) {
    }
}

kdDPropertyPageBase* kdDKadrixSDKInstallerSheet::lastHeadPage() const {
    std::vector<kdDPropertyPageBase*> head = pages_->head();
    return head.empty() ? nullptr : head.back();
}

void kdDKadrixSDKInstallerSheet::initPages() {
    std::string selection;
    if (!hooks_.getPythonVersionSelection || hooks_.getPythonVersionSelection(selection) < 1) {
        selection = kPython279;
        if (hooks_.setPythonVersionSelection)
            hooks_.setPythonVersionSelection(selection);
    }
    if (selection == kPython366) {
        updateWizardPagesForPythonVersion(1);
        if (hooks_.ifRequiredSetSelectionForPy36Extensions)
            hooks_.ifRequiredSetSelectionForPy36Extensions();
        if (hooks_.python36Upkeep)
            hooks_.python36Upkeep();
    } else {
        if (selection != kPython279 && selection != kPython2713)
            hnDebugOut("kdDKadrixSDKInstallerSheet::initPages - Unknown Python version selection\n");
        updateWizardPagesForPythonVersion(0);
        if (hooks_.ifRequiredSetSelectionForPy27Extensions)
            hooks_.ifRequiredSetSelectionForPy27Extensions();
        if (hooks_.python27Upkeep)
            hooks_.python27Upkeep();
    }

    helpManager.reset(new hnInstallManagerBase());
    std::vector<std::unique_ptr<hnInstallationElement>> built = createHelpElements(helpRowTexts);
    std::vector<hnInstallationElement*> elements;
    for (auto& element : built)
        elements.push_back(element.get());
    helpManager->clearElements();
    helpManager->setElements(static_cast<unsigned>(elements.size()), elements.data());
}

kdDKadrixSDKInstallerSheet::~kdDKadrixSDKInstallerSheet() {
    stopUpgradeCheck();
    destroy(); // page windows go before the page objects
    navFont.reset();
    helpManager.reset();
    if (comStarted_)
        ::CoUninitialize();
}

std::vector<std::unique_ptr<hnInstallationElement>>
kdDKadrixSDKInstallerSheet::createHelpElements(std::string* rowTexts) {
    std::vector<std::unique_ptr<hnInstallationElement>> built;
    for (const char* name : kHelpDocumentPages)
        built.push_back(helpElement(name, rowTexts));
    return built;
}

std::unique_ptr<hnInstallationElement>
kdDKadrixSDKInstallerSheet::createHelpElement(const std::string& uiDlgName) {
    return helpElement(uiDlgName, helpRowTexts);
}

std::unique_ptr<hnInstallationElement> kdDKadrixSDKInstallerSheet::helpElement(const std::string& uiDlgName,
                                                                               std::string* rowTexts) {
    std::string title;
    if (getUIDlgTitleStrFromUIDlgName(uiDlgName.c_str(), &title) < 1)
        title = uiDlgName;
    std::string name = hnFormatText("%s - %s", kHelpFileElementPrefix, title.c_str());
    std::string fileName = hnFormatText("%sHelp - %s.rtf", "774", uiDlgName.c_str());
    std::string url = installerServices()->repositoryBaseUrl() + kHelpFilesServerFolder + fileName;
    std::string folder = cacheFolder(cache::kHelp);
    return std::unique_ptr<hnInstallationElement>(new hnInstallationElement(
        name.c_str(), url.c_str(), fileName.c_str(), "", folder.c_str(), false, 0, true, &rowTexts[0],
        &rowTexts[1], &rowTexts[2], kCategoryHelpFiles));
}

int kdDKadrixSDKInstallerSheet::getUIDlgTitleStrFromUIDlgName(const char* uiDlgName, std::string* title) {
    if (!title) {
        hnDebugOut("kdDKadrixSDKInstallerSheet::getUIDlgTitleStrFromUIDlgName - NULL pointer 2\n");
        return -2;
    }
    std::string name = uiDlgName ? uiDlgName : "";
    for (const TitleOfName& entry : kTitles)
        if (name == entry.uiDlgName) {
            *title = entry.title;
            return 1;
        }
    *title = name;
    return 1;
}

bool kdDKadrixSDKInstallerSheet::getInstalledRuntimeFolder(std::string& folder) {
    return hnCheckInstallations::getInstalledRuntimeFolder(folder);
}

kdDPropertyPageBase* kdDKadrixSDKInstallerSheet::pageBase(int index) const {
    return dynamic_cast<kdDPropertyPageBase*>(page(index));
}

std::vector<kdDPropertyPageBase*> kdDKadrixSDKInstallerSheet::allPageObjects() const {
    return pages_->all();
}

int kdDKadrixSDKInstallerSheet::collectAllInstallationElements(hnInstallManagerBase& into) {
    finishBuilding();
    std::vector<hnInstallationElement*> all;
    auto append = [&all](const hnInstallManagerBase* manager) {
        for (unsigned i = 0; manager && i < manager->count(); ++i)
            all.push_back(manager->item(i));
    };
    for (kdDPropertyPageBase* page : allPageObjects()) {
        if (!page || page->installManager.get() == &into)
            continue;
        if (!page->elementsInitialised) {
            page->initInstallationElements();
            page->elementsInitialised = true;
        }
        append(page->installManager.get());
    }
    append(helpManager.get());
    for (hnInstallManagerBase* extra : pages_->extraManagers())
        append(extra);
    into.clearElements();
    into.setElements(static_cast<unsigned>(all.size()), all.data());
    return static_cast<int>(all.size());
}

// ---------------------------------------------------------------- page list

int kdDKadrixSDKInstallerSheet::removeAllPagesAfterPage(hnPropertyPage* stop) {
    if (!stop) {
        hnDebugOut("kdDKadrixSDKInstallerSheet::removeAllPagesAfterPage - NULL pointer 1\n");
        return -1;
    }
    for (int index = pageCount() - 1; index >= 0; --index) {
        if (page(index) == stop)
            break;
        removePage(index);
    }
    return 1;
}

int kdDKadrixSDKInstallerSheet::updateWizardPagesForPythonVersion(int version) {
    if (version != 0 && version != 1)
        hnDebugOut("kdDKadrixSDKInstallerSheet::updateWizardPagesForPythonVersion - unexpected case 3\n");
    std::vector<kdDPropertyPageBase*> tail = pages_->tail(version == 1 ? 1 : 0);

    // The prerequisites page tells the version at every activation: a list
    // that is already right stays, so that no page is taken out of the sheet
    // in the middle of a page change.
    int head = pageIndex(lastHeadPage());
    bool same = head >= 0 && pageCount() == head + 1 + static_cast<int>(tail.size());
    for (std::size_t i = 0; same && i < tail.size(); ++i)
        same = page(head + 1 + static_cast<int>(i)) == tail[i];
    if (same)
        return 1;

    removeAllPagesAfterPage(lastHeadPage());
    for (hnPropertyPage* next : tail)
        addPage(next);
    return 1;
}

bool kdDKadrixSDKInstallerSheet::passesOver(int index) const {
    kdDPropertyPageBase* candidate = pageBase(index);
    if (!candidate)
        return false;
    return candidate->isPageSkipped() || (extensionsOnlyMode && candidate->isHiddenInExtensionsOnlyMode());
}

int kdDKadrixSDKInstallerSheet::gotoPreviousPage() {
    finishBuilding();
    for (int index = activeIndex() - 1; index >= 0; --index) {
        hnInstallManagerBase::hnDetectOnce once(managerOf(index));
        if (!passesOver(index))
            return setActivePage(index) ? index : -1;
    }
    return -1;
}

int kdDKadrixSDKInstallerSheet::gotoNextPage() {
    finishBuilding();
    int active = activeIndex();
    if (active < 0)
        return -1;
    for (int index = active + 1; index < pageCount(); ++index) {
        // The skip test and the activation that follows detect the rows once.
        hnInstallManagerBase::hnDetectOnce once(managerOf(index));
        if (!passesOver(index))
            return setActivePage(index) ? index : -1;
    }
    return -1;
}

hnInstallManagerBase* kdDKadrixSDKInstallerSheet::managerOf(int index) const {
    kdDPropertyPageBase* candidate = pageBase(index);
    return candidate ? candidate->installManager.get() : nullptr;
}

bool kdDKadrixSDKInstallerSheet::navigateTo(const char* uiDlgName, const char* alternative) {
    finishBuilding();
    for (int index = 0; index < pageCount(); ++index) {
        kdDPropertyPageBase* candidate = pageBase(index);
        if (candidate &&
            (candidate->uiDlgName == uiDlgName || (alternative && candidate->uiDlgName == alternative)))
            return setActivePage(index);
    }
    return false;
}

// ---------------------------------------------------------------- window

bool kdDKadrixSDKInstallerSheet::onInitSheet() {
    bool result = hnPropertySheet::onInitSheet();
    if (hnAppBase* app = hnAppBase::current())
        app->setMainWindow(hwnd());

    LOGFONTA logFont = {};
    HFONT sheetFont = reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    if (sheetFont && ::GetObjectA(sheetFont, sizeof(logFont), &logFont)) {
        navFont.reset(::CreateFontIndirectA(&logFont));
        // The row's widths are fixed; where the system draws the dialog font
        // wider than they allow, the labels get a slightly smaller copy.
        for (int step = 0; step < 4 && navFont && !navigationLabelsFit(navFont.get()); ++step) {
            logFont.lfHeight += logFont.lfHeight < 0 ? 1 : -1;
            navFont.reset(::CreateFontIndirectA(&logFont));
        }
    }

    RECT window;
    ::GetWindowRect(hwnd(), &window);
    ::SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, window.bottom - window.top + 20,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {0x3023, 0x3024, IDCANCEL, IDOK, IDHELP}) {
        HWND button = ::GetDlgItem(hwnd(), id);
        if (!button)
            continue;
        RECT r;
        ::GetWindowRect(button, &r);
        ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        ::SetWindowPos(button, nullptr, r.left, r.top + 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    createNavigationButtons();

    if (!building_)
        startUpgradeCheck();
    return result;
}

void kdDKadrixSDKInstallerSheet::startUpgradeCheck() {
    if (!hwnd() || upgradeCheckThread)
        return;
    upgradeCheck_ = std::make_shared<UpgradeCheck>();
    upgradeCheck_->check = hooks_.checkUpgradeChannel;
    upgradeCheck_->target = hwnd();
    auto* share = new std::shared_ptr<UpgradeCheck>(upgradeCheck_);
    upgradeCheckThread = ::CreateThread(nullptr, 0, upgradeCheckWorker, share, 0, nullptr);
    if (!upgradeCheckThread)
        delete share;
}

bool kdDKadrixSDKInstallerSheet::navigationLabelsFit(HFONT font) const {
    HDC dc = ::GetDC(hwnd());
    HGDIOBJ old = ::SelectObject(dc, font);
    bool fit = true;
    for (const NavigationButton& button : kNavigation) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, button.text, lstrlenA(button.text), &size);
        fit = fit && size.cx <= kNavigationWidth - 8; // room for the button's edges
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd(), dc);
    return fit;
}

void kdDKadrixSDKInstallerSheet::createNavigationButtons() {
    auto childRect = [this](int id, RECT& r) {
        HWND control = ::GetDlgItem(hwnd(), id);
        if (!control)
            return false;
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return true;
    };
    auto makeButton = [this](const char* text, int id, int x, int y, int w, int h) {
        HWND button = ::CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                        x, y, w, h, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                        ::GetModuleHandleA(nullptr), nullptr);
        if (button && navFont)
            ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(navFont.get()), FALSE);
        return button;
    };
    RECT back;
    if (childRect(0x3023, back)) {
        int top = back.top - 33, bottom = back.top - 10;
        for (int i = 0; i < 7; ++i)
            navButtons[i] = makeButton(kNavigation[i].text, kNavigation[i].id, kNavigationLeft[i], top,
                                       kNavigationWidth, bottom - top);
    }
    RECT help;
    if (childRect(IDHELP, help)) {
        int height = help.bottom - help.top;
        navButtons[7] = makeButton("Web Help", ID_NAV_WEB_HELP, help.left, help.top - 4 - height,
                                   help.right - help.left, height);
    }
}

bool kdDKadrixSDKInstallerSheet::onCommand(WORD id, WORD code, HWND control) {
    if (code != BN_CLICKED)
        return hnPropertySheet::onCommand(id, code, control);
    if (id == ID_NAV_WEB_HELP) {
        openWebHelp();
        return true;
    }
    for (const NavigationButton& button : kNavigation)
        if (id == button.id) {
            navigateTo(button.target, button.alternative);
            return true;
        }
    return hnPropertySheet::onCommand(id, code, control);
}

bool kdDKadrixSDKInstallerSheet::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kMsgInstallPendingInstaller) {
        result = installPendingInstaller();
        return true;
    }
    if (message == kMsgReactivateCurrentPage && wParam == kReactivateParameter) {
        result = reactivateCurrentPage();
        return true;
    }
    return hnPropertySheet::onMessage(message, wParam, lParam, result);
}

void kdDKadrixSDKInstallerSheet::onSheetDestroy() {
    stopUpgradeCheck();
    if (hnAppBase* app = hnAppBase::current())
        if (app->mainWindow() == hwnd())
            app->setMainWindow(nullptr);
}

// ---------------------------------------------------------------- upgrade check

DWORD WINAPI kdDKadrixSDKInstallerSheet::upgradeCheckWorker(LPVOID parameter) {
    // The worker's own share: it touches nothing of the sheet, which may be
    // gone before a hanging request returns.
    std::unique_ptr<std::shared_ptr<UpgradeCheck>> share(
        static_cast<std::shared_ptr<UpgradeCheck>*>(parameter));
    UpgradeCheck& check = **share;
    try {
        hnInstallerServices* app = installerServices();
        for (CUpgradeInfo* info : {app->upgradeRecord(false), app->upgradeRecord(true)}) {
            if (!info || !check.check || check.control.stopRequested())
                break;
            // Posted, not sent: the sheet may be waiting for this thread.
            if (check.check(*info, check.control) && !check.control.stopRequested())
                ::PostMessageA(check.target, kMsgReactivateCurrentPage, kReactivateParameter, 0);
        }
    } catch (...) {
    }
    return 0;
}

void kdDKadrixSDKInstallerSheet::stopUpgradeCheck() {
    if (!upgradeCheckThread)
        return;
    // The stop closes its internet handles: a hanging request returns now,
    // or later by itself; the worker is never killed.
    hnStopOrLeaveWorker(upgradeCheckThread, upgradeCheck_->control,
                        "kdDKadrixSDKInstallerSheet::stopUpgradeCheck", kWorkerWaitMs);
    ::CloseHandle(upgradeCheckThread);
    upgradeCheckThread = nullptr;
    upgradeCheck_.reset();
}

int kdDKadrixSDKInstallerSheet::reactivateCurrentPage() {
    int active = activeIndex();
    if (active >= 0)
        setActivePage(active);
    return 1;
}

// ---------------------------------------------------------------- hand-over, help

int kdDKadrixSDKInstallerSheet::installPendingInstaller() {
    hnInstallerServices* services = installerServices();
    std::string destination;
    const std::string& source = services->pendingInstallerPath();
    if (!hnFormat(destination, kPathCapacity, "%s\\%s", services->applicationFolder().c_str(),
                  services->pendingInstallerFileName().c_str()) ||
        !::MoveFileExA(source.c_str(), destination.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH | MOVEFILE_COPY_ALLOWED)) {
        hnSessionLogF("Self-update", "could not move %s to %s (%lu)", source.c_str(), destination.c_str(),
                      ::GetLastError());
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Error: Unable to copy the selected installer file. Please try again.", kInstallerCaption,
            MB_OK);
        return 0;
    }
    hnSessionLogF("Self-update", "moved %s to %s", source.c_str(), destination.c_str());
    launchInstallerFile(destination, hwnd());
    return 1;
}

int kdDKadrixSDKInstallerSheet::launchInstallerFile(const std::string& path, HWND owner) {
    hnAppBase* app = hnAppBase::current();
    if (!fileExists(path)) {
        app->prompter().messageBox(owner,
                                   "Error: Unable to locate the selected installer file. Please try again.",
                                   kInstallerCaption, MB_OK);
        return -1;
    }
    INT_PTR shell = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(owner, "open", path.c_str(), "", applicationFolder().c_str(), SW_SHOWNORMAL));
    hnSessionLogF("Program", "opened %s, shell result %d", path.c_str(), static_cast<int>(shell));
    if (shell > 32) {
        ::PostMessageA(app->mainWindow(), WM_CLOSE, 0, 0); // the new installer takes over
        return 1;
    }
    app->prompter().messageBox(
        owner,
        hnFormatText("Unable to launch the selected installer. Error code - %d", static_cast<int>(shell))
            .c_str(),
        kInstallerCaption, MB_OK);
    return -1;
}

void kdDKadrixSDKInstallerSheet::showPageHelp() {
    // A modal window of the sheet disables it.
    if (helpShowing_ || !hwnd() || !::IsWindowEnabled(hwnd()))
        return;
    kdDPropertyPageBase* active = pageBase(activeIndex());
    if (!active)
        return;
    std::unique_ptr<hnInstallationElement> element = createHelpElement(active->uiDlgName);
    if (!hooks_.showHelpDocument)
        return;
    helpShowing_ = true;
    try {
        hooks_.showHelpDocument(*element, hwnd());
    } catch (...) {
        helpShowing_ = false;
        throw;
    }
    helpShowing_ = false;
}

int kdDKadrixSDKInstallerSheet::openWebHelp() {
    int code = 0;
    int result =
        hooks_.openResourceLink ? hooks_.openResourceLink(kWebHelpAddress, "Web Help", hwnd(), code) : 0;
    if (result <= 0)
        hnAppBase::current()->prompter().messageBox(
            hwnd(), hnFormatText("Unable to access web help. Error code - %d", code).c_str(),
            kInstallerCaption, MB_OK);
    return result;
}
