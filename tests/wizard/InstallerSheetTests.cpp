#include <winsock2.h>

#include <gtest/gtest.h>

#include "main/InstallerApp.h"
#include "app/SystemView.h"
#include "install/ElementActions.h"
#include "download/StatusWords.h"
#include "pages/Py36ExtensionsNewPage.h"
#include "pages/WelcomePage.h"
#include "support/TestSupport.h"
#include "pages/InstallerPages.h"
#include "wizard/InstallerSheet.h"
#include "wizard/PropertyPageBase.h"
#include "artwork_ids.h"
#include "pages_ids.h"
#include "wizard_ids.h"

namespace {

const char* const kPy27Order[] = {"Installation Welcome",
                                  "Resources",
                                  "Readme Notes",
                                  "Prerequisite Installation",
                                  "Core Installation",
                                  "CoreComponents",
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

// Hooks that answer from the test instead of the machine.
struct TestHooks {
    std::string stored; // empty: nothing stored
    std::vector<std::string> calls;
    kdDSheetHooks hooks() {
        kdDSheetHooks h = defaultSheetHooks();
        h.getPythonVersionSelection = [this](std::string& out) {
            if (stored.empty())
                return -3;
            out = stored;
            return 1;
        };
        h.setPythonVersionSelection = [this](const std::string& value) {
            calls.push_back("set " + value);
            return 1;
        };
        h.python27Upkeep = [this] { calls.push_back("upkeep 27"); };
        h.python36Upkeep = [this] { calls.push_back("upkeep 36"); };
        h.ifRequiredSetSelectionForPy27Extensions = [this] { calls.push_back("defaults 27"); };
        h.ifRequiredSetSelectionForPy36Extensions = [this] { calls.push_back("defaults 36"); };
        h.showHelpDocument = [this](hnInstallationElement& e, HWND) { calls.push_back("help " + e.name); };
        return h;
    }
};

std::vector<std::string> pageNames(const kdDKadrixSDKInstallerSheet& sheet) {
    std::vector<std::string> names;
    for (int i = 0; i < sheet.pageCount(); ++i)
        names.push_back(sheet.pageBase(i)->uiDlgName);
    return names;
}

std::string activeName(const kdDKadrixSDKInstallerSheet& sheet) {
    kdDPropertyPageBase* page = sheet.pageBase(sheet.activeIndex());
    return page ? page->uiDlgName : "";
}

void pump() {
    waitFor([] { return false; }, 60);
}

RECT childRect(HWND parent, int id) {
    RECT r = {};
    ::GetWindowRect(::GetDlgItem(parent, id), &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// An open wizard with scripted message boxes.
struct OpenWizard {
    explicit OpenWizard(const std::string& selection = "Python 2.7.9") {
        hooks.stored = selection;
        sheet.reset(new kdDKadrixSDKInstallerSheet(createInstallerPages(), hooks.hooks()));
        sheet->setWizardMode();
        created = sheet->create();
        pump();
    }
    void press(int button) {
        PropSheet_PressButton(sheet->hwnd(), button);
        pump();
    }
    ScriptedPrompter prompter;
    TestHooks hooks;
    std::unique_ptr<kdDKadrixSDKInstallerSheet> sheet;
    bool created = false;
};

} // namespace

TEST(InstallerSheet, PageListsFollowTheStoredPythonSelection) {
    for (const char* selection : {"Python 2.7.9", "Python 2.7.13"}) {
        TestHooks hooks;
        hooks.stored = selection;
        kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), hooks.hooks());
        EXPECT_EQ(std::vector<std::string>(std::begin(kPy27Order), std::end(kPy27Order)), pageNames(sheet));
        EXPECT_EQ((std::vector<std::string>{"defaults 27", "upkeep 27"}), hooks.calls);
    }
    TestHooks hooks;
    hooks.stored = "Python 3.6.6";
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), hooks.hooks());
    std::vector<std::string> names = pageNames(sheet);
    ASSERT_EQ(22u, names.size());
    EXPECT_EQ("Recommended Extensions (Python 36)", names[6]);
    EXPECT_EQ("Toolbox - Deepform Vision (Python 36)", names[7]);
    EXPECT_EQ("Optional Extensions (Python 36)", names[8]);
    EXPECT_EQ("OTC - Tool Components (Python 36)", names[9]);
    EXPECT_EQ("Demonstration Profiles (Python 36)", names[12]);
    EXPECT_EQ("Halvenor Utilities", names[21]);
    EXPECT_EQ((std::vector<std::string>{"defaults 36", "upkeep 36"}), hooks.calls);
}

