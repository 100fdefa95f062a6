#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <windows.h>

#include <msi.h>
#include <tlhelp32.h>

#include "app/Dialog.h"
#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "app/ScopedHandle.h"
#include "app/StopBlock.h"
#include "app/SystemView.h"
#include "install/ActionTestSupport.h"
#include "install/DetectionSupport.h"
#include "install/InstallHelpers.h"
#include "install/Uninstall.h"
#include "process/ProcessLaunch.h"
#include "support/TestSupport.h"

namespace {

const std::string kUninstallRoot = "HKLM|SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::function<bool()> keyPresent(const std::string& key) {
    return [key] { return uninstallKeyExists(key); };
}

// A registered uninstaller made from the stand-in: the Uninstall key with its
// command, and the program with its script in a scratch folder.
struct RegisteredUninstaller {
    RegisteredUninstaller(const std::string& key, const std::string& program, const std::string& script)
        : key(key), path(placeStandIn(folder.path(), program, script)) {}
    ~RegisteredUninstaller() { deleteUninstallKey(key); }
    ScratchFolder folder;
    std::string key;
    std::string path;
};

hnInstallationElement element(const char* name) {
    return hnInstallationElement(name, "", "", "", "", false, 0, false, nullptr, nullptr, nullptr, "Test");
}

TEST(RegisteredCommand, QuotedFormRunsTheArgumentTextAsCommandLine) {
    ScratchFolder markers;
    RegisteredUninstaller tera("Tera Term_is1", "unins000.exe",
                               "args " + markers.file("tera.txt") + "\ndeletekey " + kUninstallRoot +
                                   "Tera Term_is1\n");
    ASSERT_TRUE(
        setUninstallValue(tera.key, "QuietUninstallString", "\"" + tera.path + "\" /VERYSILENT /NORESTART"));
    hnInstallationElement row = element("tera term 4.88");
    EXPECT_TRUE(uninstallComponentByName(row, false));
    EXPECT_EQ("/VERYSILENT /NORESTART\n", readTextFile(markers.file("tera.txt")));
    EXPECT_FALSE(uninstallKeyExists(tera.key));
    // Gone now: nothing to run.
    EXPECT_FALSE(uninstallComponentByName(row, false));
}

TEST(RegisteredCommand, InstallShieldAndFirstSpaceForms) {
    ScratchFolder markers;
    std::string fireKey = "InstallShield_{1AAA20E7-B683-4F94-A14C-C8186D0EC55F}";
    RegisteredUninstaller fire(fireKey, "setup.exe",
                               "args " + markers.file("fire.txt") + "\ndeletekey " + kUninstallRoot +
                                   fireKey + "\n");
    ASSERT_TRUE(
        setUninstallValue(fireKey, "UninstallString", "\"" + fire.path + "\" -runfromtemp -removeonly"));
    hnInstallationElement fireRow = element("Fire-i Application 4.0 - 32 bit");
    EXPECT_TRUE(uninstallComponentByName(fireRow, false));
    EXPECT_EQ("-runfromtemp -removeonly\n", readTextFile(markers.file("fire.txt")));
    EXPECT_FALSE(uninstallKeyExists(fireKey));

    RegisteredUninstaller scout("OPC CLIENT", "isuninst.exe",
                                "args " + markers.file("scout.txt") + "\ndeletekey " + kUninstallRoot +
                                    "OPC CLIENT\n");
    ASSERT_TRUE(setUninstallValue("OPC CLIENT", "UninstallString", scout.path + " -fC:\\uninst.isu"));
    hnInstallationElement scoutRow = element("OPC Scout (SIMATIC NET OPC-Client V6.2-3133)");
    EXPECT_TRUE(uninstallComponentByName(scoutRow, false));
    EXPECT_EQ(scout.path + " -fC:\\uninst.isu\n", readTextFile(markers.file("scout.txt")));
    EXPECT_FALSE(uninstallKeyExists("OPC CLIENT"));
}

