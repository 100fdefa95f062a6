#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <windows.h>
#include <msi.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/StopBlock.h"
#include "app/SystemView.h"
#include "process/ProcessLaunch.h"
#include "process/SystemInfo.h"
#include "process/TempFolder.h"
#include "process/UninstallRunners.h"
#include "support/TestSupport.h"

namespace {

// The recorder tool copied to a path of the test's choosing; its command
// lines land in a record file through the inherited environment.
class Recorder {
public:
    explicit Recorder(const std::string& relativePath = "recorder.exe") {
        path = scratch.file(relativePath);
        makeFolders(path.substr(0, path.find_last_of('\\')));
        ::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(), path.c_str(), FALSE);
        record = scratch.file("record.txt");
        ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", record.c_str());
    }
    ~Recorder() {
        ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
        ::SetEnvironmentVariableA("ORVANTO_RECORD_SLEEP_MS", nullptr);
        ::SetEnvironmentVariableA("ORVANTO_RECORD_EXIT", nullptr);
        ::SetEnvironmentVariableA("ORVANTO_RECORD_EXIT_FIRST", nullptr);
    }
    std::string lines() const { return readTextFile(record); }

    ScratchFolder scratch;
    std::string path;
    std::string record;
};

// A top-level window with a title, owned by a thread of its own; it records
// the command identifiers it receives and closes on WM_CLOSE (or after
// `lifetimeMs`).
class TitledWindow {
public:
    explicit TitledWindow(const char* title, DWORD lifetimeMs = 60000) {
        thread_ = std::thread([this, title, lifetimeMs] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = &TitledWindow::proc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "OrvantoTestTitledWindow";
            ::RegisterClassA(&wc);
            HWND hwnd = ::CreateWindowA(wc.lpszClassName, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                        nullptr, wc.hInstance, nullptr);
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            ::SetTimer(hwnd, 1, lifetimeMs, nullptr);
            window_ = hwnd;
            MSG msg;
            while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
                ::DispatchMessageA(&msg);
        });
        waitFor([this] { return window_ != nullptr; }, 5000);
    }
    ~TitledWindow() {
        if (::IsWindow(window_))
            ::PostMessageA(window_, WM_CLOSE, 0, 0);
        thread_.join();
    }
    bool open() const { return ::IsWindow(window_) != FALSE; }
    volatile WPARAM command = 0;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TitledWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (message == WM_COMMAND && self)
            self->command = wParam;
        if (message == WM_TIMER || message == WM_CLOSE) {
            ::DestroyWindow(hwnd);
            return 0;
        }
        if (message == WM_DESTROY)
            ::PostQuitMessage(0);
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    std::thread thread_;
    HWND volatile window_ = nullptr;
};

// An Uninstall key of the test in the program's registry view (HKCU).
class UninstallKey {
public:
    UninstallKey(const std::string& subKey, const char* uninstallString) : path(subKey) {
        hnScopedKey key;
        hnRegCreateKey(HKEY_CURRENT_USER, path.c_str(), KEY_WRITE, key.put());
        if (uninstallString)
            ::RegSetValueExA(key.get(), "UninstallString", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(uninstallString),
                             static_cast<DWORD>(strlen(uninstallString) + 1));
    }
    ~UninstallKey() { ::RegDeleteKeyExA(HKEY_CURRENT_USER, path.c_str(), hnRegistryView(), 0); }
    std::string path;
};

const char* const kUninstallRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

} // namespace

TEST(RunProgram, JoinsArgumentsAndQuotesOnlyTheProgramsOwnPathWithBlanks) {
    Recorder tool("with blank\\recorder.exe");
    ::SetEnvironmentVariableA("ORVANTO_RECORD_EXIT", "7");
    EXPECT_EQ(7, runProgram(hnRunMode::Wait, tool.path, {tool.path, "a b", "", "c"}));
    EXPECT_EQ(-1, runProgram(hnRunMode::Wait, tool.path, {""}));
    EXPECT_EQ(-1, runProgram(hnRunMode::Wait, "", {"x"}));
    EXPECT_EQ(-1, runProgram(hnRunMode::Wait, tool.path, {}));
    EXPECT_EQ(-1, runProgram(hnRunMode::Wait, tool.scratch.file("missing.exe"), {"x"}));
    EXPECT_EQ("\"" + tool.path + "\" a b  c\n", tool.lines());
}