TEST(InstallerSheet, MissingOrUnknownSelectionFallsBackToPython27) {
    TestHooks none;
    kdDKadrixSDKInstallerSheet first(createInstallerPages(), none.hooks());
    EXPECT_EQ("set Python 2.7.9", none.calls.front());
    EXPECT_EQ("Recommended Extensions", first.pageBase(6)->uiDlgName);

    DebugCapture debug;
    TestHooks odd;
    odd.stored = "Python 3.7";
    kdDKadrixSDKInstallerSheet second(createInstallerPages(), odd.hooks());
    EXPECT_TRUE(debug.contains("kdDKadrixSDKInstallerSheet::initPages - Unknown Python version selection\n"));
    EXPECT_EQ("Recommended Extensions", second.pageBase(6)->uiDlgName);
    EXPECT_EQ(0, second.updateWizardPagesForPythonVersion(7) - 1);
    EXPECT_TRUE(debug.contains(
        "kdDKadrixSDKInstallerSheet::updateWizardPagesForPythonVersion - unexpected case 3\n"));
    EXPECT_EQ(22, second.pageCount());
}

TEST(InstallerSheet, PageTitlesAndPassOverAnswers) {
    TestHooks hooks;
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), hooks.hooks());
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer - Welcome to Orvanto Vision Software XV 774 System "
              "Management",
              sheet.pageBase(0)->pageTitle);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer - Core Installation Status",
              sheet.pageBase(5)->pageTitle);
    EXPECT_EQ("Core Installation Status", sheet.pageBase(5)->headerText);
    std::vector<std::string> hidden;
    for (int i = 0; i < sheet.pageCount(); ++i) {
        EXPECT_FALSE(sheet.pageBase(i)->isPageSkipped());
        if (sheet.pageBase(i)->isHiddenInExtensionsOnlyMode())
            hidden.push_back(sheet.pageBase(i)->uiDlgName);
    }
    EXPECT_EQ((std::vector<std::string>{"Core Installation", "CoreComponents", "Toolbox - Deepform Vision",
                                        "OTC - Tool Components", "Demonstration Profiles", "Tutorials"}),
              hidden);
}

TEST(InstallerSheet, ListRoutinesRejectMissingArguments) {
    DebugCapture debug;
    TestHooks hooks;
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), hooks.hooks());
    EXPECT_EQ(-1, sheet.removeAllPagesAfterPage(nullptr));
    EXPECT_TRUE(debug.contains("kdDKadrixSDKInstallerSheet::removeAllPagesAfterPage - NULL pointer 1\n"));
    EXPECT_EQ(-2, kdDKadrixSDKInstallerSheet::getUIDlgTitleStrFromUIDlgName("Tutorials", nullptr));
    EXPECT_TRUE(
        debug.contains("kdDKadrixSDKInstallerSheet::getUIDlgTitleStrFromUIDlgName - NULL pointer 2\n"));
    std::string title;
    EXPECT_EQ(1, kdDKadrixSDKInstallerSheet::getUIDlgTitleStrFromUIDlgName("Kadrix SDK Tutorials", &title));
    EXPECT_EQ("Orvanto Kadrix SDK Tutorials", title);
    EXPECT_EQ(1, kdDKadrixSDKInstallerSheet::getUIDlgTitleStrFromUIDlgName("Halvenor Utilities", &title));
    EXPECT_EQ("Halvenor Utilities", title);

    // A page that is not in the sheet empties the whole list.
    EXPECT_EQ(1, sheet.removeAllPagesAfterPage(installerPages(sheet).py36ExtensionsNewPage.get()));
    EXPECT_EQ(0, sheet.pageCount());
}