TEST(RegisteredCommand, ConfirmationIsClickedAndTheFinishedWindowClosed) {
    RegisteredUninstaller mysql("MySQL-python-py2.7", "Removemysql.exe",
                                "confirm\ndeletekey " + kUninstallRoot +
                                    "MySQL-python-py2.7\nwindow Uninstall Finished!|60000\n");
    ASSERT_TRUE(setUninstallValue(mysql.key, "UninstallString", "\"" + mysql.path + "\" -u"));
    hnInstallationElement row = element("MySQL-python-1.2.4b4.win32-py2.7");
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(uninstallComponentByName(row, false));
    EXPECT_FALSE(uninstallKeyExists(mysql.key));
    EXPECT_LT(::GetTickCount() - start, 30000u); // closed, not waited out for its minute
}

// The uninstaller hands over to a copy of itself that shows its window; the
// removal returns once that window is gone.
TEST(RegisteredCommand, WindowOfADetachedUninstallerIsFollowed) {
    std::string temp;
    ASSERT_TRUE(hnTempFolder(temp));
    RegisteredUninstaller host("TeamViewer 8 Host", "uninstall.exe", "spawn Un_TV8.exe\n");
    writeTextFile(host.folder.file("Un_TV8.exe.txt"),
                  "deletekey " + kUninstallRoot +
                      "TeamViewer 8 Host\nwindow TeamViewer 8 Host Uninstall|1500\n");
    ASSERT_TRUE(setUninstallValue(host.key, "UninstallString", "\"" + host.path + "\""));
    hnInstallationElement row = element("Orvanto TeamViewer 8 Host");
    EXPECT_TRUE(uninstallComponentByName(row, false));
    EXPECT_FALSE(::FindWindowA(nullptr, "TeamViewer 8 Host Uninstall"));
    EXPECT_FALSE(uninstallKeyExists(host.key));
    waitFor([&] { return deleteFileIfPresent(temp + "Un_TV8.exe"); }, 3000);
    deleteFileIfPresent(temp + "Un_TV8.exe.txt");
}

// The oldest MVS step runs the registered command of key MVS and follows the
// process it hands over to.
TEST(RegisteredCommand, MvsCascadeFollowsItsUninstallerProcess) {
    std::string temp;
    ASSERT_TRUE(hnTempFolder(temp));
    RegisteredUninstaller mvs("MVS", "uninst.exe", "spawn Au_.exe\n");
    writeTextFile(mvs.folder.file("Au_.exe.txt"), "sleep 600\ndeletekey " + kUninstallRoot + "MVS\n");
    ASSERT_TRUE(setUninstallValue("MVS", "UninstallString", "\"" + mvs.path + "\""));
    ASSERT_TRUE(setUninstallValue("MVS", "DisplayVersion", "2.2.3"));
    hnInstallationElement row = element("MVS 2.3.1");
    EXPECT_TRUE(uninstallComponentByName(row, false, shortTimings()));
    EXPECT_FALSE(uninstallKeyExists("MVS"));
    waitFor([&] { return deleteFileIfPresent(temp + "Au_.exe"); }, 3000);
    deleteFileIfPresent(temp + "Au_.exe.txt");
}

// Removing a newer suite first removes every older one still registered,
// oldest first.
TEST(RegisteredCommand, PylonCascadeRemovesOlderSuitesFirst) {
    ScratchFolder markers;
    std::string log = markers.file("pylon.txt");
    const std::string oldKey = "{4f492672-60bc-405e-ab6a-9e51ebb2f609}",
                      newKey = "{ffcf4e1b-f1d3-445b-8821-27942b95bc88}";
    RegisteredUninstaller older(oldKey, "old.exe",
                                "args " + log + "\ndeletekey " + kUninstallRoot + oldKey + "\n");
    RegisteredUninstaller newer(newKey, "new.exe",
                                "args " + log + "\ndeletekey " + kUninstallRoot + newKey + "\n");
    ASSERT_TRUE(setUninstallValue(oldKey, "UninstallString", "\"" + older.path + "\" /uninstall old"));
    ASSERT_TRUE(setUninstallValue(newKey, "UninstallString", "\"" + newer.path + "\" /uninstall new"));
    hnInstallationElement row = element("Pylon 5 Camera Software Suite 5.0.10.10613");
    EXPECT_TRUE(uninstallComponentByName(row, false));
    EXPECT_EQ("/uninstall old\n/uninstall new\n", readTextFile(log));
    EXPECT_FALSE(uninstallKeyExists(oldKey));
    EXPECT_FALSE(uninstallKeyExists(newKey));
}

