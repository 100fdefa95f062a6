#include "pages/WelcomePage.h"

#include <shellapi.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/FileVersion.h"
#include "app/InstallerServices.h"
#include "app/PleaseWaitDlg.h"
#include "app/ScopedHandle.h"
#include "app/SessionLog.h"
#include "app/WorkerWait.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "download/DownloadEngine.h"
#include "download/InstallationElement.h"
#include "download/UpgradeInfo.h"
#include "install/FetchFirst.h"
#include "install/SelfUpdateOffer.h"
#include "pages/CoreComponentsPage.h"
#include "pages/DemoProfilesPage.h"
#include "pages/Py36DemoProfilesPage.h"
#include "pages/Py36TemplatesPage.h"
#include "pages/ResourcesPage.h"
#include "pages/TemplatesPage.h"
#include "pages/ToolboxDeepformVisionPage.h"
#include "pages/ToolboxPy36DeepformVisionPage.h"
#include "pages/TutorialsPage.h"
#include "pages_ids.h"
#include "wizard/InstallerSheet.h"

namespace {

const char* const kCurrentlyUsedVersion = "Currently used version";
const char* const kInstallersFolder = "_OrvantoInstallers";

// The content a copy gathers through the pages' own element builders, each
// with a page object made for the purpose (no window); `visit` gets each
// item's elements while the page that owns their texts exists. The results:
// below 0 nothing was built, otherwise what `visit` answered.
template <typename Page>
int visitCatalogueContent(const char* group, const std::string&, const hnCopyContentVisit& visit) {
    Page page("");
    hnInstallManagerBase manager;
    if (page.refreshCatalogue(false, false) < 1 || page.buildContentElements(&manager) < 1)
        return -1;
    return visit(group, manager);
}

// The resources: the list file first (fetched when the cache lacks it), then
// the pictures that it names.
int visitResourcesContent(const char* group, const std::string&, const hnCopyContentVisit& visit) {
    kdDInstallOrvantoResourcesDynamic page("");
    if (page.installManager->count() > 0 && visit(group, *page.installManager) < 1)
        return 0;
    hnInstallManagerBase manager;
    if (page.buildContentElements(&manager) < 1)
        return -1;
    return visit(group, manager);
}

// One content list of a toolbox page (its element named `item`), whose file
// the copy has fetched with the page's other elements.
template <typename Page>
int visitToolboxContent(const char* group, const std::string& item, const hnCopyContentVisit& visit) {
    Page page("");
    for (unsigned i = 0; i < page.installManager->count(); ++i) {
        if (page.installManager->item(i)->name != item)
            continue;
        hnInstallManagerBase manager;
        if (page.buildContentElements(static_cast<int>(i), &manager) < 1)
            return -1;
        return visit(group, manager);
    }
    return -1;
}

template <typename Page> std::vector<std::string> toolboxContentItems() {
    return Page("").contentListNames();
}

struct CopyContentRow {
    const char* group;
    const char* item;                    // the one item; nullptr: those of `items`
    std::vector<std::string> (*items)(); // the items of a page with several
    int (*visit)(const char* group, const std::string& item, const hnCopyContentVisit& visit);
    bool resultIgnored;
};
const CopyContentRow kCopyContentRows[] = {
    {"Demo Profiles", "Orvanto Vision Demo Profiles", nullptr, visitCatalogueContent<kdDInstallDemoProfiles>,
     false},
    {"Demo Profiles (Python 36)", "Orvanto Vision Demo Profiles (Python 36)", nullptr,
     visitCatalogueContent<kdDInstallPy36DemoProfiles>, false},
    {"Templates", "Orvanto Vision Templates", nullptr, visitCatalogueContent<kdDInstallTemplates>, false},
    {"Templates (Python 36)", "Orvanto Vision Templates (Python 36)", nullptr,
     visitCatalogueContent<kdDInstallPy36Templates>, false},
    {"3D Toolbox Deepform Vision", nullptr, toolboxContentItems<kdDInstallToolboxeDeepformVision>,
     visitToolboxContent<kdDInstallToolboxeDeepformVision>, false},
    {"3D Toolbox Deepform Vision (Python 36)", nullptr,
     toolboxContentItems<kdDInstallToolboxePy36DeepformVision>,
     visitToolboxContent<kdDInstallToolboxePy36DeepformVision>, false},
    {"Resources", "Orvanto Vision Resources", nullptr, visitResourcesContent, false},
    {"Tutorials", "Orvanto Vision Tutorials", nullptr, visitCatalogueContent<kdDInstallTutorials>, true},
};

bool beginsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::string(prefix).size(), prefix) == 0;
}