TEST(InstallerSheet, HelpDocumentsOnePerPage) {
    TestHooks hooks;
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), hooks.hooks());
    ASSERT_EQ(21u, sheet.helpManager->count());
    hnInstallationElement* tutorials = sheet.helpManager->item(12);
    EXPECT_EQ("Orvanto Vision Software Help File - Orvanto Vision Tutorials", tutorials->name);
    EXPECT_EQ("774Help - Tutorials.rtf", tutorials->fileName);
    EXPECT_EQ(theApp()->repositoryBaseUrl() +
                  "/orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware/HelpFiles/"
                  "774Help - Tutorials.rtf",
              tutorials->url);
    EXPECT_EQ(theApp()->appFolderPath + "\\_OrvantoInstallData\\_Help2Orvanto\\15_0_0",
              tutorials->downloadFolder);
    EXPECT_EQ("Help Files", tutorials->category);
    EXPECT_TRUE(tutorials->refreshBeforeCopy);
    EXPECT_FALSE(tutorials->isMsiPackage);
    // A name without an entry in the title table stands for itself.
    EXPECT_EQ("Orvanto Vision Software Help File - Halvenor Utilities", sheet.helpManager->item(20)->name);
    EXPECT_EQ("Orvanto Vision Software Help File - Installation Welcome", sheet.helpManager->item(0)->name);
}

TEST(InstallerSheet, WindowIsTallerWithTheNavigationRowAboveBack) {
    OpenWizard wizard;
    ASSERT_TRUE(wizard.created);
    HWND hwnd = wizard.sheet->hwnd();
    RECT back = childRect(hwnd, 0x3023);
    const int lefts[] = {10, 99, 188, 277, 366, 455, 544};
    const int ids[] = {ID_NAV_HOME,
                       ID_NAV_CORE,
                       ID_NAV_OTC,
                       ID_NAV_DEMO_PROFILES,
                       ID_NAV_TUTORIALS,
                       ID_NAV_CAMERA_DRIVERS,
                       ID_NAV_UTILITY_SOFTWARE};
    for (int i = 0; i < 7; ++i) {
        RECT r = childRect(hwnd, ids[i]);
        EXPECT_EQ(lefts[i], r.left);
        EXPECT_EQ(lefts[i] + 85, r.right);
        EXPECT_EQ(back.top - 33, r.top);
        EXPECT_EQ(back.top - 10, r.bottom);
    }
    RECT help = childRect(hwnd, IDHELP);
    RECT web = childRect(hwnd, ID_NAV_WEB_HELP);
    EXPECT_EQ(help.left, web.left);
    EXPECT_EQ(help.right, web.right);
    EXPECT_EQ(help.top - 4, web.bottom);
    EXPECT_EQ(help.bottom - help.top, web.bottom - web.top);
    EXPECT_EQ("Web Help", hnWindowText(::GetDlgItem(hwnd, ID_NAV_WEB_HELP)));
    // Against the same wizard as the framework makes it: 20 pixels taller,
    // standard buttons 23 pixels lower.
    kdDInstallWelcomeBase samePage("plain");
    hnPropertySheet plain("plain");
    plain.setWizardMode();
    plain.addPage(&samePage);
    ASSERT_TRUE(plain.create());
    RECT plainWindow, window;
    ::GetWindowRect(plain.hwnd(), &plainWindow);
    ::GetWindowRect(hwnd, &window);
    EXPECT_EQ((plainWindow.bottom - plainWindow.top) + 20, window.bottom - window.top);
    EXPECT_EQ(childRect(plain.hwnd(), 0x3023).top + 23, back.top);
    EXPECT_EQ(childRect(plain.hwnd(), IDHELP).top + 23, help.top);
    plain.destroy();
    // The page area stays above the row: the page ends above the navigation buttons.
    RECT pageRect;
    ::GetWindowRect(wizard.sheet->activePage()->hwnd(), &pageRect);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&pageRect), 2);
    EXPECT_LE(pageRect.bottom, back.top - 33);
}