// The utility's own uninstaller is opened through the shell and waited for;
// its Windows Installer product, already gone, then counts as removed.
TEST(RegisteredCommand, AdamApaxRunsItsUninstallerThenItsProduct) {
    ScratchFolder markers;
    const std::string key = "{C2E6E999-4516-40D2-8191-79B5CB4B987B}";
    RegisteredUninstaller adam(key, "uninst.exe",
                               "sleep 500\nargs " + markers.file("adam.txt") + "\ndeletekey " +
                                   kUninstallRoot + key + "\n");
    ASSERT_TRUE(setUninstallValue(key, "UninstallString", adam.path + " /S /x"));
    hnInstallationElement row = element("Adam/Apax .NET Utility 2.05.10");
    EXPECT_TRUE(uninstallComponentByName(row, false));
    EXPECT_NE(std::string::npos, readTextFile(markers.file("adam.txt")).find("/S /x"));
    EXPECT_FALSE(uninstallKeyExists(key));
}

TEST(UninstallElement, NotRemovableComponentEndsInUninstallErrorAfterAbort) {
    ScriptedPrompter prompter;
    prompter.answer(IDOK);
    prompter.answer(IDYES);
    ProbeDetection detection;
    std::string progress, status = "Installed";
    hnInstallationElement row("Windows Installer 3.1", "", "", "", "", false, 0, false, nullptr, &status,
                              &progress, "Test");
    detection.probes[row.name] = [] { return true; };
    std::string banner;
    RECT bannerRect = {}, client = {};
    clickAbortWhen([&] {
        if (prompter.records.empty())
            return false;
        HWND dialog =
            ::FindWindowA(nullptr, "Orvanto Vision Software XV 774 Installer - Uninstall Components");
        HWND header = ::GetDlgItem(dialog, 9702);
        banner = hnWindowText(header);
        ::GetClientRect(dialog, &client);
        ::GetWindowRect(header, &bannerRect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bannerRect), 2);
        return true;
    });
    EXPECT_EQ(-1, uninstallElement(detection, row, 2, 3, false));
    EXPECT_EQ("Uninstall Error", progress);
    EXPECT_EQ(0u, row.progressReason().find("After the removal the component is still found"));
    EXPECT_EQ("Uninstalling component 2 of 3\r\nWindows Installer 3.1", banner);
    // The banner spans the top of the dialog, 100 pixels high.
    EXPECT_EQ(0, bannerRect.left);
    EXPECT_EQ(0, bannerRect.top);
    EXPECT_EQ(client.right, bannerRect.right);
    EXPECT_EQ(100, bannerRect.bottom);
    EXPECT_EQ("Installed", status);
    ASSERT_EQ(2u, prompter.records.size());
    EXPECT_EQ("Unable to uninstall the product. Please click on the 'Abort' button to cancel the operation.",
              prompter.records[0].text);
    EXPECT_EQ("install_tests", prompter.records[0].caption);
    EXPECT_EQ("Do you want to abort uninstallation of the selected components?", prompter.records[1].text);
    EXPECT_EQ("Confirmation", prompter.records[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), prompter.records[1].type & MB_TYPEMASK);
}

TEST(UninstallElement, RegisteredUninstallerThroughTheDialog) {
    ScriptedPrompter prompter;
    std::string temp;
    ASSERT_TRUE(hnTempFolder(temp));
    RegisteredUninstaller speccy("Speccy", "uninst.exe", "spawn Un_Sp.exe\n");
    writeTextFile(speccy.folder.file("Un_Sp.exe.txt"),
                  "deletekey " + kUninstallRoot + "Speccy\nwindow Speccy v1.25 Uninstall|500\n");
    ASSERT_TRUE(setUninstallValue("Speccy", "UninstallString", "\"" + speccy.path + "\""));
    ProbeDetection detection;
    std::string progress, status = "Installed";
    hnInstallationElement row("Speccy v1.25", "", "", "", "", false, 0, false, nullptr, &status, &progress,
                              "Test");
    row.statusDetail = "1.24";
    detection.probes[row.name] = keyPresent("Speccy");
    hnActionTimings timings = shortTimings();
    EXPECT_EQ(1, uninstallElement(detection, row, 1, 1, false, timings));
    EXPECT_EQ("Ok", progress);
    EXPECT_EQ("Not Installed", status);
    EXPECT_TRUE(row.statusDetail.empty());
    EXPECT_TRUE(prompter.records.empty());
    waitFor([&] { return deleteFileIfPresent(temp + "Un_Sp.exe"); }, 3000);
    deleteFileIfPresent(temp + "Un_Sp.exe.txt");
}

