// The real installer, started as its own process and worked through its
// windows like a user would.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "support/TestSupport.h"
#include "support/UiDriver.h"
#include "wizard_ids.h"

using uidriver::Installer;

namespace {

const std::string kCaption = "Orvanto Vision Software XV 774 Installer";
const char* const kExeName = "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe";
const int kBack = 0x3023, kNext = 0x3024;

std::string buildFolder() {
    std::string tests = testProgramFolder();
    return tests.substr(0, tests.find_last_of("\\/"));
}

std::string installerPath() {
    return buildFolder() + "\\" + kExeName;
}

std::string pyselPath() {
    char documents[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    return std::string(documents) + "\\Orvanto 15.0\\Python\\PySel.ini";
}

// Stores an interpreter choice for the next start; forgets it again.
struct StoredPythonSelection {
    explicit StoredPythonSelection(const char* selection) {
        std::string path = pyselPath();
        makeFolders(path.substr(0, path.find_last_of('\\')));
        ::WritePrivateProfileStringA("PySelVersion", "VersionName", selection, path.c_str());
    }
    ~StoredPythonSelection() { ::DeleteFileA(pyselPath().c_str()); }
};

RECT rectIn(HWND parent, int id) {
    RECT r = {};
    ::GetWindowRect(::GetDlgItem(parent, id), &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND currentPage(HWND sheet) {
    return reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool goesTo(HWND sheet, int control, const std::string& pageName) {
    return Installer::click(sheet, control) && Installer::waitForCaption(sheet, kCaption + " - " + pageName);
}

} // namespace

TEST(WizardEndToEnd, NavigationRowAndBackNextWalkThePages) {
    Installer app;
    ASSERT_TRUE(app.start(installerPath()));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(Installer::waitForCaption(
        sheet, kCaption + " - Welcome to Orvanto Vision Software XV 774 System Management"));

    EXPECT_TRUE(goesTo(sheet, ID_NAV_CORE, "Core Installation"));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_OTC, "OTC - Orvanto Tool Components"));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_DEMO_PROFILES, "Machine Vision Demonstration Profiles"));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_TUTORIALS, "Orvanto Vision Tutorials"));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_CAMERA_DRIVERS, "3rd Party Camera Drivers - 1"));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_UTILITY_SOFTWARE, "Optional Utility Software I"));
    EXPECT_TRUE(goesTo(sheet, kNext, "Optional Utility Software II"));
    EXPECT_TRUE(goesTo(sheet, kNext, "Halvenor Utilities"));
    EXPECT_TRUE(goesTo(sheet, kBack, "Optional Utility Software II"));
    EXPECT_EQ("Finish", Installer::text(sheet, IDCANCEL));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_HOME, "Welcome to Orvanto Vision Software XV 774 System Management"));
    EXPECT_EQ("Cancel", Installer::text(sheet, IDCANCEL));
    EXPECT_TRUE(goesTo(sheet, kNext, "Orvanto Vision Resources"));
    EXPECT_TRUE(goesTo(sheet, kNext, "Readme Notes"));
    EXPECT_TRUE(goesTo(sheet, kBack, "Orvanto Vision Resources"));

    // The row sits between the page area and the Back button.
    RECT back = rectIn(sheet, kBack);
    RECT home = rectIn(sheet, ID_NAV_HOME), utility = rectIn(sheet, ID_NAV_UTILITY_SOFTWARE);
    EXPECT_EQ(back.top - 33, home.top);
    EXPECT_EQ(back.top - 10, home.bottom);
    EXPECT_EQ(10, home.left);
    EXPECT_EQ(629, utility.right);
    RECT page;
    ::GetWindowRect(currentPage(sheet), &page);
    ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&page), 2);
    EXPECT_LE(page.bottom, home.top);

    // Cancel ends the program.
    Installer::click(sheet, IDCANCEL);
    EXPECT_TRUE(app.waitForExit(10000));
}

TEST(WizardEndToEnd, StoredPython36SelectionShowsThePython36Pages) {
    StoredPythonSelection stored("Python 3.6.6");
    Installer app;
    ASSERT_TRUE(app.start(installerPath()));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(goesTo(sheet, ID_NAV_OTC, "OTC - Orvanto Tool Components (Python 36)"));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_DEMO_PROFILES, "Machine Vision Demonstration Profiles (Python 36)"));
    EXPECT_TRUE(goesTo(sheet, ID_NAV_CORE, "Core Installation"));
    EXPECT_TRUE(goesTo(sheet, kNext, "Core Installation Status"));
    EXPECT_TRUE(goesTo(sheet, kNext, "Recommended Orvanto Extensions (Python 36)"));
    EXPECT_TRUE(goesTo(sheet, kNext, "Orvanto 3D Toolbox - Deepform Vision (Python 36)"));
    EXPECT_TRUE(goesTo(sheet, kNext, "Optional Orvanto Extensions (Python 36)"));
}

TEST(WizardEndToEnd, DownloadButtonHiddenWhenTheProgramFolderIsReadOnly) {
    ScratchFolder folder;
    std::string copy = folder.file(kExeName);
    ASSERT_TRUE(::CopyFileA(installerPath().c_str(), copy.c_str(), FALSE));
    // The write test cannot create its file where a folder of that name stands.
    ASSERT_TRUE(::CreateDirectoryA(folder.file("testFile.txt").c_str(), nullptr));
    {
        Installer app;
        ASSERT_TRUE(app.start(copy));
        HWND sheet = app.findWindow(kCaption, "#32770");
        ASSERT_TRUE(sheet);
        ASSERT_TRUE(goesTo(sheet, ID_NAV_CORE, "Core Installation"));
        HWND download = ::GetDlgItem(currentPage(sheet), 1106);
        ASSERT_TRUE(download);
        EXPECT_FALSE(::IsWindowVisible(download));
        ASSERT_TRUE(goesTo(sheet, ID_NAV_CAMERA_DRIVERS, "3rd Party Camera Drivers - 1"));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(currentPage(sheet), 1106)));
    }
    Installer app;
    ASSERT_TRUE(app.start(installerPath()));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(goesTo(sheet, ID_NAV_CORE, "Core Installation"));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(currentPage(sheet), 1106)));
}

TEST(WizardEndToEnd, SecondStartIsRefusedWithAMessageTheDriverAnswers) {
    Installer first;
    ASSERT_TRUE(first.start(installerPath()));
    ASSERT_TRUE(first.findWindow(kCaption, "#32770"));

    ::SetEnvironmentVariableA("ORVANTO_STARTUP_WAIT_MS", "100"); // four short waits instead of 20 s
    Installer second;
    bool started = second.start(installerPath());
    ::SetEnvironmentVariableA("ORVANTO_STARTUP_WAIT_MS", nullptr);
    ASSERT_TRUE(started);
    std::string text;
    ASSERT_TRUE(second.answerMessageBox(kCaption, IDOK, &text));
    EXPECT_EQ(0u, text.find("Error: Another instance of the installer is already running."));
    EXPECT_TRUE(second.waitForExit(10000));
    EXPECT_TRUE(first.running());
}