TEST(InstallerSheet, NavigationButtonsJumpToTheirPages) {
    OpenWizard wizard("Python 3.6.6");
    ASSERT_TRUE(wizard.created);
    struct Jump {
        int id;
        const char* page;
    } jumps[] = {{ID_NAV_CORE, "Core Installation"},
                 {ID_NAV_OTC, "OTC - Tool Components (Python 36)"},
                 {ID_NAV_DEMO_PROFILES, "Demonstration Profiles (Python 36)"},
                 {ID_NAV_TUTORIALS, "Tutorials"},
                 {ID_NAV_CAMERA_DRIVERS, "3rd Party Camera Drivers - 1"},
                 {ID_NAV_UTILITY_SOFTWARE, "Optional Utility Software I"},
                 {ID_NAV_HOME, "Installation Welcome"}};
    wizard.sheet->extensionsOnlyMode = true; // jumps ignore the pass-over rules
    for (const Jump& jump : jumps) {
        ::SendMessageA(::GetDlgItem(wizard.sheet->hwnd(), jump.id), BM_CLICK, 0, 0);
        pump();
        EXPECT_EQ(jump.page, activeName(*wizard.sheet));
    }
}

TEST(InstallerSheet, BackAndNextPassOverPagesInExtensionsOnlyMode) {
    OpenWizard wizard;
    ASSERT_TRUE(wizard.created);
    wizard.press(PSBTN_NEXT);
    EXPECT_EQ("Resources", activeName(*wizard.sheet));
    wizard.press(PSBTN_BACK);
    EXPECT_EQ("Installation Welcome", activeName(*wizard.sheet));

    wizard.sheet->extensionsOnlyMode = true;
    wizard.prompter.fallback = IDYES; // go on past missing prerequisites
    std::vector<std::string> visited;
    for (int i = 0; i < 16; ++i) {
        wizard.press(PSBTN_NEXT);
        visited.push_back(activeName(*wizard.sheet));
    }
    EXPECT_EQ((std::vector<std::string>{
                  "Resources", "Readme Notes", "Prerequisite Installation", "Recommended Extensions",
                  "Optional Extensions", "Installation Complete", "Import Orvanto Profiles",
                  "Image Processing Options", "Modules", "3rd Party Camera Drivers - 1",
                  "3rd Party Camera Drivers - 2", "3rd Party IO Drivers", "Optional Utility Software I",
                  "Optional Utility Software II", "Halvenor Utilities", "Halvenor Utilities"}),
              visited);
    wizard.sheet->navigateTo("Import Orvanto Profiles");
    pump();
    wizard.press(PSBTN_BACK);
    EXPECT_EQ("Installation Complete", activeName(*wizard.sheet));
    wizard.press(PSBTN_BACK);
    EXPECT_EQ("Optional Extensions", activeName(*wizard.sheet));
    wizard.press(PSBTN_BACK);
    EXPECT_EQ("Recommended Extensions", activeName(*wizard.sheet));
    wizard.press(PSBTN_BACK);
    EXPECT_EQ("Prerequisite Installation", activeName(*wizard.sheet)); // both core pages passed over
}

TEST(InstallerSheet, SwitchingToPython36KeepsTheHeadAndTheActivePage) {
    OpenWizard wizard;
    ASSERT_TRUE(wizard.created);
    wizard.sheet->navigateTo("Prerequisite Installation");
    pump();
    EXPECT_EQ(1, wizard.sheet->updateWizardPagesForPythonVersion(1));
    pump();
    EXPECT_EQ("Prerequisite Installation", activeName(*wizard.sheet));
    std::vector<std::string> names = pageNames(*wizard.sheet);
    ASSERT_EQ(22u, names.size());
    EXPECT_EQ("CoreComponents", names[5]);
    EXPECT_EQ("Recommended Extensions (Python 36)", names[6]);
    EXPECT_EQ("Tutorials", names[13]);
    EXPECT_EQ(22, TabCtrl_GetItemCount(PropSheet_GetTabControl(wizard.sheet->hwnd())));
    // The new pages work: OTC now reaches the Python 3.6 templates.
    ::SendMessageA(::GetDlgItem(wizard.sheet->hwnd(), ID_NAV_OTC), BM_CLICK, 0, 0);
    pump();
    EXPECT_EQ("OTC - Tool Components (Python 36)", activeName(*wizard.sheet));
}