// Ends every process of that image name (a stand-in left running on purpose).
void endProcessesNamed(const char* imageName) {
    hnScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, imageName))
            continue;
        hnScopedHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process) {
            ::TerminateProcess(process.get(), 1);
            ::WaitForSingleObject(process.get(), 5000);
        }
    }
}

// Removes `row` from its dialog and clicks Abort once `ready` holds, with the
// program of `imageName` running for a minute: the dialog closes at once, its
// worker ends by itself (no thread is killed) and the row reads as not
// removed. The program left running is ended afterwards.
void expectAbortEndsTheRemovalAtOnce(ProbeDetection& detection, hnInstallationElement& row,
                                     const std::string& progress, std::function<bool()> ready,
                                     const char* imageName, const DebugCapture& debug,
                                     bool stopOnErrors = false) {
    ScriptedPrompter prompter;
    prompter.answer(IDYES);
    // Timed from the click: the steps before it take their own time.
    auto clickedAt = std::make_shared<std::atomic<DWORD>>(0);
    clickAbortWhen([ready, clickedAt] {
        bool now = ready();
        if (now)
            *clickedAt = ::GetTickCount();
        return now;
    });
    DWORD start = ::GetTickCount();
    EXPECT_EQ(-1, uninstallElement(detection, row, 1, 1, stopOnErrors));
    DWORD elapsed = ::GetTickCount() - (*clickedAt ? clickedAt->load() : start);
    bool programRan = countProcessesByImageName(imageName) > 0;
    endProcessesNamed(imageName);

    EXPECT_TRUE(programRan) << imageName; // the abort came while it ran
    EXPECT_LT(elapsed, 30000u);           // a hang guard; the worker's own lateness is below
    for (const std::string& line : debug.lines())
        EXPECT_EQ(std::string::npos, line.find("worker did not end within")) << line;
    EXPECT_EQ("Uninstall Error", progress);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Do you want to abort uninstallation of the selected components?", prompter.records[0].text);
    for (const std::string& line : debug.lines())
        EXPECT_EQ(std::string::npos, line.find("terminating it")) << line;
}

TEST(UninstallElement, AbortDuringALongUninstallerEndsTheWorkerWithoutKillingIt) {
    RegisteredUninstaller tera("Tera Term_is1", "unins_long.exe", "sleep 60000\n");
    ASSERT_TRUE(setUninstallValue(tera.key, "QuietUninstallString", "\"" + tera.path + "\" /VERYSILENT"));
    ProbeDetection detection;
    std::string progress, status = "Installed";
    hnInstallationElement row("Tera Term 4.88", "", "", "", "", false, 0, false, nullptr, &status, &progress,
                              "Test");
    detection.probes[row.name] = keyPresent(tera.key);
    DebugCapture debug;
    expectAbortEndsTheRemovalAtOnce(
        detection, row, progress, [] { return countProcessesByImageName("unins_long.exe") > 0; },
        "unins_long.exe", debug);
}