TEST(RunProgram, NoWaitReturnsWhileTheProgramRuns) {
    Recorder tool;
    ::SetEnvironmentVariableA("ORVANTO_RECORD_SLEEP_MS", "8000");
    EXPECT_EQ(0, runProgram(hnRunMode::NoWait, tool.path, {tool.path}));
    // Still running: the call did not wait for its end, however slow the start.
    EXPECT_EQ(1, countProcessesByImageName("RECORDER.EXE"));
    EXPECT_TRUE(waitFor([&] { return !tool.lines().empty(); }, 30000));
    EXPECT_TRUE(waitFor([&] { return countProcessesByImageName("recorder.exe") == 0; }, 30000));
}

TEST(RunDownloadedInstaller, ExecutablesGetTheirSwitchesAsWholeCommandLine) {
    Recorder tool;
    runDownloadedInstaller(tool.path, " /S", false);
    runDownloadedInstaller(tool.path, "CopyEXEFullPath", false);
    runDownloadedInstaller(tool.path, "", false); // starts nothing
    EXPECT_EQ(" /S\n" + tool.path + "\n", tool.lines());
}

TEST(RunDownloadedInstaller, MsiexecPathMixesSeparatorsAsWindowsAcceptsThem) {
    std::string folder;
    ASSERT_TRUE(hnSystemFolder(folder));
    std::string path = msiexecPath();
    ASSERT_GT(path.size(), 12u);
    EXPECT_EQ("\\msiexec.exe", path.substr(path.size() - 12));
    EXPECT_EQ(std::string::npos, path.substr(0, path.size() - 12).find('\\'));
    EXPECT_TRUE(fileExists(path));
}