TEST(InstallerSheet, HelpAndF1BuildTheActivePagesHelpElement) {
    OpenWizard wizard;
    ASSERT_TRUE(wizard.created);
    wizard.sheet->navigateTo("Tutorials");
    pump();
    wizard.press(PSBTN_HELP);
    ASSERT_FALSE(wizard.hooks.calls.empty());
    EXPECT_EQ("help Orvanto Vision Software Help File - Orvanto Vision Tutorials", wizard.hooks.calls.back());

    // F1 on a control of the page travels up to the sheet.
    wizard.sheet->navigateTo("Halvenor Utilities");
    pump();
    HELPINFO info = {sizeof(info), HELPINFO_WINDOW, IDC_STATUS_AREA, nullptr, 0, {0, 0}};
    HWND status = wizard.sheet->activePage()->item(IDC_STATUS_AREA);
    info.hItemHandle = status;
    ::SendMessageA(status, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ("help Orvanto Vision Software Help File - Halvenor Utilities", wizard.hooks.calls.back());
}

TEST(InstallerSheet, F1OpensNothingWhileTheHelpOrAnotherModalWindowIsOpen) {
    ScriptedPrompter prompter;
    TestHooks hooks;
    hooks.stored = "Python 2.7.9";
    kdDSheetHooks h = hooks.hooks();
    int shown = 0;
    HWND sheetWindow = nullptr;
    // F1 pressed again while the help window is open.
    h.showHelpDocument = [&](hnInstallationElement&, HWND) {
        ++shown;
        ::SendMessageA(sheetWindow, WM_HELP, 0, 0);
    };
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), h);
    sheet.setWizardMode();
    ASSERT_TRUE(sheet.create());
    sheetWindow = sheet.hwnd();
    ::SendMessageA(sheetWindow, WM_HELP, 0, 0);
    EXPECT_EQ(1, shown);
    // A modal window disables its owner: F1 from it opens nothing.
    ::EnableWindow(sheetWindow, FALSE);
    ::SendMessageA(sheetWindow, WM_HELP, 0, 0);
    EXPECT_EQ(1, shown);
    ::EnableWindow(sheetWindow, TRUE);
    ::SendMessageA(sheetWindow, WM_HELP, 0, 0);
    EXPECT_EQ(2, shown);
}

TEST(InstallerSheet, WebHelpThatCannotOpenTellsWhy) {
    ScriptedPrompter prompter;
    TestHooks hooks;
    hooks.stored = "Python 2.7.9";
    kdDSheetHooks h = hooks.hooks();
    std::string opened;
    h.openResourceLink = [&](const std::string& address, const char* name, HWND, int& code) {
        opened = address + " as " + name;
        code = 31;
        return 0;
    };
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), h);
    sheet.setWizardMode();
    ASSERT_TRUE(sheet.create());
    ::SendMessageA(::GetDlgItem(sheet.hwnd(), ID_NAV_WEB_HELP), BM_CLICK, 0, 0);
    EXPECT_EQ(std::string(kWebHelpAddress) + " as Web Help", opened);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Unable to access web help. Error code - 31", prompter.records[0].text);
    EXPECT_EQ(kInstallerCaption, prompter.records[0].caption);
}