// A file of the installer family by its name: "OrvantoVisionSoftware" at the
// start and "Installer" in it (both case-sensitive).
bool isFamilyInstallerName(const std::string& name) {
    return beginsWith(name, "OrvantoVisionSoftware") && name.find("Installer") != std::string::npos;
}

std::string withBackslashes(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string listEntryOf(const KeptInstaller& installer) {
    return installer.privateBuild.empty()
               ? installer.version
               : hnFormatText("%s (%s)", installer.version.c_str(), installer.privateBuild.c_str());
}

// For its lifetime the sheet's buttons and the page's controls that were
// enabled are disabled; exactly those are enabled again at the end.
class InputPause {
public:
    InputPause(HWND sheet, HWND page) {
        pause(sheet, true);
        pause(page, false);
    }
    ~InputPause() {
        for (HWND window : disabled_)
            if (::IsWindow(window))
                ::EnableWindow(window, TRUE);
    }
    InputPause(const InputPause&) = delete;
    InputPause& operator=(const InputPause&) = delete;

private:
    void pause(HWND parent, bool buttonsOnly) {
        for (HWND child = parent ? ::GetWindow(parent, GW_CHILD) : nullptr; child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            char className[16] = {};
            ::GetClassNameA(child, className, sizeof(className));
            if ((buttonsOnly && !hnEqualsNoCase(className, "Button")) || !::IsWindowEnabled(child))
                continue;
            ::EnableWindow(child, FALSE);
            disabled_.push_back(child);
        }
    }
    std::vector<HWND> disabled_;
};

} // namespace

std::vector<KeptInstaller> findKeptInstallers(const std::string& folder) {
    std::vector<KeptInstaller> found;
    std::string running = withBackslashes(runningExecutablePath());
    WIN32_FIND_DATAA data = {};
    hnScopedFind find(::FindFirstFileA((folder + "\\*.exe").c_str(), &data));
    if (!find)
        return found;
    do {
        std::string name = data.cFileName;
        KeptInstaller installer;
        installer.path = withBackslashes(folder + "\\" + name);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !isFamilyInstallerName(name) ||
            hnEqualsNoCase(installer.path, running) || isRunningExecutableName(name))
            continue;
        if (readFileVersionAndPrivateBuild(installer.path, installer.version, installer.privateBuild) < 1)
            continue;
        found.push_back(installer);
    } while (::FindNextFileA(find.get(), &data));
    return found;
}

kdDInstallWelcomeBase::kdDInstallWelcomeBase(const std::string& title)
    : kdDPropertyPageBase(IDD_WELCOME, title, hnFormatText("Welcome to %s System Management", kProductName)),
      copyManager(new hnInstallManagerBase) {
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
    bindText(IDC_WELCOME_HIDDEN, &hiddenText);
    releaseLink.isReleaseChannel = true;
    betaLink.isReleaseChannel = false;
    releaseLink.offerUpgrade = betaLink.offerUpgrade = [](CUpgradeInfo& info) { return offerUpgrade(info); };
    launchInstaller = [this](const std::string& path) {
        auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet());
        return wizard ? wizard->launchInstallerFile(path, hwnd()) : -1;
    };
    selectComponents = [this](hnInstallerComponentTree& tree) {
        return hnAppBase::current()->prompter().question(
            IDD_SELECT_INSTALLER_COMPONENTS, hwnd(), "Please select the installer components to copy",
            [&tree](HWND owner) { return DSelectInstallerComponents(tree).doModal(owner); });
    };
}

