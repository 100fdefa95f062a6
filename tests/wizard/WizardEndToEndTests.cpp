// The real installer, started as its own process and worked through its
// windows like a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <memory>
#include <shlobj.h>

#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "support/DemoRepository.h"
#include "support/ShippedInstaller.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"
#include "wizard_ids.h"

using uidriver::Installer;

using namespace shipped;

namespace {

const int kBack = 0x3023, kNext = 0x3024;

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

// ---------------------------------------------------------------- the walk against the demo repository

namespace {

const DWORD kInstallWaitMs = 240000;

// The walk's screenshots, for a person to look at: build/x64/walk-screenshots.
std::string walkScreenshot(HWND sheet, const std::string& name) {
    std::string folder = buildFolder() + "\\walk-screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + name + ".bmp";
    uidriver::pause(800); // let the rows and pictures paint
    Installer::screenshot(sheet, path);
    return path;
}

// A visible message box of the program whose caption is exactly `caption`.
HWND findBox(DWORD pid, const std::string& caption) {
    struct Search {
        DWORD pid;
        const std::string* caption;
        HWND hit;
    } search = {pid, &caption, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->pid || !::IsWindowVisible(hwnd) || uidriver::className(hwnd) != "#32770" ||
                uidriver::windowText(hwnd) != *s->caption)
                return TRUE;
            s->hit = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hit;
}

// Answers every box of `caption` that appears while `done` is not yet true
// (the wizard asks before it repairs or switches), keeping their texts.
template <typename F>
bool waitAnswering(Installer& app, F done, const std::string& caption, int button,
                   std::vector<std::string>* texts, DWORD timeoutMs) {
    return uidriver::waitUntil(
        [&] {
            if (done())
                return true;
            if (HWND box = findBox(app.pid(), caption)) {
                if (texts)
                    texts->push_back(uidriver::windowText(::GetDlgItem(box, 0xFFFF)));
                Installer::click(box, ::GetDlgItem(box, button) ? button : IDOK);
                uidriver::pause(300);
            }
            return false;
        },
        timeoutMs);
}

// The interpreter choice the installer saved (it saves after installing).
std::string storedSelection() {
    char value[64] = {};
    ::GetPrivateProfileStringA("PySelVersion", "VersionName", "", value, sizeof(value), pyselPath().c_str());
    return value;
}

// What the walk installed is removed again, whatever happened on the way;
// the walk also starts on a machine without any of it.
void sweepWalkLeftovers() {
    std::string cache = buildFolder() + "\\_OrvantoInstallData";
    deleteFolderTree(cache.c_str(), "_OrvantoInstallData");
    ::DeleteFileA(pyselPath().c_str());
}

} // namespace

// A walk starts the installer against the demo repository with Python 2.7.9
// chosen, and leaves the machine as it found it.
class WizardWalk : public ::testing::Test {
protected:
    void SetUp() override {
        char url[512] = {};
        if (!::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", url, sizeof(url)))
            GTEST_SKIP() << "needs the demo repository (ORVANTO_REPOSITORY_URL)";
        cleanup.reset(new DemoMachineGuard(sweepWalkLeftovers));
        stored.reset(new StoredPythonSelection("Python 2.7.9"));
        ASSERT_TRUE(app.start(installerPath()));
        sheet = app.findWindow(kCaption, "#32770");
        ASSERT_TRUE(sheet);
    }

    // Declared in the order they are made: the installer ends first.
    std::unique_ptr<DemoMachineGuard> cleanup;
    std::unique_ptr<StoredPythonSelection> stored;
    Installer app;
    HWND sheet = nullptr;
};

// An engineer's first session on a new vision PC, against the demo
// repository: prerequisites, core components, removal, repair of a
// mismatched component and the switch to Python 3.6.
TEST_F(WizardWalk, PrerequisitesCoreRemovalRepairAndPythonSwitch) {

    // Prerequisites: Install All, every row ends "Installed".
    ASSERT_TRUE(goesTo(sheet, kNext, "Orvanto Vision Resources"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Readme Notes"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Prerequisite Installation"));
    HWND page = currentPage(sheet);
    walkScreenshot(sheet, "prerequisites-before");
    ASSERT_TRUE(Installer::click(page, 1037));
    const int statusIds[] = {1105, 1034, 1035, 1038, 1092, 1093};
    auto allInstalled = [&] {
        for (int id : statusIds)
            if (Installer::text(page, id) != "Installed")
                return false;
        return Installer::text(page, 1009) == "Status: Installed";
    };
    std::vector<std::string> boxes;
    EXPECT_TRUE(waitAnswering(app, allInstalled, kCaption, IDYES, &boxes, kInstallWaitMs));
    for (int id : statusIds)
        EXPECT_EQ("Installed", Installer::text(page, id)) << id;
    EXPECT_EQ("Status: Installed", Installer::text(page, 1009));
    EXPECT_EQ("Please click on the 'Next' button to proceed", Installer::text(page, 1098));
    walkScreenshot(sheet, "prerequisites-after");

    // Core components: the vision software brings the runtime along; "Finish" replaces "Cancel".
    ASSERT_TRUE(goesTo(sheet, kNext, "Core Installation"));
    page = currentPage(sheet);
    walkScreenshot(sheet, "core-before");
    EXPECT_EQ("Cancel", Installer::text(sheet, IDCANCEL));
    ASSERT_TRUE(Installer::click(page, 1052));
    auto coreInstalled = [&] {
        return Installer::text(page, 1002) == "Installed" && Installer::text(page, 1037) == "Installed";
    };
    EXPECT_TRUE(waitAnswering(app, coreInstalled, kCaption, IDYES, &boxes, kInstallWaitMs));
    EXPECT_TRUE(Installer::waitForText(sheet, IDCANCEL, "Finish"));
    walkScreenshot(sheet, "core-after");

    // The status page is passed over both ways while nothing is wrong.
    EXPECT_TRUE(goesTo(sheet, kNext, "Recommended Orvanto Extensions"));
    EXPECT_TRUE(goesTo(sheet, kBack, "Core Installation"));
    page = currentPage(sheet);

    // Removal: back to "Not Installed", and the status page stops the way on.
    ASSERT_TRUE(Installer::click(page, 1051));
    EXPECT_TRUE(waitAnswering(
        app, [&] { return Installer::text(page, 1037) == "Not Installed"; }, kCaption, IDYES, &boxes,
        kInstallWaitMs));
    EXPECT_TRUE(Installer::waitForText(sheet, IDCANCEL, "Cancel"));
    ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0); // Next is disabled for the mouse
    ASSERT_TRUE(Installer::waitForCaption(sheet, kCaption + " - Core Installation Status"));
    EXPECT_TRUE(Installer::waitForText(currentPage(sheet), 1098,
                                       "Core components are not installed successfully. Please click on the "
                                       "'Back' button to try again"));
    walkScreenshot(sheet, "core-status-not-installed");
    ASSERT_TRUE(goesTo(sheet, kBack, "Core Installation"));
    page = currentPage(sheet);