TEST(InstallerSheet, LaunchingAMissingInstallerTellsTheUser) {
    OpenWizard wizard;
    ASSERT_TRUE(wizard.created);
    EXPECT_EQ(-1, wizard.sheet->launchInstallerFile("C:\\no\\such\\installer.exe", wizard.sheet->hwnd()));
    ASSERT_EQ(1u, wizard.prompter.records.size());
    EXPECT_EQ("Error: Unable to locate the selected installer file. Please try again.",
              wizard.prompter.records[0].text);
    EXPECT_EQ(kInstallerCaption, wizard.prompter.records[0].caption);

    theApp()->pendingInstallerPath() = "C:\\no\\such\\download.exe";
    theApp()->pendingInstallerFileName() = "OrvantoVisionSoftware_15_0_0_775_Installer_201001.exe";
    std::size_t mark = sessionLogMark();
    EXPECT_EQ(0, ::SendMessageA(wizard.sheet->hwnd(), 0x407, 0, 0));
    EXPECT_NE(std::string::npos, sessionLogLinesSince(mark, "Self-update")
                                     .find("Self-update: could not move C:\\no\\such\\download.exe to "))
        << sessionLogLinesSince(mark, "Self-update");
    EXPECT_EQ("Error: Unable to copy the selected installer file. Please try again.",
              wizard.prompter.records.back().text);
    EXPECT_TRUE(wizard.sheet->isOpen());
    theApp()->pendingInstallerPath().clear();
    theApp()->pendingInstallerFileName().clear();
}

TEST(InstallerSheet, NewerVersionFoundReactivatesTheCurrentPage) {
    ScriptedPrompter prompter;
    TestHooks hooks;
    hooks.stored = "Python 2.7.9";
    kdDSheetHooks h = hooks.hooks();
    h.checkUpgradeChannel = [](CUpgradeInfo&, hnUpgradeCheckControl&) { return true; };
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), h);
    sheet.setWizardMode();
    ASSERT_TRUE(sheet.create());
    // Two channels report a newer version: two re-activations of the welcome
    // page, whose activation re-detects (here: transfers) its strings again.
    installerPages(sheet).welcomePage->statusText = "changed";
    ASSERT_TRUE(
        waitFor([&] { return hnWindowText(installerPages(sheet).welcomePage->item(IDC_STATUS_AREA)) == "changed"; }, 3000));
    EXPECT_EQ("Installation Welcome", activeName(sheet));
}

TEST(InstallerSheet, ClosingWhileTheUpgradeCheckHangsEndsQuickly) {
    // A server that accepts the connection and never answers.
    WSADATA wsa;
    ASSERT_EQ(0, ::WSAStartup(MAKEWORD(2, 2), &wsa));
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(0, ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)));
    int length = sizeof(address);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ::listen(listener, 4);

    HANDLE requestStarted = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    TestHooks hooks;
    hooks.stored = "Python 2.7.9";
    kdDSheetHooks h = hooks.hooks();
    h.checkUpgradeChannel = [&](CUpgradeInfo&, hnUpgradeCheckControl& control) {
        HINTERNET session = ::InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        if (!control.registerHandle(session))
            return false;
        HINTERNET connection = ::InternetConnectA(session, "127.0.0.1", ntohs(address.sin_port), nullptr,
                                                  nullptr, INTERNET_SERVICE_HTTP, 0, 0);
        HINTERNET request = connection && control.registerHandle(connection)
                                ? ::HttpOpenRequestA(connection, "GET", "/hang.txt", nullptr, nullptr,
                                                     nullptr, INTERNET_FLAG_RELOAD, 0)
                                : nullptr;
        if (request && control.registerHandle(request)) {
            ::SetEvent(requestStarted);
            ::HttpSendRequestA(request, nullptr, 0, nullptr, 0); // hangs: the server never answers
            control.closeHandle(request);
        }
        control.closeHandle(connection);
        control.closeHandle(session);
        return false;
    };
    DWORD elapsed = 0;
    {
        auto sheet = std::make_unique<kdDKadrixSDKInstallerSheet>(createInstallerPages(), h);
        sheet->setWizardMode();
        ASSERT_TRUE(sheet->create());
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(requestStarted, 5000));
        ::Sleep(300); // the request is on its way and hangs
        DWORD start = ::GetTickCount();
        sheet.reset();
        elapsed = ::GetTickCount() - start;
    }
    // The wait for the worker is bounded by 5 s; where closing its handles
    // cuts the request short it ends at once. Window teardown comes on top
    // (under a display without window manager it alone takes about 2 s, more
    // on a loaded machine): without the bound the request would hang for good.
    EXPECT_LT(elapsed, kdDKadrixSDKInstallerSheet::kWorkerWaitMs + 20000);
    ::closesocket(listener);
    ::WSACleanup();
    ::CloseHandle(requestStarted);
}