kdDInstallWelcomeBase::~kdDInstallWelcomeBase() = default;

// ---------------------------------------------------------------- window

std::vector<UINT> kdDInstallWelcomeBase::picturesShownAtOnce() const {
    // In the order the window is made: its buttons, then the channels' buttons.
    return {IDP_FOLDER, IDP_DELETE, IDP_DOWNLOAD_ARROW, IDP_INSTALL_ALL, IDP_INFO, IDP_BETA};
}

int kdDInstallWelcomeBase::setupControls() {
    setupImageButton(browseButton, IDC_WELCOME_BROWSE_INSTALLERS, IDP_FOLDER, "Browse Installer Files", 835);
    setupImageButton(deleteButton, IDC_WELCOME_DELETE_COPY, IDP_DELETE, "Delete Copy", 801);
    setupImageButton(copyButton, IDC_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD_ARROW, "Create Installer Copy", 767);
    setupImageButton(quickUpdateButton, IDC_WELCOME_QUICK_UPDATE, IDP_INSTALL_ALL,
                     "Core Components - Quick Update");
    endStatusAreaBefore(767);
    return 1;
}

bool kdDInstallWelcomeBase::onInitDialog() {
    bool result = kdDPropertyPageBase::onInitDialog();
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (dpi != 96)
        hnAppBase::current()->prompter().messageBox(
            hwnd(),
            hnFormatText(
                "Display settings on this computer are not compliant with the '%s' requirements.\n\nThe "
                "installer user interface may look cropped.\n\n\nPlease reset the display settings "
                "from the 'Control Panel -> Display' console.\nRequired settings for Windows XP : 'DPI "
                "settings' should be set to 'Normal size (96 DPI)'.\nRequired settings for Windows 7 : "
                "Display 'size'/scale should be set to '100%%'.",
                kInstallerCaption)
                .c_str(),
            "Warning", MB_OK);
    return result;
}

void kdDInstallWelcomeBase::createUpgradeLinks() {
    RECT list = {100, 50, 300, 80};
    if (HWND combo = item(IDC_WELCOME_VERSION_LIST)) {
        ::GetWindowRect(combo, &list);
        ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    }
    int top = list.top - 40;
    int anchor = list.right + 50;
    LOGFONTA font = {};
    HFONT pageFontHandle = reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    ::GetObjectA(pageFontHandle ? static_cast<HGDIOBJ>(pageFontHandle) : ::GetStockObject(DEFAULT_GUI_FONT),
                 sizeof(font), &font);

    struct Channel {
        DDynamicButton& button;
        DDynamicHyperlinkNewVersionAvailable& link;
        UINT image;
        const char* text;
        int buttonId, linkId, buttonTop, linkTop;
        int operation;
    } channels[] = {
        {releaseInfoButton, releaseLink, IDP_INFO, "Release Installer Version Available",
         IDC_WELCOME_RELEASE_INFO, IDC_WELCOME_RELEASE_LINK, top + 20, top + 25, 0},
        {betaInfoButton, betaLink, IDP_BETA, "Beta Installer Version Available", IDC_WELCOME_BETA_INFO,
         IDC_WELCOME_BETA_LINK, top + 45, top + 50, 1},
    };
    for (Channel& channel : channels) {
        RECT buttonRect = {anchor - 25, channel.buttonTop, anchor - 1, channel.buttonTop + 24};
        channel.button.owner = hwnd();
        channel.button.rowIndex = 0;
        channel.button.operation = channel.operation;
        if (channel.button.create(hwnd(), channel.buttonId, buttonRect, channel.text)) {
            showResourcePicture(channel.button, channel.image);
            addToolTip(channel.button.hwnd(), channel.text);
            ::ShowWindow(channel.button.hwnd(), SW_HIDE);
        }
        RECT linkRect = {anchor, channel.linkTop, anchor + 250, channel.linkTop + 20};
        channel.link.create(channel.text, 0, linkRect, hwnd(), "", font, channel.linkId);
    }
}