    // A runtime of another build under the same product reads "Version
    // Mismatch"; its Install repairs (after the question) and installs.
    ASSERT_TRUE(Installer::click(page, 1115));
    ASSERT_TRUE(waitAnswering(
        app, [&] { return Installer::text(page, 1002) == "Not Installed"; }, kCaption, IDYES, &boxes,
        kInstallWaitMs));
    ASSERT_EQ(0, runMsiexec("/i \"" + buildFolder() + "\\test-packages\\runtime-renamed.msi\" /qn"));
    ASSERT_TRUE(goesTo(sheet, kBack, "Prerequisite Installation"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Core Installation"));
    page = currentPage(sheet);
    EXPECT_TRUE(Installer::waitForText(page, 1002, "Version Mismatch"));
    ASSERT_TRUE(Installer::click(page, 1116));
    std::vector<std::string> repairBoxes;
    EXPECT_TRUE(waitAnswering(
        app, [&] { return Installer::text(page, 1002) == "Installed"; }, kCaption, IDYES, &repairBoxes,
        kInstallWaitMs));
    ASSERT_FALSE(repairBoxes.empty());
    EXPECT_EQ(0u, repairBoxes[0].find("Errors are observed in existing installations."));

    // Python 3.6: the question, the interpreter, and the later pages change.
    ASSERT_TRUE(goesTo(sheet, kBack, "Prerequisite Installation"));
    page = currentPage(sheet);
    ASSERT_TRUE(Installer::chooseComboItem(page, 1285, "Python 3.6.6"));
    std::vector<std::string> switchBoxes;
    EXPECT_TRUE(waitAnswering(
        app,
        [&] {
            return storedSelection() == "Python 3.6.6" && Installer::text(page, 1009) == "Status: Installed";
        },
        kCaption, IDYES, &switchBoxes, kInstallWaitMs));
    ASSERT_FALSE(switchBoxes.empty());
    EXPECT_EQ(0u, switchBoxes[0].find("You have selected to switch to Python 3.6.6."));
    walkScreenshot(sheet, "prerequisites-python36");
    EXPECT_TRUE(goesTo(sheet, ID_NAV_OTC, "OTC - Orvanto Tool Components (Python 36)"));
}

namespace {

const int kPackageCombo = 1304, kPackageList = 1305, kValidate = 1306, kInstallAll = 1042,
          kUninstallAll = 1112;
const int kClrCombo = 1238, kClrStatus = 1037;
const char* const kModules = "\\repository\\orvanto\\files\\InstallerDownloads\\_Modules\\";

// Row controls of the optional package pages: four per row from 3100.
int rowControl(int slot, int part) {
    return 3100 + 4 * slot + part;
}

// The sheet's page once it is the one that holds `id`: the sheet's caption
// changes while the page is being activated, before the sheet names it
// current, and the activation may ask something first (answered with OK).
HWND pageWith(Installer& app, HWND sheet, int id) {
    HWND page = nullptr;
    waitAnswering(
        app,
        [&] {
            page = currentPage(sheet);
            return page && ::GetDlgItem(page, id);
        },
        kCaption, IDOK, nullptr, 30000);
    return page;
}

bool enabled(HWND page, int id) {
    return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE;
}

int itemCount(HWND page, int id, UINT message) {
    return static_cast<int>(::SendMessageA(::GetDlgItem(page, id), message, 0, 0));
}

// The interpreter's folder as its setup registered it, with its separator.
std::string interpreterFolder(const char* version) {
    std::string folder;
    hnRegReadString(HKEY_LOCAL_MACHINE,
                    (std::string("Software\\Python\\PythonCore\\") + version + "\\InstallPath").c_str(),
                    nullptr, folder, MAX_PATH);
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

// The interpreter's pip database: "Name:" and "Version:" lines, record after
// record (line ends as written, read without carriage returns).
std::string pipDatabase(const std::string& interpreter) {
    std::string database = readTextFile(interpreter + "Scripts\\packages.txt");
    database.erase(std::remove(database.begin(), database.end(), '\r'), database.end());
    return database;
}
bool pipKnows(const std::string& interpreter, const std::string& name, const std::string& version) {
    return pipDatabase(interpreter).find("Name: " + name + "\nVersion: " + version + "\n") !=
           std::string::npos;
}
bool pipKnowsName(const std::string& interpreter, const std::string& name) {
    return pipDatabase(interpreter).find("Name: " + name + "\n") != std::string::npos;
}

// A served file replaced for a while; the original comes back at the end.
class ServedFile {
public:
    explicit ServedFile(const std::string& relative)
        : path_(buildFolder() + kModules + relative), original_(readTextFile(path_)) {}
    ~ServedFile() { writeTextFile(path_, original_); }
    const std::string& original() const { return original_; }
    void replace(const std::string& content) { writeTextFile(path_, content); }

private:
    std::string path_;
    std::string original_;
};

// Prerequisites and core components from the first page on, answering the questions.
void installPrerequisitesAndCore(Installer& app, HWND sheet) {
    ASSERT_TRUE(goesTo(sheet, kNext, "Orvanto Vision Resources"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Readme Notes"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Prerequisite Installation"));
    HWND page = pageWith(app, sheet, 1037);
    ASSERT_TRUE(Installer::click(page, 1037));
    auto allInstalled = [&] {
        for (int id : {1105, 1034, 1035, 1038, 1092, 1093})
            if (Installer::text(page, id) != "Installed")
                return false;
        return Installer::text(page, 1009) == "Status: Installed";
    };
    ASSERT_TRUE(waitAnswering(app, allInstalled, kCaption, IDYES, nullptr, kInstallWaitMs));
    ASSERT_TRUE(goesTo(sheet, kNext, "Core Installation"));
    page = pageWith(app, sheet, 1052);
    ASSERT_TRUE(Installer::click(page, 1052));
    ASSERT_TRUE(waitAnswering(
        app,
        [&] {
            return Installer::text(page, 1002) == "Installed" && Installer::text(page, 1037) == "Installed";
        },
        kCaption, IDYES, nullptr, kInstallWaitMs));
}

// A package of the set: pip's project name and version.
using PipPackage = std::pair<std::string, std::string>;

// On a recommended page: the set whose wheel pip rejects installs what comes
// before that wheel and stops there; once the server has a good copy, Install
// All repairs the set; Uninstall All takes it away again.
void walkFailingSetAndRepair(Installer& app, HWND page, const std::string& interpreter, const char* setName,
                             const std::string& badWheel, const PipPackage& before, const PipPackage& bad,
                             const PipPackage& after) {
    // A database that an interrupted earlier run left behind would answer for the set.
    writeTextFile(interpreter + "Scripts\\packages.txt", "");
    bool listed = waitAnswering(
        app, [&] { return itemCount(page, kPackageCombo, CB_GETCOUNT) == 4; }, kCaption, IDOK, nullptr,
        30000);
    if (!listed)
        walkScreenshot(::GetParent(page), std::string("package-sets-missing-") + setName);
    ASSERT_TRUE(listed) << itemCount(page, kPackageCombo, CB_GETCOUNT) << " sets";
    ASSERT_TRUE(Installer::chooseComboItem(page, kPackageCombo, setName));
    EXPECT_FALSE(enabled(page, kInstallAll)) << "nothing to install before the set is validated";
    ASSERT_TRUE(Installer::click(page, kValidate));
    ASSERT_TRUE(uidriver::waitUntil([&] { return enabled(page, kInstallAll); }, 30000));
    EXPECT_FALSE(enabled(page, kUninstallAll));
    EXPECT_EQ(3, itemCount(page, kPackageList, LVM_GETITEMCOUNT));

    // The buttons of the set are disabled while it runs.
    auto runSet = [&](int button, const std::function<bool()>& done) {
        ASSERT_TRUE(Installer::click(page, button));
        uidriver::waitUntil([&] { return !enabled(page, kInstallAll); }, 10000);
        EXPECT_TRUE(waitAnswering(
            app, [&] { return (enabled(page, kInstallAll) || enabled(page, kUninstallAll)) && done(); },
            kCaption, IDYES, nullptr, kInstallWaitMs));
    };
    ServedFile served(badWheel);
    ASSERT_EQ(0u, served.original().find("invalid"));
    runSet(kInstallAll, [&] { return pipKnows(interpreter, before.first, before.second); });
    EXPECT_TRUE(enabled(page, kInstallAll));
    EXPECT_FALSE(pipKnowsName(interpreter, bad.first)) << "the rejected wheel left nothing behind";
    EXPECT_FALSE(pipKnowsName(interpreter, after.first)) << "the set stops at the failing wheel";

    served.replace("stand-in package, repaired on the server\r\n");
    runSet(kInstallAll, [&] {
        return pipKnows(interpreter, bad.first, bad.second) &&
               pipKnows(interpreter, after.first, after.second) && !enabled(page, kInstallAll);
    });
    walkScreenshot(::GetParent(page), std::string("package-set-repaired-") + setName);

    runSet(kUninstallAll, [&] { return !enabled(page, kUninstallAll); });
    for (const PipPackage& package : {before, bad, after})
        EXPECT_FALSE(pipKnowsName(interpreter, package.first)) << package.first;
}

// On an optional page: a row installs its package, then its Uninstall takes it away.
void walkOptionalRow(Installer& app, HWND page, const std::string& interpreter, int slot, const char* package,
                     const char* version, const std::string& element) {
    ASSERT_TRUE(uidriver::waitUntil([&] { return enabled(page, rowControl(slot, 2)); }, 30000));
    ASSERT_TRUE(Installer::click(page, rowControl(slot, 2)));
    EXPECT_TRUE(waitAnswering(
        app,
        [&] {
            return pipKnows(interpreter, package, version) && !enabled(page, rowControl(slot, 2)) &&
                   Installer::text(page, rowControl(slot, 0)) == element;
        },
        kCaption, IDYES, nullptr, kInstallWaitMs));
    ASSERT_TRUE(Installer::click(page, rowControl(slot, 3)));
    EXPECT_TRUE(waitAnswering(
        app,
        [&] {
            return !pipKnowsName(interpreter, package) &&
                   !::IsWindowVisible(::GetDlgItem(page, rowControl(slot, 3)));
        },
        kCaption, IDYES, nullptr, kInstallWaitMs));
}

} // namespace

// The Python package pages of both interpreters against the demo repository:
// a package set whose wheel pip rejects and its repair, single optional rows
// (the module whose own setup registers it with pip among them), and the .NET
// bridge switched to the pythonnet package and back to a bridge build.
TEST_F(WizardWalk, PythonPackagePagesOfBothInterpreters) {
    installPrerequisitesAndCore(app, sheet);
    if (HasFatalFailure())
        return;
    std::string python27 = interpreterFolder("2.7");
    ASSERT_FALSE(python27.empty());

    ASSERT_TRUE(goesTo(sheet, kNext, "Recommended Orvanto Extensions"));
    HWND page = pageWith(app, sheet, kClrCombo);
    walkFailingSetAndRepair(app, page, python27, "Orvanto 15.0 Deep Learning",
                            "Py27\\scipy\\scipy-1.1.0-cp27-cp27m-win32.whl", {"numpy", "1.16.4"},
                            {"scipy", "1.1.0"}, {"opencv-contrib-python", "4.2.0.32"});
    walkScreenshot(sheet, "python27-recommended");

    // The bridge: the pythonnet package, then the CLR 2.0 build again.
    ASSERT_TRUE(Installer::chooseComboItem(page, kClrCombo, "pythonnet-2.3.0-cp27-cp27m-win32"));
    EXPECT_TRUE(waitAnswering(
        app,
        [&] {
            return pipKnows(python27, "pythonnet", "2.3.0") &&
                   Installer::text(page, kClrStatus) == "Status: Installed";
        },
        kCaption, IDOK, nullptr, kInstallWaitMs));
    ASSERT_TRUE(Installer::chooseComboItem(page, kClrCombo, "Python 2.7 CLR 2.0"));
    EXPECT_TRUE(waitAnswering(
        app,
        [&] {
            return !pipKnowsName(python27, "pythonnet") && Installer::text(page, kClrStatus) == "Status: Ok";
        },
        kCaption, IDOK, nullptr, kInstallWaitMs));
    walkScreenshot(sheet, "python27-recommended-clr");

    ASSERT_TRUE(goesTo(sheet, kNext, "Orvanto 3D Toolbox - Deepform Vision"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Optional Orvanto Extensions"));
    page = pageWith(app, sheet, 1300);
    walkOptionalRow(app, page, python27, 3, "Keras", "2.2.4", "Python 27 extension - Keras");
    walkOptionalRow(app, page, python27, 8, "dxfgrabber", "0.7.5", "Python 27 extension - dxfgrabber");
    walkScreenshot(sheet, "python27-optional");

    // Python 3.6: the same pages for the other interpreter.
    ASSERT_TRUE(goesTo(sheet, ID_NAV_CORE, "Core Installation"));
    ASSERT_TRUE(goesTo(sheet, kBack, "Prerequisite Installation"));
    ASSERT_TRUE(Installer::chooseComboItem(pageWith(app, sheet, 1285), 1285, "Python 3.6.6"));
    EXPECT_TRUE(waitAnswering(
        app,
        [&] {
            return storedSelection() == "Python 3.6.6" &&
                   Installer::text(pageWith(app, sheet, 1285), 1009) == "Status: Installed";
        },
        kCaption, IDYES, nullptr, kInstallWaitMs));
    std::string python36 = interpreterFolder("3.6-32");
    ASSERT_FALSE(python36.empty());
    ASSERT_TRUE(goesTo(sheet, ID_NAV_CORE, "Core Installation"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Recommended Orvanto Extensions (Python 36)"));
    page = pageWith(app, sheet, kPackageCombo);
    walkFailingSetAndRepair(app, page, python36, "Orvanto 15.0 Python 3.6 Deep Learning",
                            "Py36\\scipy\\scipy-1.3.0-cp36-cp36m-win32.whl", {"numpy", "1.15.4"},
                            {"scipy", "1.3.0"}, {"opencv-python", "4.1.0.25"});
    walkScreenshot(sheet, "python36-recommended");
    ASSERT_TRUE(goesTo(sheet, kNext, "Orvanto 3D Toolbox - Deepform Vision (Python 36)"));
    ASSERT_TRUE(goesTo(sheet, kNext, "Optional Orvanto Extensions (Python 36)"));
    page = pageWith(app, sheet, 1308);
    walkOptionalRow(app, page, python36, 9, "six", "1.12.0", "Python 36 extension - six");
    walkScreenshot(sheet, "python36-optional");
}
