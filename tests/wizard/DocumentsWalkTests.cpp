// The tutorials and resources pages and the help window of the real installer
// against the demo repository: a tutorial installed, opened and removed, a
// resource link followed, and the help document of every page in the sheet.
// The browser and the document viewers are recording stand-ins.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "app/FileHelpers.h"
#include "support/RecordingShell.h"
#include "support/ShippedInstaller.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"
#include "wizard_ids.h"

using uidriver::Installer;

using namespace shipped;

namespace {

const std::string kHelpCaption = "Orvanto Vision Software Help File - ";
const int kTutorialsTab = 1154, kResourcesTab = 1137, kHelpText = 1274;

bool enabled(HWND parent, int id) {
    HWND control = ::GetDlgItem(parent, id);
    return control && ::IsWindowEnabled(control);
}

bool recorded(const RecordingShell& shell, const std::string& part, std::size_t count) {
    for (const std::string& line : shell.lines(count, 30000))
        if (line.find(part) != std::string::npos)
            return true;
    return false;
}

void screenshot(HWND window, const char* name) {
    std::string folder = buildFolder() + "\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    Installer::screenshot(window, folder + "\\" + name + ".bmp");
}

void clearCaches() {
    for (const char* folder : {"Tutorials", "Resources", "_Help2Orvanto", "Readme"}) {
        std::string cache = buildFolder() + "\\_OrvantoInstallData\\" + folder;
        deleteFolderTree(cache.c_str(), cache.c_str());
    }
}

} // namespace

TEST(DocumentsWalk, TutorialInstallOpenRemoveAndResourceLink) {
    clearCaches();
    std::string profile = documentsFolder() + "\\Orvanto 15.0\\Profiles\\FirstInspectionTutorial";
    std::string tutorial = documentsFolder() + "\\Orvanto 15.0\\Tutorials\\First Inspection";
    RecordingShell shell;
    Installer app;
    ASSERT_TRUE(app.start(buildFolder() + "\\" + kExeName));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(Installer::click(sheet, ID_NAV_TUTORIALS));
    ASSERT_TRUE(Installer::waitForCaption(sheet, kCaption + " - Orvanto Vision Tutorials", 30000));
    HWND page = currentPage(sheet);
    // Nothing cached: the tabs come with the list, fetched behind the page.
    HWND tabs = ::GetDlgItem(page, kTutorialsTab);
    EXPECT_TRUE(
        uidriver::waitUntil([&] { return ::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 3; }, 30000));
    HWND rows = tabDialog(page);
    ASSERT_TRUE(rows);

    // Install the first tutorial: its document and its profile arrive.
    ASSERT_TRUE(Installer::click(rows, 45001 + 3));
    EXPECT_TRUE(uidriver::waitUntil([&] { return visible(rows, 45001 + 1); }, 30000));
    EXPECT_TRUE(fileExists(tutorial + "\\First Inspection.pdf"));
    EXPECT_TRUE(fileExists(profile + "\\Orvanto.Opb"));
    uidriver::pause(800);
    screenshot(sheet, "documents_tutorials");

    // Its document and its video open in their viewers.
    ASSERT_TRUE(Installer::click(rows, 45001 + 1));
    EXPECT_TRUE(recorded(shell, "First Inspection.pdf", 1));
    ASSERT_TRUE(Installer::click(rows, 45001));
    EXPECT_TRUE(recorded(shell, "/orvanto/info/video1.html", 2));

    // Remove: the tutorial and its profile are gone.
    ASSERT_TRUE(Installer::click(rows, 45000));
    EXPECT_TRUE(uidriver::waitUntil([&] { return !fileExists(profile) && !fileExists(tutorial); }, 10000));
    EXPECT_TRUE(uidriver::waitUntil([&] { return enabled(rows, 45001 + 3); }, 10000));

    // The resources page: a link opens in the browser.
    ASSERT_TRUE(Installer::click(sheet, ID_NAV_HOME));
    ASSERT_TRUE(Installer::click(sheet, 0x3024)); // Next: the resources page follows the welcome page
    ASSERT_TRUE(Installer::waitForCaption(sheet, kCaption + " - Orvanto Vision Resources", 30000));
    page = currentPage(sheet);
    // Its list, too, comes behind the page.
    HWND resourceTabs = ::GetDlgItem(page, kResourcesTab);
    EXPECT_TRUE(uidriver::waitUntil([&] { return ::SendMessageA(resourceTabs, TCM_GETITEMCOUNT, 0, 0) >= 3; },
                                    30000));
    HWND links = tabDialog(page);
    ASSERT_TRUE(links);
    HWND link = ::GetDlgItem(links, 44000);
    ASSERT_TRUE(link);
    ::PostMessageA(links, WM_COMMAND, MAKEWPARAM(44000, STN_CLICKED), reinterpret_cast<LPARAM>(link));
    EXPECT_TRUE(recorded(shell, "/orvanto/info/", 3));
    uidriver::pause(1500);
    screenshot(sheet, "documents_resources");
    app.stop();
    clearCaches();
}