bool kdDInstallWelcomeBase::onSetActive() {
    if (busy_) {
        // A click or the upgrade check's re-activation while the page waits
        // or acts: the page stays active, its work runs afterwards.
        activationPending_ = true;
        return true;
    }
    runExclusively([this] { activatePage(); });
    return kdDPropertyPageBase::onSetActive();
}

void kdDInstallWelcomeBase::activatePage() {
    ++activationRuns_;
    hnInstallerServices* services = installerServices();
    bool writable = services && services->applicationFolderWritable();
    ::ShowWindow(copyButton.hwnd(), writable ? SW_SHOW : SW_HIDE);
    ::ShowWindow(deleteButton.hwnd(), writable ? SW_SHOW : SW_HIDE);
    // While the sheet is still being built the page shows at once; its set-up
    // (kept installers, version list, the core components' detection) runs
    // when the sheet activates it again, before any input reaches it.
    auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet());
    bool setUp = !wizard || !wizard->building();
    if (!writable) {
        ::ShowWindow(item(IDC_WELCOME_VERSION_LIST), SW_HIDE);
        ::ShowWindow(item(IDC_WELCOME_VERSION_LABEL), SW_HIDE);
    } else if (setUp) {
        moveOtherInstallersAside();
        fillInstallerVersionList();
    } else {
        // The first paint shows the running version already; the kept ones
        // join it with the set-up.
        fillInstallerVersionList(false);
    }
    // After the wait: the sheet handles the posted button state only now.
    setWizardButtons(PSWIZB_NEXT);
    setCancelText("Cancel");
    // The upgrade links stay hidden until a check offers a version, and no
    // check runs before the set-up: they are made with it, after the first paint.
    if (setUp && !item(IDC_WELCOME_RELEASE_LINK))
        createUpgradeLinks();
    showUpgradeLink(false);
    showUpgradeLink(true);
    if (setUp)
        updateQuickUpdateButton();
    else
        ::ShowWindow(quickUpdateButton.hwnd(), SW_HIDE); // shown once the detection asks for it
}

void kdDInstallWelcomeBase::runExclusively(const std::function<void()>& action) {
    if (busy_)
        return;
    busy_ = true;
    action();
    busy_ = false;
    // Requests that came meanwhile collapse into one activation.
    if (activationPending_ && hwnd()) {
        activationPending_ = false;
        onSetActive();
    }
}

void kdDInstallWelcomeBase::showUpgradeLink(bool beta) {
    hnInstallerServices* services = installerServices();
    CUpgradeInfo* info = services ? services->upgradeRecord(beta) : nullptr;
    DDynamicHyperlink& link = beta ? static_cast<DDynamicHyperlink&>(betaLink) : releaseLink;
    DDynamicButton& button = beta ? betaInfoButton : releaseInfoButton;
    bool offered = info && info->checkState == 2;
    if (offered)
        link.setText(hnFormatText(beta ? "Beta Installer Version %s Available"
                                       : "Release Installer Version %s Available",
                                  info->latestVersionNumber.c_str()));
    ::ShowWindow(link.hwnd(), offered ? SW_SHOW : SW_HIDE);
    ::ShowWindow(button.hwnd(), offered ? SW_SHOW : SW_HIDE);
}

bool kdDInstallWelcomeBase::onCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDC_WELCOME_VERSION_LIST:
        if (code == CBN_SELCHANGE)
            switchToSelectedInstaller();
        return true;
    case IDC_WELCOME_EXTENSIONS_ONLY:
        onExtensionsOnlyChanged();
        return true;
    case IDC_WELCOME_QUICK_UPDATE:
        runExclusively([this] { quickUpdateCoreComponents(); });
        return true;
    case IDC_DOWNLOAD_INSTALLABLES:
        runExclusively([this] { createInstallerCopy(); });
        return true;
    case IDC_WELCOME_DELETE_COPY:
        runExclusively([this] { deleteInstallerCopy(); });
        return true;
    case IDC_WELCOME_BROWSE_INSTALLERS:
        browseInstallers();
        return true;
    case IDC_WELCOME_RELEASE_LINK:
    case IDC_WELCOME_BETA_LINK:
    case IDC_WELCOME_RELEASE_INFO:
    case IDC_WELCOME_BETA_INFO:
        // The link or button acts on its own click.
        if (control)
            ::SendMessageA(control, kReflectBase + WM_COMMAND, MAKEWPARAM(id, code),
                           reinterpret_cast<LPARAM>(control));
        return true;
    default:
        return kdDPropertyPageBase::onCommand(id, code, control);
    }
}