// The same for a pip removal (pip answers a minute late), of a wheel row and
// of a row of the old setups, whose pip step follows their uninstaller; a
// stop already requested starts no pip at all.
TEST(UninstallElement, AbortDuringAPipRemovalEndsTheWaitWithoutKillingTheWorker) {
    FakeInterpreter python27{"2.7"};
    const std::string scripts = python27.folder() + "Scripts\\";
    auto pipKnowsNumpy = [scripts] {
        return readTextFile(scripts + "packages.txt").find("Name: numpy") != std::string::npos;
    };
    auto pipRemoving = [scripts] {
        return readTextFile(scripts + "calls.txt").find("uninstall numpy -y") != std::string::npos;
    };
    for (const char* name : {"numpy-1.16.4-cp27-cp27m-win32", "numpy-1.10.2-python2.7"}) {
        SCOPED_TRACE(name);
        python27.setPackages({{"numpy", "1.16.4"}});
        deleteFileIfPresent(scripts + "calls.txt");
        writeTextFile(scripts + "delay-once.txt", "60000");
        ProbeDetection detection;
        std::string progress, status = "Installed";
        hnInstallationElement row(name, "", "", "", "", false, 0, false, nullptr, &status, &progress, "Test");
        detection.probes[row.name] = pipKnowsNumpy;
        DebugCapture debug;
        expectAbortEndsTheRemovalAtOnce(detection, row, progress, pipRemoving, "pip.exe", debug);
        EXPECT_TRUE(debug.contains(
            "hnCheckInstallations::internalUninstallPy27ModuleWhl - Stop requested, pip left running\n"));
        EXPECT_TRUE(pipKnowsNumpy()) << "pip was ended before it removed anything";
    }

    deleteFileIfPresent(scripts + "delay-once.txt");
    int calls = python27.callCount();
    hnStopBlock stopped;
    stopped.requestStop();
    hnActionTimings timings = shortTimings();
    timings.stop = &stopped;
    hnInstallationElement row("numpy-1.16.4-cp27-cp27m-win32", "", "", "", "", false, 0, false, nullptr,
                              nullptr, nullptr, "Test");
    EXPECT_FALSE(uninstallComponentByName(row, true, timings));
    EXPECT_EQ(calls, python27.callCount());
    EXPECT_TRUE(pipKnowsNumpy());
}

// With "Stop on Package Errors" pip is asked after the silent removal and a
// removal it still reports is repeated in a visible console. Abort ends both
// waits the same way (the worker is not killed); the console stays open for
// the user to read and close.
TEST(UninstallElement, AbortDuringThePipCheckOrTheVisibleRepeatEndsTheWait) {
    FakeInterpreter python27{"2.7"};
    const std::string scripts = python27.folder() + "Scripts\\";
    auto pipKnowsNumpy = [scripts] {
        return readTextFile(scripts + "packages.txt").find("Name: numpy") != std::string::npos;
    };
    auto runRemoval = [&](std::function<bool()> ready, const char* imageName) {
        python27.setPackages({{"numpy", "1.16.4"}});
        deleteFileIfPresent(scripts + "calls.txt");
        ProbeDetection detection;
        std::string progress, status = "Installed";
        hnInstallationElement row("numpy-1.16.4-cp27-cp27m-win32", "", "", "", "", false, 0, false, nullptr,
                                  &status, &progress, "Test");
        detection.probes[row.name] = pipKnowsNumpy;
        DebugCapture debug;
        expectAbortEndsTheRemovalAtOnce(detection, row, progress, ready, imageName, debug, true);
    };
    // pip refuses the removal, so the package is still there to ask about.
    writeTextFile(scripts + "uninstall-refused.txt", "");
    {
        SCOPED_TRACE("pip show answers a minute late");
        writeTextFile(scripts + "delay-show.txt", "60000");
        runRemoval(
            [scripts] { return readTextFile(scripts + "calls.txt").find("show numpy") != std::string::npos; },
            "pip.exe");
        deleteFileIfPresent(scripts + "delay-show.txt");
    }
    {
        SCOPED_TRACE("the visible repeat stays open");
        LoggingConsole console(60000);
        runRemoval(
            [&console] { return console.log().find("uninstall \"numpy\" -y&pause") != std::string::npos; },
            "cmd.exe");
        deleteFileIfPresent(scripts + "uninstall-refused.txt");
    }
}

TEST(RepairElement, OnlyRepairWordsLeadToARemoval) {
    RegisteredUninstaller tera("Tera Term_is1", "unins000.exe",
                               "deletekey " + kUninstallRoot + "Tera Term_is1\n");
    ASSERT_TRUE(setUninstallValue(tera.key, "QuietUninstallString", "\"" + tera.path + "\" /SILENT"));
    std::string status = "Installed";
    hnInstallationElement row("Tera Term 4.88", "", "", "", "", false, 0, false, nullptr, &status, nullptr,
                              "Test");
    EXPECT_EQ(1, repairElement(false, row));
    EXPECT_TRUE(uninstallKeyExists(tera.key));

    status = "Version Mismatch";
    EXPECT_EQ(1, repairElement(false, row));
    EXPECT_FALSE(uninstallKeyExists(tera.key));
    // Gone: its method now fails, and the repair with it.
    EXPECT_EQ(-1, repairElement(false, row));

    // Names without a method have nothing to remove.
    hnInstallationElement unknown("Some Other Tool", "", "", "", "", false, 0, false, nullptr, &status,
                                  nullptr, "T");
    EXPECT_EQ(1, repairElement(false, unknown));
    hnInstallationElement installer("Windows Installer 3.1", "", "", "", "", false, 0, false, nullptr,
                                    &status, nullptr, "T");
    EXPECT_EQ(1, repairElement(false, installer));
}