TEST(DocumentsWalk, HelpOfEveryPage) {
    clearCaches();
    Installer app;
    ASSERT_TRUE(app.start(buildFolder() + "\\" + kExeName));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    HWND tabs = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    // The pages after the welcome page are listed once it has painted.
    int count = 0;
    EXPECT_TRUE(uidriver::waitUntil(
        [&] { return (count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0))) >= 20; }, 10000));
    std::string previous;
    // Some pages tell the user something on activation (no interpreter, no
    // runtime yet): such a box is answered with its negative choice.
    auto answerActivationBox = [&] {
        struct Search {
            DWORD pid;
            HWND box;
        } search = {app.pid(), nullptr};
        ::EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(hwnd, &owner);
                if (owner == s->pid && ::IsWindowVisible(hwnd) && uidriver::className(hwnd) == "#32770" &&
                    uidriver::windowText(hwnd) == kCaption)
                    s->box = hwnd;
                return s->box == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        HWND box = search.box;
        if (!box)
            return;
        for (int button : {IDNO, IDCANCEL, IDOK})
            if (::GetDlgItem(box, button)) {
                Installer::click(box, button);
                break;
            }
    };
    for (int index = 0; index < count; ++index) {
        ::PostMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        // A page's first activation may fetch its list behind a modal dialog.
        uidriver::waitUntil(
            [&] {
                answerActivationBox();
                return uidriver::windowText(sheet) != previous && ::IsWindowEnabled(sheet);
            },
            30000);
        uidriver::waitUntil(
            [&] {
                answerActivationBox();
                return ::IsWindowEnabled(sheet) != FALSE;
            },
            30000);
        uidriver::pause(500);
        std::string title = previous = uidriver::windowText(sheet);
        HWND help = nullptr;
        for (int attempt = 0; attempt < 3 && !help; ++attempt) {
            ASSERT_TRUE(Installer::click(sheet, IDHELP)) << index;
            help = app.findWindow(kHelpCaption, "#32770", 15000);
        }
        ASSERT_TRUE(help) << "no help window on page " << index << " " << title;
        EXPECT_TRUE(uidriver::waitUntil(
            [&] {
                return uidriver::windowText(::GetDlgItem(help, kHelpText)).find("This page is") !=
                       std::string::npos;
            },
            15000))
            << title << ": " << uidriver::windowText(::GetDlgItem(help, kHelpText));
        if (index == 0) {
            uidriver::pause(800);
            screenshot(help, "documents_help_window");
        }
        ASSERT_TRUE(Installer::click(help, IDOK));
        EXPECT_TRUE(uidriver::waitUntil([&] { return !::IsWindow(help); }, 10000));
    }
    app.stop();
    clearCaches();
}