bool kdDInstallWelcomeBase::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kDynamicButtonMessage) {
        offerChannelUpgrade(lParam);
        result = 1;
        return true;
    }
    return kdDPropertyPageBase::onMessage(message, wParam, lParam, result);
}

void kdDInstallWelcomeBase::offerChannelUpgrade(LPARAM channel) {
    hnInstallerServices* services = installerServices();
    if (!services || (channel != 0 && channel != 1))
        return;
    if (CUpgradeInfo* info = services->upgradeRecord(channel == 1))
        offerUpgrade(*info);
}

// ---------------------------------------------------------------- installer versions

void kdDInstallWelcomeBase::moveOtherInstallersAside() {
    std::string folder = applicationFolder();
    std::string target;
    if (folder.empty() || !hnJoinPath(target, folder, kInstallersFolder))
        return;
    bool waited = false;
    for (const KeptInstaller& installer : findKeptInstallers(withBackslashes(folder))) {
        if (!fileExists(target))
            ::CreateDirectoryA(target.c_str(), nullptr);
        if (!waited) {
            // The installer that handed over to this one may still be ending.
            InputPause pause(::GetParent(hwnd()), hwnd());
            DPleaseWaitDlg wait;
            if (wait.create(hwnd()))
                ::ShowWindow(wait.hwnd(), SW_SHOW);
            hnWaitHandlingMessages(moveAsideWaitMs);
            wait.destroy();
            waited = true;
        }
        std::string name = installer.path.substr(installer.path.find_last_of('\\') + 1);
        std::string destination = target + "\\" + name;
        if (!::MoveFileExA(installer.path.c_str(), destination.c_str(), MOVEFILE_WRITE_THROUGH))
            hnDebugOutF("kdDInstallWelcomeBase::moveOtherInstallersAside - unable to move %s\n",
                        name.c_str());
    }
}

void kdDInstallWelcomeBase::fillInstallerVersionList(bool withKept) {
    HWND list = item(IDC_WELCOME_VERSION_LIST);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    KeptInstaller running;
    if (readFileVersionAndPrivateBuild(runningExecutablePath(), running.version, running.privateBuild) < 1)
        currentVersionEntry = kCurrentlyUsedVersion;
    else
        currentVersionEntry = hnFormatText("%s (%s)", running.version.c_str(), running.privateBuild.c_str());
    ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(currentVersionEntry.c_str()));
    std::string folder;
    if (withKept && hnJoinPath(folder, applicationFolder(), kInstallersFolder))
        for (const KeptInstaller& installer : findKeptInstallers(folder))
            ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(listEntryOf(installer).c_str()));
    hnComboSelectExact(list, currentVersionEntry);
}

void kdDInstallWelcomeBase::reselectCurrentVersion() {
    ::SendMessageA(item(IDC_WELCOME_VERSION_LIST), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(currentVersionEntry.c_str()));
}