TEST(InstallerSheet, RuntimeFolderNeedsTheInstalledRuntimeProduct) {
    // A leftover key without the installed product does not make a runtime folder.
    const char* const keyName = "SOFTWARE\\HALVENOR AS\\Orvanto Runtime Leftover";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, hnRegCreateKey(HKEY_LOCAL_MACHINE, keyName, KEY_WRITE, &key));
    ::RegSetValueExA(key, "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\Runtime\\"), 12);
    ::RegCloseKey(key);
    std::string folder = "unchanged";
    EXPECT_FALSE(kdDKadrixSDKInstallerSheet::getInstalledRuntimeFolder(folder));
    EXPECT_EQ("unchanged", folder);
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, keyName, hnRegistryView(), 0);
}

namespace {
// A sheet run as the program runs it, made welcome page first; every command
// of the sheet notes what it found when it acted. The first step after the
// first paint posts a click on the Core navigation button, then Cancel.
class StartupSheet : public kdDKadrixSDKInstallerSheet {
public:
    explicit StartupSheet(const kdDSheetHooks& hooks)
        : kdDKadrixSDKInstallerSheet(createInstallerPages(true), hooks) {}
    int stepsSeen = 0;
    int pagesAtFirstStep = -1;
    bool buildingAtClick = false;
    int pagesAtClick = -1;
    std::string activeAfterClick;

protected:
    bool stepAfterFirstPaint() override {
        if (stepsSeen++ == 0) {
            pagesAtFirstStep = pageCount();
            ::PostMessageA(::GetDlgItem(hwnd(), ID_NAV_CORE), BM_CLICK, 0, 0);
            PropSheet_PressButton(hwnd(), PSBTN_CANCEL);
        }
        return kdDKadrixSDKInstallerSheet::stepAfterFirstPaint();
    }
    bool onCommand(WORD id, WORD code, HWND control) override {
        if (id != ID_NAV_CORE)
            return kdDKadrixSDKInstallerSheet::onCommand(id, code, control);
        buildingAtClick = building();
        bool handled = kdDKadrixSDKInstallerSheet::onCommand(id, code, control);
        pagesAtClick = pageCount();
        activeAfterClick = activeName(*this);
        return handled;
    }
};
} // namespace