TEST(UninstallString, SplittingQuotedAndPlainForms) {
    struct Case {
        const char* text;
        const char* program;
        const char* arguments;
    } cases[] = {
        {"\"C:\\Program Files (x86)\\App\\unins000.exe\" /SILENT",
         "C:\\Program Files (x86)\\App\\unins000.exe", "/SILENT"},
        {"\"C:\\App\\setup.exe\" -runfromtemp -l0x0009 -removeonly", "C:\\App\\setup.exe",
         "-runfromtemp -l0x0009 -removeonly"},
        {"\"C:\\App\\unins.exe\"", "C:\\App\\unins.exe", ""},
        {"\"C:\\App\\unins.exe\" ", "C:\\App\\unins.exe", ""},
        {"\"C:\\App\\no closing quote.exe", "C:\\App\\no closing quote.exe", ""},
        {"\"", "", ""},
        {"C:\\App\\unins.exe /S", "C:\\App\\unins.exe", "/S"},
        {"C:\\App\\unins.exe", "C:\\App\\unins.exe", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        std::string program, arguments;
        splitUninstallString(c.text, program, arguments);
        EXPECT_EQ(c.program, program) << c.text;
        EXPECT_EQ(c.arguments, arguments) << c.text;
    }
}

TEST(UninstallRunners, AutoConfirmRunsTheStringAndAnswersTheUninstallerWindows) {
    Recorder tool("Program Files\\App\\unins000.exe");
    std::string value = "\"" + tool.path + "\" /SILENT";
    UninstallKey key(std::string(kUninstallRoot) + "OrvantoTestApp_is1", value.c_str());
    TitledWindow confirm("Please confirm");
    TitledWindow finished("Uninstall Finished!");
    EXPECT_TRUE(runUninstallStringWithAutoConfirm(key.path));
    EXPECT_EQ("\"" + tool.path + "\" /SILENT\n", tool.lines());
    EXPECT_TRUE(waitFor([&] { return confirm.command == 6; }, 10000));
    EXPECT_TRUE(waitFor([&] { return !finished.open(); }, 10000));

    UninstallKey empty(std::string(kUninstallRoot) + "OrvantoTestNoValue", nullptr);
    EXPECT_FALSE(runUninstallStringWithAutoConfirm(empty.path));
    EXPECT_TRUE(runUninstallStringWithAutoConfirm(std::string(kUninstallRoot) + "OrvantoTestNeverInstalled"));
}

TEST(UninstallRunners, InstallShieldStringRunsWithItsArgumentTextAlone) {
    Recorder tool;
    std::string value = "\"" + tool.path + "\" -runfromtemp -removeonly";
    UninstallKey key(std::string(kUninstallRoot) + "InstallShield_{ORVANTO-TEST}", value.c_str());
    EXPECT_TRUE(runInstallShieldUninstall("{ORVANTO-TEST}"));
    EXPECT_FALSE(runInstallShieldUninstall("{ORVANTO-MISSING}"));
    EXPECT_EQ("-runfromtemp -removeonly\n", tool.lines());
}

TEST(UninstallRunners, WaitWindowFollowsTheUninstallerWindowUntilItCloses) {
    Recorder tool;
    std::string value = "\"" + tool.path + "\"";
    UninstallKey key(std::string(kUninstallRoot) + "OrvantoTestVnc", value.c_str());
    TitledWindow window("OrvantoTestVnc Uninstall ", 1500);
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(runUninstallStringAndWaitWindow("OrvantoTestVnc", "OrvantoTestVnc Uninstall "));
    EXPECT_FALSE(window.open());
    EXPECT_GE(::GetTickCount() - start, 1000u);
    EXPECT_EQ(tool.path + "\n", tool.lines());
    EXPECT_FALSE(runUninstallStringAndWaitWindow("OrvantoTestMissing"));
}

TEST(UninstallRunners, OpcServerWindowIsClosedOrReportedMissing) {
    hnOpcWindowTimings quick;
    quick.find = {10, 30};
    quick.settleMs = 100;
    quick.gone = {10, 300};
    EXPECT_EQ(-1, closeOrvantoOpcServerWindow(quick));
    TitledWindow window("Orvanto OPCServer [ Halvenor.OPC.Orvanto.DA.1 ]");
    EXPECT_EQ(1, closeOrvantoOpcServerWindow(quick));
    EXPECT_FALSE(window.open());
}

TEST(TempFolder, SubFolderIsRecreatedEmptyInThePrivateTempFolder) {
    DebugCapture debug;
    char path[kTempSubFolderCapacity];
    EXPECT_FALSE(createTempSubFolder(path, nullptr));
    EXPECT_FALSE(createTempSubFolder(nullptr, "x"));
    EXPECT_TRUE(debug.contains("createTempSubFolder - NULL pointer 1\n"));
    EXPECT_TRUE(debug.contains("createTempSubFolder - NULL pointer 2\n"));

    ASSERT_TRUE(createTempSubFolder(path, "20261209101010"));
    std::string first = path;
    std::string temp;
    hnTempFolder(temp);
    EXPECT_EQ(temp + "Orvanto10_9267\\20261209101010", first);
    ASSERT_TRUE(writeTextFile(first + "\\left.txt", "x"));
    ASSERT_TRUE(createTempSubFolder(path, "20261209101010"));
    EXPECT_EQ(first, std::string(path));
    EXPECT_FALSE(fileExists(first + "\\left.txt"));
    deleteFolderTree(path, "20261209101010");
}

TEST(TempFolder, CopyRenamedFileReplacesAnEarlierCopy) {
    DebugCapture debug;
    ScratchFolder scratch;
    std::string source = scratch.file("numpy-1.14.0-mkl-cp27-cp27m-win32.whl");
    ASSERT_TRUE(writeTextFile(source, "wheel"));
    char out[MAX_PATH];
    EXPECT_EQ(-1, copyRenamedFileToWindowsTempFolder("n", nullptr, out));
    EXPECT_EQ(-1, copyRenamedFileToWindowsTempFolder(nullptr, source.c_str(), out));
    EXPECT_EQ(-1, copyRenamedFileToWindowsTempFolder("n", source.c_str(), nullptr));
    EXPECT_EQ(-2, copyRenamedFileToWindowsTempFolder("n", scratch.file("none").c_str(), out));
    EXPECT_TRUE(debug.contains("copyRenamedFileToWindowsTempFolder - unable to locate original file\n"));

    const char* name = "numpy-1.14.0+mkl-cp27-cp27m-win32.whl";
    ASSERT_EQ(1, copyRenamedFileToWindowsTempFolder(name, source.c_str(), out));
    std::string copy = out;
    ::SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(writeTextFile(source, "newer wheel"));
    ASSERT_EQ(1, copyRenamedFileToWindowsTempFolder(name, source.c_str(), out));
    EXPECT_EQ(copy, std::string(out));
    EXPECT_EQ("newer wheel", readTextFile(copy));
    EXPECT_NE(std::string::npos, copy.find("Orvanto10_9267\\numpy-1.14.0+mkl"));
    EXPECT_EQ(-4, copyRenamedFileToWindowsTempFolder("..\\escaped.whl", source.c_str(), out));
    EXPECT_FALSE(fileExists(copy.substr(0, copy.find("Orvanto10_9267")) + "escaped.whl"));
    deleteFileForced(copy);
}

TEST(ProcessCount, CountsEveryProcessOfAnImageNameIgnoringCase) {
    ToolProcess a("sleeper", "OrvCountMe.exe"), b("sleeper", "orvcountme.exe");
    EXPECT_TRUE(waitFor([] { return countProcessesByImageName("orvCOUNTme.exe") == 2; }, 5000));
    a.stop();
    EXPECT_EQ(1, countProcessesByImageName("OrvCountMe.exe"));
    EXPECT_EQ(0, countProcessesByImageName("OrvCountMe"));
}

TEST(PauseConsole, FailingCommandClosesTheConsoleAtOnce) {
    DebugCapture debug;
    EXPECT_FALSE(processCommandLineArgWithPause(nullptr));
    EXPECT_TRUE(debug.contains("processCommandLineArgWithPause - NULL pointer 1\n"));
    Recorder tool;
    DWORD start = ::GetTickCount();
    std::string command = "\"" + tool.path + "\" first&&exit 3";
    EXPECT_TRUE(processCommandLineArgWithPause(command.c_str()));
    EXPECT_LT(::GetTickCount() - start, 20000u);
    EXPECT_NE(std::string::npos, tool.lines().find("first"));
}

namespace {

const char* const kLaunchTestProduct = "{6B1E7A52-2E47-4C52-9E0B-3D2C1F6A7701}";

// The launch test package under a path with blanks (the quoted path keeps them).
struct LaunchTestPackage {
    LaunchTestPackage() {
        std::string package = testProgramFolder() + "\\..\\fixtures\\orvanto-launch-test.msi";
        copied = ::CopyFileA(package.c_str(), path.c_str(), FALSE) != FALSE;
    }
    static bool installed() { return ::MsiQueryProductStateA(kLaunchTestProduct) == INSTALLSTATE_DEFAULT; }

    ScratchFolder scratch;
    std::string path = scratch.file("Launch Test Package.msi");
    bool copied = false;
};

// Windows Installer busy with another installation: this thread holds the
// mutex of the installer's execute phase until release().
class BusyWindowsInstaller {
public:
    BusyWindowsInstaller() : mutex_(::CreateMutexA(nullptr, TRUE, "Global\\_MSIExecute")) {}
    ~BusyWindowsInstaller() { release(); }
    bool held() const { return static_cast<bool>(mutex_); }
    void release() {
        if (mutex_)
            ::ReleaseMutex(mutex_.get());
        mutex_.reset();
    }

private:
    hnScopedHandle mutex_;
};

// A call on a thread of its own with a stop block; joined when it goes.
class Worker {
public:
    explicit Worker(std::function<void(const hnStopBlock*)> body) : thread_([this, body] { body(&stop); }) {}
    ~Worker() { join(); }
    void join() {
        if (thread_.joinable())
            thread_.join();
    }
    hnStopBlock stop;

private:
    std::thread thread_;
};

bool logShows(std::size_t mark, const char* kind, const char* text) {
    return sessionLogLinesSince(mark, kind).find(text) != std::string::npos;
}

// How often the recorder ran.
long runs(const Recorder& tool) {
    std::string lines = tool.lines();
    return std::count(lines.begin(), lines.end(), '\n');
}

const char* const kBusyLine = "Windows Installer is busy with another installation";

} // namespace

TEST(RunDownloadedInstaller, PackagesGoThroughMsiexecAndComeOutAgain) {
    LaunchTestPackage package;
    ASSERT_TRUE(package.copied);
    std::size_t mark = sessionLogMark();
    runDownloadedInstaller(package.path, "", true);
    EXPECT_TRUE(package.installed()) << sessionLogLinesSince(mark, "Program");
    mark = sessionLogMark();
    runMsiexecUninstall(kLaunchTestProduct);
    EXPECT_FALSE(package.installed()) << sessionLogLinesSince(mark, "Program");
}

TEST(RunDownloadedInstaller, APackageWaitsForABusyWindowsInstallerAndAStopEndsTheWait) {
    LaunchTestPackage package;
    ASSERT_TRUE(package.copied);
    {
        // Nothing starts while the installer is busy; once it is free the
        // package goes in.
        BusyWindowsInstaller busy;
        ASSERT_TRUE(busy.held());
        std::size_t mark = sessionLogMark();
        Worker worker([&](const hnStopBlock* stop) { runDownloadedInstaller(package.path, "", true, stop); });
        EXPECT_TRUE(waitFor([&] { return logShows(mark, "Debug", kBusyLine); }, 60000));
        EXPECT_EQ("", sessionLogLinesSince(mark, "Program"));
        busy.release();
        worker.join();
        EXPECT_TRUE(logShows(mark, "Debug", "Windows Installer free after"));
        EXPECT_TRUE(package.installed()) << sessionLogLinesSince(mark, "Program");
    }
    {
        // A stop during the wait starts nothing and says so.
        BusyWindowsInstaller busy;
        std::size_t mark = sessionLogMark();
        Worker worker([&](const hnStopBlock* stop) { runMsiexecUninstall(kLaunchTestProduct, stop); });
        EXPECT_TRUE(waitFor([&] { return logShows(mark, "Debug", kBusyLine); }, 60000));
        worker.stop.requestStop();
        worker.join();
        std::string programs = sessionLogLinesSince(mark, "Program");
        EXPECT_NE(std::string::npos,
                  programs.find("not started: stop requested while Windows Installer was busy"))
            << programs;
        EXPECT_EQ(std::string::npos, programs.find("started " + msiexecPath())) << programs;
        EXPECT_TRUE(package.installed());
    }
    runMsiexecUninstall(kLaunchTestProduct);
    EXPECT_FALSE(package.installed());
}

TEST(RunWindowsInstaller, AskedAgainAfter1618WithinItsBoundAndNeverPastAStop) {
    {
        // The installation in progress ends: the second answer counts.
        Recorder msiexec;
        ::SetEnvironmentVariableA("ORVANTO_RECORD_EXIT_FIRST", "1618");
        std::size_t mark = sessionLogMark();
        EXPECT_EQ(0,
                  runWindowsInstaller(msiexec.path, {msiexec.path, "/i", "a.msi"}, nullptr, {60000, 50, 50}));
        EXPECT_EQ(2, runs(msiexec));
        EXPECT_TRUE(logShows(mark, "Debug", "another installation is in progress"));
    }
    {
        // It never ends: 1618 after the bound, never taken for success.
        Recorder msiexec;
        ::SetEnvironmentVariableA("ORVANTO_RECORD_EXIT", "1618");
        std::size_t mark = sessionLogMark();
        EXPECT_EQ(1618,
                  runWindowsInstaller(msiexec.path, {msiexec.path, "/i", "a.msi"}, nullptr, {1000, 100, 50}));
        EXPECT_TRUE(logShows(mark, "Program", "another installation still in progress after"));
    }
    {
        // A stop while it waits to ask again asks no more.
        Recorder msiexec;
        ::SetEnvironmentVariableA("ORVANTO_RECORD_EXIT", "1618");
        std::size_t mark = sessionLogMark();
        int code = 0;
        Worker worker([&](const hnStopBlock* stop) {
            code =
                runWindowsInstaller(msiexec.path, {msiexec.path, "/i", "a.msi"}, stop, {1200000, 600000, 50});
        });
        EXPECT_TRUE(waitFor([&] { return logShows(mark, "Debug", "asked again in"); }, 60000));
        worker.stop.requestStop();
        worker.join();
        EXPECT_EQ(1618, code);
        EXPECT_EQ(1, runs(msiexec));
        EXPECT_TRUE(logShows(mark, "Program", "not asked again: stop requested"));
    }
}