void kdDInstallWelcomeBase::switchToSelectedInstaller() {
    std::string selected;
    if (!hnComboSelection(item(IDC_WELCOME_VERSION_LIST), selected) ||
        hnEqualsNoCase(selected, kCurrentlyUsedVersion) || selected == currentVersionEntry)
        return;
    std::string version = selected, privateBuild;
    std::size_t open = selected.find(" (");
    if (open != std::string::npos) {
        version = selected.substr(0, open);
        std::size_t close = selected.find(')', open + 2);
        privateBuild =
            selected.substr(open + 2, close == std::string::npos ? std::string::npos : close - open - 2);
    }
    std::string folder;
    std::string match;
    if (hnJoinPath(folder, applicationFolder(), kInstallersFolder))
        for (const KeptInstaller& installer : findKeptInstallers(folder))
            if (hnEqualsNoCase(installer.version, version) &&
                hnEqualsNoCase(installer.privateBuild, privateBuild))
                match = installer.path;
    hnPrompter& prompter = hnAppBase::current()->prompter();
    if (match.empty()) {
        prompter.messageBox(hwnd(), "Error: Unable to switch to the selected installer. Please try again.",
                            kInstallerCaption, MB_OK);
        reselectCurrentVersion();
        return;
    }
    // findKeptInstallers never lists the running executable, so this move
    // cannot replace it.
    std::string destination = applicationFolder() + match.substr(match.find_last_of('\\'));
    if (!::MoveFileExA(match.c_str(), destination.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        prompter.messageBox(hwnd(), "Error: Unable to copy the selected installer file. Please try again.",
                            kInstallerCaption, MB_OK);
        reselectCurrentVersion();
        return;
    }
    if (launchInstaller(destination) <= 0)
        reselectCurrentVersion();
}

void kdDInstallWelcomeBase::onExtensionsOnlyChanged() {
    extensionsOnlyCheck = ::SendMessageA(item(IDC_WELCOME_EXTENSIONS_ONLY), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet()))
        wizard->extensionsOnlyMode = extensionsOnlyCheck != 0;
}

// ---------------------------------------------------------------- quick update

void kdDInstallWelcomeBase::updateQuickUpdateButton() {
    if (!quickUpdateManager) {
        quickUpdateManager.reset(new hnInstallManagerBase);
        buildCoreElements(*quickUpdateManager, 2, quickUpdateNames, quickUpdateStatus, quickUpdateProgress);
    }
    bool complete =
        quickUpdateManager->count() > 0 &&
        quickUpdateManager->refreshStatuses(0, static_cast<int>(quickUpdateManager->count()) - 1) == 1;
    ::ShowWindow(quickUpdateButton.hwnd(), complete ? SW_HIDE : SW_SHOW);
}

void kdDInstallWelcomeBase::quickUpdateCoreComponents() {
    if (hnAppBase::current()->prompter().messageBox(
            hwnd(),
            "This will update the Orvanto core components to required version.\nDo you want to "
            "proceed?\n\nClick "
            "on the 'Yes' button to proceed.\nClick on the 'No' button to abort.",
            "Confirmation", MB_YESNO) != IDYES)
        return;
    if (!quickUpdateManager)
        updateQuickUpdateButton();
    try {
        std::string told;
        if (installAllFetchedFirst(*quickUpdateManager, 0, 1, false, false, told) == -2)
            hnAppBase::current()->prompter().messageBox(hwnd(), told.c_str(), nullptr,
                                                        MB_OK | MB_ICONWARNING);
    } catch (...) {
        hnAppBase::current()->prompter().messageBox(hwnd(), "Unexpected Error 101", nullptr, MB_OK);
    }
    updateQuickUpdateButton();
}

// ---------------------------------------------------------------- installer copy

int kdDInstallWelcomeBase::gatherCopyElements() {
    if (copyElementsGathered_)
        return 1;
    if (auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet()))
        wizard->collectAllInstallationElements(*copyManager);
    componentTree.buildComponentTree(*copyManager);
    copyElementsGathered_ = true;
    return 1;
}