TEST(UninstallMsiProduct, ProductAlreadyGoneCountsAsRemoved) {
    // A call for an unknown product would fail; success means no call was made.
    EXPECT_TRUE(uninstallMsiProduct("{00000000-1111-2222-3333-444444444444}"));
}

} // namespace

namespace {

const char* const kTightVnc32Code = "{981B8EDC-E693-4F22-9694-C0FF8E56F134}";

bool productInstalled(const char* productCode) {
    return ::MsiQueryProductStateA(productCode) == INSTALLSTATE_DEFAULT;
}

} // namespace

// The runtime's product goes through Windows Installer, then the Python
// integration is handed its removal; the product of the whole run is put
// back afterwards.
TEST(RuntimeRemoval, ProductIsRemovedThenTheIntegrationStepRuns) {
    const char* const code = "{76C2FFEE-53C1-4382-B051-5CF47ED51327}";
    ASSERT_TRUE(productInstalled(code));
    TestRuntime runtime;
    hnInstallationElement row = element("Orvanto Version XV 15.0.0.774 Runtime");
    EXPECT_TRUE(uninstallComponentByName(row, false)) << "whatever the integration step answers";
    EXPECT_FALSE(productInstalled(code));
    // Gone already: the product counts as removed and the step runs again.
    EXPECT_TRUE(uninstallComponentByName(row, false));
    ASSERT_EQ(runMsiexec("/i \"" + testPackagePath("runtime") + "\" /qn"), 0);
}

// The 32-bit TightVNC product installed, with an Uninstall key "TightVNC"
// whose stand-in uninstaller runs `script` (and hands over to "Un_VNC.exe"
// running `handOver`); removed through its row and `timings`, returning the
// milliseconds the removal took.
DWORD removeTightVnc(const std::string& script, const std::string& handOver, const hnActionTimings& timings) {
    InstalledPackage package("tightvnc32", kTightVnc32Code);
    EXPECT_TRUE(package.installed());
    RegisteredUninstaller vnc("TightVNC", "tvnserver-uninstall.exe", script);
    writeTextFile(vnc.folder.file("Un_VNC.exe.txt"), handOver);
    EXPECT_TRUE(setUninstallValue(vnc.key, "UninstallString", "\"" + vnc.path + "\""));
    EXPECT_TRUE(setUninstallValue(vnc.key, "DisplayName", "TightVNC"));
    hnInstallationElement row = element("TightVNC 2.6.4 - 32 bit");
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(uninstallComponentByName(row, false, timings));
    DWORD spent = ::GetTickCount() - start;
    EXPECT_FALSE(uninstallKeyExists(vnc.key));
    EXPECT_FALSE(productInstalled(kTightVnc32Code));
    return spent;
}

// The uninstaller hands over to a copy that shows "<DisplayName> Uninstall "
// for a while; the removal follows that window, then removes the product.
TEST(RuntimeRemoval, TightVncFollowsItsUninstallerWindowThenRemovesTheProduct) {
    std::string temp;
    ASSERT_TRUE(hnTempFolder(temp));
    hnActionTimings timings = shortTimings();
    timings.tightVncWindow = {25, 400};
    timings.tightVncWindowGone = {50, 200};
    EXPECT_GE(removeTightVnc("spawn Un_VNC.exe\n",
                             "deletekey " + kUninstallRoot + "TightVNC\nwindow TightVNC Uninstall |1200\n",
                             timings),
              1000u)
        << "the window was followed";
    EXPECT_FALSE(::FindWindowA(nullptr, "TightVNC Uninstall "));
    waitFor([&] { return deleteFileIfPresent(temp + "Un_VNC.exe"); }, 3000);
    deleteFileIfPresent(temp + "Un_VNC.exe.txt");

    // An uninstaller without a window: after the whole search (40 polls 25 ms
    // apart) the product goes.
    timings.tightVncWindow = {25, 40};
    EXPECT_GE(removeTightVnc("deletekey " + kUninstallRoot + "TightVNC\n", "", timings), 900u);
}