TEST(InstallerSheet, WelcomeFirstSheetShowsTheWelcomePageAloneUntilItsStepsAreDone) {
    ScriptedPrompter prompter;
    TestHooks hooks;
    hooks.stored = "Python 2.7.9";
    kdDSheetHooks h = hooks.hooks();
    int upgradeChecks = 0;
    h.checkUpgradeChannel = [&upgradeChecks](CUpgradeInfo&, hnUpgradeCheckControl&) {
        ++upgradeChecks;
        return false;
    };
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(true), h);
    sheet.setWizardMode();
    ASSERT_TRUE(sheet.create());
    pump();
    // Shown at once: the welcome page alone, no Python upkeep, no upgrade
    // check, and the welcome page without its set-up work, but with the
    // running version already selected in its list.
    EXPECT_TRUE(sheet.building());
    EXPECT_EQ(std::vector<std::string>{"Installation Welcome"}, pageNames(sheet));
    EXPECT_TRUE(hooks.calls.empty());
    EXPECT_EQ(nullptr, sheet.upgradeCheckThread);
    kdDInstallWelcomeBase& welcome = *installerPages(sheet).welcomePage;
    HWND versions = welcome.item(IDC_WELCOME_VERSION_LIST);
    EXPECT_EQ(1, ::SendMessageA(versions, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, ::SendMessageA(versions, CB_GETCURSEL, 0, 0));
    char shown[128] = {};
    ::GetWindowTextA(versions, shown, sizeof(shown));
    EXPECT_STREQ("15.0.0.774 ()", shown); // the test programs carry the installer's version
    EXPECT_FALSE(::IsWindowVisible(welcome.item(IDC_WELCOME_QUICK_UPDATE)));
    // The upgrade links, hidden until a check offers a version, come with the set-up.
    EXPECT_EQ(nullptr, welcome.item(IDC_WELCOME_RELEASE_LINK));
    EXPECT_EQ(nullptr, welcome.item(IDC_WELCOME_BETA_INFO));
    int runs = welcome.activationRuns();

    sheet.finishBuilding();
    EXPECT_FALSE(sheet.building());
    EXPECT_EQ(std::vector<std::string>(std::begin(kPy27Order), std::end(kPy27Order)), pageNames(sheet));
    EXPECT_NE(hooks.calls.end(), std::find(hooks.calls.begin(), hooks.calls.end(), "upkeep 27"));
    EXPECT_EQ(runs + 1, welcome.activationRuns());
    for (int id :
         {IDC_WELCOME_RELEASE_LINK, IDC_WELCOME_RELEASE_INFO, IDC_WELCOME_BETA_LINK, IDC_WELCOME_BETA_INFO}) {
        EXPECT_NE(nullptr, welcome.item(id)) << id;
        EXPECT_FALSE(::IsWindowVisible(welcome.item(id))) << id;
    }
    EXPECT_GE(::SendMessageA(versions, CB_GETCOUNT, 0, 0), 1);
    ::GetWindowTextA(versions, shown, sizeof(shown));
    EXPECT_STREQ("15.0.0.774 ()", shown);
    EXPECT_NE(nullptr, sheet.upgradeCheckThread);
    EXPECT_TRUE(waitFor([&] { return upgradeChecks == 2; }, 5000));
    EXPECT_EQ("Installation Welcome", activeName(sheet));
}

TEST(InstallerSheet, TheFirstPagesPicturesAreDecodedBeforeTheWindowAsksForThem) {
    TestHooks hooks;
    hooks.stored = "Python 2.7.9";
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(true), hooks.hooks());
    // The sheet's object alone starts the decoding: no window exists yet.
    ASSERT_TRUE(waitFor([&sheet] { return sheet.pictures.prefetchFinished(); }, 10000));
    std::vector<UINT> ids = installerPages(sheet).welcomePage->picturesShownAtOnce();
    EXPECT_EQ(6u, ids.size());
    ids.insert(ids.end(), {IDP_INSTALL, IDP_REMOVE, IDP_DOWNLOAD, IDP_REFRESH}); // most pages' buttons
    for (UINT id : ids)
        EXPECT_TRUE(sheet.pictures.resource(id).loaded()) << id;
    EXPECT_EQ(0, sheet.pictures.decodedInPlace());
}

TEST(InstallerSheet, AClickRightAfterStartUpActsOnTheWholeWizard) {
    ScriptedPrompter prompter;
    prompter.fallback = IDYES;
    TestHooks hooks;
    hooks.stored = "Python 2.7.9";
    kdDSheetHooks h = hooks.hooks();
    h.checkUpgradeChannel = [](CUpgradeInfo&, hnUpgradeCheckControl&) { return false; };
    StartupSheet sheet(h);
    sheet.setWizardMode();
    sheet.runModal();
    EXPECT_EQ(1, sheet.pagesAtFirstStep);
    // The click came while the pages were being built; it acted on all of them.
    EXPECT_TRUE(sheet.buildingAtClick);
    EXPECT_EQ(static_cast<int>(std::size(kPy27Order)), sheet.pagesAtClick);
    EXPECT_EQ("Core Installation", sheet.activeAfterClick);
    EXPECT_FALSE(sheet.isOpen());
}