int kdDInstallWelcomeBase::deleteInstallerCopy() {
    std::string cache = cacheFolder(kInstallDataFolderName);
    if (appMessageBox(
            hnFormatText("All downloaded installers in '%s' will be deleted.\nDo you want to proceed?",
                         cache.c_str()),
            MB_YESNO) != IDYES)
        return -1;
    gatherCopyElements();
    try {
        copyManager->deleteOldDownloads(false, false);
    } catch (...) {
        hnAppBase::current()->prompter().messageBox(hwnd(), "Unexpected Error 101", nullptr, MB_OK);
    }
    // Success is said only once the folder is really gone.
    bool gone = deleteInstallDataFolder(applicationFolder());
    hnSessionLogF("Files", "deleted the download cache %s: %s", cache.c_str(), gone ? "gone" : "left behind");
    appMessageBox(
        gone ? hnFormatText("Successfully deleted the old downloads.\nFrom directory - %s", cache.c_str())
             : hnFormatText("Unable to delete the old downloads in '%s'. Please try again.", cache.c_str()));
    return gone ? 1 : -1;
}

int kdDInstallWelcomeBase::createInstallerCopy() {
    gatherCopyElements();
    if (selectComponents(componentTree) != IDOK)
        return -1;
    // The files fetched fresh for a copy (the lists) are set aside rather than
    // deleted: one that cannot be downloaded again is put back afterwards.
    std::vector<ElementDownloadPaths> setAside;
    for (unsigned i = 0; i < copyManager->count(); ++i) {
        const hnInstallationElement& element = *copyManager->item(i);
        if (!element.refreshBeforeCopy)
            continue;
        ElementDownloadPaths paths = elementDownloadPaths(element.downloadFolder, element.fileName);
        if (paths.tooLong())
            continue;
        if (fileExists(paths.temporaryPath))
            deleteFileForced(paths.temporaryPath);
        if (fileExists(paths.finalPath))
            moveFileReplacing(paths.finalPath, paths.backupPath);
        setAside.push_back(paths);
    }
    bool skipAllErrors = false;
    int result = 1;
    std::vector<int> indices = componentTree.selectedIndices(copyManager->count());
    if (!indices.empty()) {
        try {
            result = copyManager->downloadSelection(indices.data(), static_cast<int>(indices.size()), false,
                                                    &skipAllErrors);
        } catch (...) {
            hnAppBase::current()->prompter().messageBox(hwnd(), "Unexpected Error 101", nullptr, MB_OK);
            result = 0;
        }
    }
    for (const ElementDownloadPaths& paths : setAside)
        resolveDownloadBackup(paths);
    if (result < 1)
        return result;
    return downloadCopyContent(skipAllErrors);
}

int kdDInstallWelcomeBase::downloadCopyContent(bool& skipAllErrors) {
    return visitCopyContent(
        [this](const char* group, const std::string& item) {
            return componentTree.findGroup(group) && componentTree.isSelected(group, item);
        },
        [&skipAllErrors](const char*, hnInstallManagerBase& manager) {
            if (manager.count() == 0)
                return 1;
            return manager.downloadAll(false, &skipAllErrors) < 1 ? 0 : 1;
        });
}

int visitCopyContent(const std::function<bool(const char* group, const std::string& item)>& wanted,
                     const hnCopyContentVisit& visit) {
    for (const CopyContentRow& row : kCopyContentRows) {
        std::vector<std::string> items = row.item ? std::vector<std::string>{row.item} : row.items();
        for (const std::string& item : items) {
            if (!wanted(row.group, item))
                continue;
            int result = -1;
            try {
                result = row.visit(row.group, item, visit);
            } catch (...) {
                hnDebugOut("visitCopyContent - unexpected exception\n");
            }
            if (result == 0 && !row.resultIgnored)
                return -1;
        }
    }
    return 1;
}

void kdDInstallWelcomeBase::browseInstallers() {
    std::string folder;
    if (!hnJoinPath(folder, applicationFolder(), kInstallDataFolderName))
        return;
    if (!fileExists(folder))
        ::CreateDirectoryA(folder.c_str(), nullptr);
    INT_PTR shell = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(hwnd(), "open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    hnSessionLogF("Program", "opened %s, shell result %d", folder.c_str(), static_cast<int>(shell));
    if (shell <= 32)
        hnAppBase::current()->prompter().messageBox(
            hwnd(),
            hnFormatText("Unable to browse the installer files. Error code - %d", static_cast<int>(shell))
                .c_str(),
            kInstallerCaption, MB_OK);
}
