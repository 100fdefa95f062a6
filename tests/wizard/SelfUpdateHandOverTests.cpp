// The hand-over to a newer installer, end to end with the real programs: the
// installer runs from a folder of its own, the demo server offers the newer
// release, the user follows the link and downloads it; the old program ends,
// the new one starts beside it, waits for it, and keeps the old executable in
// "_OrvantoInstallers", where its version list shows it.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <windows.h>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "download/DownloadEngine.h"
#include "download_ids.h"
#include "pages_ids.h"
#include "support/ShippedInstaller.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"

using uidriver::Installer;

using namespace shipped;

namespace {

const std::string kNewCaption = "Orvanto Vision Software XV 775 Installer";
const char* const kNewExeName = "OrvantoVisionSoftware_15_0_0_775_Installer_201015.exe";

bool serveUpgradeMode(const std::string& mode) {
    ScratchFolder scratch;
    const std::atomic<bool> abort{false};
    return downloadFileToFolder(scratch.path(), "mode.txt", abort,
                                theApp()->repositoryBaseUrl() + "/demo-control/upgrade/" + mode) > 0;
}

// A visible top-level window of any process whose caption is `caption`
// exactly (`prefix`: begins with it).
HWND findTopWindow(const std::string& caption, bool prefix, DWORD timeoutMs) {
    struct Search {
        const std::string* caption;
        bool prefix;
        HWND hit;
    } search = {&caption, prefix, nullptr};
    uidriver::waitUntil(
        [&] {
            search.hit = nullptr;
            ::EnumWindows(
                [](HWND hwnd, LPARAM data) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(data);
                    std::string text = uidriver::windowText(hwnd);
                    if (!::IsWindowVisible(hwnd) ||
                        (s->prefix ? text.compare(0, s->caption->size(), *s->caption) != 0
                                   : text != *s->caption))
                        return TRUE;
                    s->hit = hwnd;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.hit != nullptr;
        },
        timeoutMs);
    return search.hit;
}

bool comboHolds(HWND page, int id, const std::string& entry) {
    return ::SendMessageA(::GetDlgItem(page, id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>(entry.c_str())) != CB_ERR;
}

// Saves a window when ORVANTO_TEST_SCREENSHOTS names a folder.
void snap(HWND window, const char* name) {
    char folder[MAX_PATH] = {};
    if (::GetEnvironmentVariableA("ORVANTO_TEST_SCREENSHOTS", folder, MAX_PATH) > 0) {
        uidriver::pause(1500); // painted through
        Installer::screenshot(window, std::string(folder) + "\\" + name + ".bmp");
    }
}

} // namespace

TEST(SelfUpdateHandOver, NewInstallerTakesOverAndKeepsTheOldOne) {
    ScratchFolder folder;
    std::string oldExe = folder.file(kExeName);
    std::string tests = testProgramFolder();
    ASSERT_TRUE(::CopyFileA((tests.substr(0, tests.find_last_of("\\/")) + "\\" + kExeName).c_str(),
                            oldExe.c_str(), FALSE));
    ASSERT_TRUE(serveUpgradeMode("release"));
    ::SetEnvironmentVariableA("ORVANTO_STARTUP_WAIT_MS", "1000");

    Installer old;
    ASSERT_TRUE(old.start(oldExe));
    HWND sheet = old.findWindow(kCaption + " - Welcome", "#32770");
    ASSERT_TRUE(sheet);
    HWND page = currentPage(sheet);
    HWND link = nullptr; // made after the first paint
    ASSERT_TRUE(uidriver::waitUntil(
        [&] {
            link = ::GetDlgItem(page, IDC_WELCOME_RELEASE_LINK);
            return link && ::IsWindowVisible(link);
        },
        20000));
    EXPECT_EQ("Release Installer Version 15.0.0.775 Available", uidriver::windowText(link));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page, IDC_WELCOME_BETA_LINK)));
    snap(sheet, "welcome-new-version");

    ::PostMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_WELCOME_RELEASE_LINK, STN_CLICKED),
                   reinterpret_cast<LPARAM>(link));
    HWND offer = old.findWindow("Installer Version Available", "#32770");
    ASSERT_TRUE(offer);
    EXPECT_EQ(kCaption, Installer::text(offer, IDC_NEW_VERSION_CURRENT));
    EXPECT_EQ(kNewCaption, Installer::text(offer, IDC_NEW_VERSION_NEW));
    snap(offer, "new-version-available");
    Installer::click(offer, IDOK);

    HWND done = findTopWindow(kCaption, false, 30000);
    ASSERT_TRUE(done);
    EXPECT_EQ("Successfully downloaded the installer version 15.0.0.775.\n" + folder.path() +
                  "\\_OrvantoInstallers\\" + kNewExeName,
              Installer::text(done, 0xFFFF));
    Installer::click(done, IDOK);

    // The old program ends; the new one starts from the program folder.
    EXPECT_TRUE(old.waitForExit(30000));
    HWND newSheet = findTopWindow(kNewCaption + " - Welcome", true, 60000);
    ASSERT_TRUE(newSheet);
    DWORD newPid = 0;
    ::GetWindowThreadProcessId(newSheet, &newPid);
    HANDLE newProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, newPid);
    EXPECT_TRUE(fileExists(folder.file(kNewExeName)));

    // It keeps the old executable among its versions.
    std::string kept = folder.path() + "\\_OrvantoInstallers\\" + kExeName;
    EXPECT_TRUE(uidriver::waitUntil([&] { return fileExists(kept); }, 20000));
    EXPECT_FALSE(fileExists(oldExe));
    HWND newPage = currentPage(newSheet);
    EXPECT_TRUE(uidriver::waitUntil(
        [&] { return comboHolds(newPage, IDC_WELCOME_VERSION_LIST, "15.0.0.774"); }, 10000));
    EXPECT_TRUE(comboHolds(newPage, IDC_WELCOME_VERSION_LIST, "15.0.0.775 (Release 201015)"));
    // The newer program offers nothing: the server's release is itself.
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(newPage, IDC_WELCOME_RELEASE_LINK)));

    ::PostMessageA(newSheet, WM_CLOSE, 0, 0);
    if (newProcess) {
        if (::WaitForSingleObject(newProcess, 20000) != WAIT_OBJECT_0)
            ::TerminateProcess(newProcess, 1);
        ::CloseHandle(newProcess);
    }
    serveUpgradeMode("none");
    ::SetEnvironmentVariableA("ORVANTO_STARTUP_WAIT_MS", nullptr);
}
