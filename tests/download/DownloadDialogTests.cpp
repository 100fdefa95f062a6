#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "download/DownloadDialogs.h"
#include "download/DownloadTestSupport.h"
#include "download/ElementDownload.h"
#include "install/InstallManager.h"
#include "download/InstallationElement.h"
#include "process/ProcessLaunch.h"
#include "support/TestSupport.h"

namespace {

const char* const kDownloadCaption =
    "Orvanto Vision Software XV 774 Installer - Download Component Installables";

// One row of a page: the element and the strings it points to.
struct Row {
    Row(const std::string& folder, const std::string& url, const char* fileName = "setup.exe",
        const char* switches = "")
        : element("Test Component", url.c_str(), fileName, switches, folder.c_str(), false, 0, false, &name,
                  &status, &progress, "Prerequisites") {}
    std::string name, status, progress;
    hnInstallationElement element;
};

// Posts a command to the first window with `caption` once it shows, after
// `delayMs` and, when given, once `ready` holds (a minute at most), then
// again for every further id.
class ClickLater {
public:
    ClickLater(const char* caption, std::vector<WORD> ids, DWORD delayMs,
               std::function<bool()> ready = nullptr) {
        thread_ = std::thread([caption, ids, delayMs, ready] {
            for (WORD id : ids) {
                HWND window = nullptr;
                for (int i = 0; i < 500 && !window; ++i) {
                    ::Sleep(20);
                    window = ::FindWindowA("#32770", caption);
                }
                ::Sleep(delayMs);
                for (int i = 0; ready && i < 3000 && !ready(); ++i)
                    ::Sleep(20);
                if (window)
                    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            }
        });
    }
    ~ClickLater() { thread_.join(); }

private:
    std::thread thread_;
};

class DownloadDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(testServerUrl().empty()) << "run through ctest";
        serverLog(true);
    }
    std::string recordLines() { return readTextFile(scratch.file("record.txt")); }
    // The recorder tool as a cached installable of `row`.
    void cacheRecorder(Row& row) {
        ASSERT_TRUE(::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(),
                                (scratch.file("setup.exe")).c_str(), FALSE));
        ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", scratch.file("record.txt").c_str());
        (void)row;
    }
    void TearDown() override { ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr); }

    ScratchFolder scratch;
    ScriptedPrompter prompter;
};

} // namespace

TEST_F(DownloadDialog, DownloadsAnElementThroughTheRealDialog) {
    Row row(scratch.path() + "\\cache\\sub", testServerUrl("/data/x?size=300000"));
    bool aborted = true;
    EXPECT_EQ(1, downloadElement(row.element, aborted, 2, 3));
    EXPECT_FALSE(aborted);
    EXPECT_EQ("Downloaded", row.progress);
    EXPECT_EQ(servedPattern(300000), readTextFile(scratch.file("cache\\sub\\setup.exe")));
    EXPECT_TRUE(prompter.records.empty());

    // Present in the cache: the dialog is not even shown.
    serverLog(true);
    EXPECT_EQ(1, downloadElement(row.element, aborted, 1, 1));
    EXPECT_TRUE(serverLog().empty());
}

TEST_F(DownloadDialog, FailedDownloadShowsTheErrorWithItsUrlAndCloses) {
    std::string url = testServerUrl("/status/404");
    Row row(scratch.path(), url);
    DDownloadAndInstallComponent dialog(1, 3, &row.element, true, false, true);
    EXPECT_EQ(IDCANCEL, dialog.doModal(nullptr));
    EXPECT_FALSE(dialog.userAborted());
    EXPECT_EQ("Downloading component 1 of 3", dialog.title());
    EXPECT_EQ("Test Component", dialog.subtitle());
    EXPECT_EQ("Download failed. Please abort the current operation and try again.", dialog.line1());
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ(212, prompter.records[0].dialogId);
    EXPECT_EQ("Error. Unable to download file - Server responded with HTTP error - 404",
              prompter.records[0].text);

    // A body cut short: the text the user sees says "Error" once.
    Row cut(scratch.path(), testServerUrl("/data/y?size=300000&truncate=150000"));
    DDownloadAndInstallComponent shortened(1, 1, &cut.element, true, false, true);
    EXPECT_EQ(IDCANCEL, shortened.doModal(nullptr));
    ASSERT_EQ(2u, prompter.records.size());
    EXPECT_EQ("Error. Unable to download file - The connection closed before the whole file was received",
              prompter.records[1].text);
    prompter.records.erase(prompter.records.begin() + 1);

    // Without messages nothing else is shown.
    DDownloadAndInstallComponent quiet(1, 1, &row.element, false, false, false);
    EXPECT_EQ(IDCANCEL, quiet.doModal(nullptr));
    EXPECT_EQ("Download failed. Please abort the installation and try again.", quiet.line1());
    EXPECT_EQ(1u, prompter.records.size());
}

// The row's progress word keeps why the download failed: the file, the
// address and the server's answer.
TEST_F(DownloadDialog, DownloadErrorKeepsTheFileTheAddressAndTheServersAnswer) {
    std::string url = testServerUrl("/status/404");
    Row row(scratch.path(), url);
    bool aborted = true;
    EXPECT_EQ(-1, downloadElement(row.element, aborted, 1, 1));
    EXPECT_FALSE(aborted);
    EXPECT_EQ("Download Error", row.progress);
    EXPECT_EQ("The download of \"setup.exe\" from " + url +
                  " failed: Error. Unable to download file - Server responded with HTTP error - 404",
              row.element.progressReason());
}

TEST_F(DownloadDialog, AbortAsksFirstAndOnlyYesEndsTheDownload) {
    Row row(scratch.path(), testServerUrl("/data/x?size=3000000&delay=200&chunk=16384"));
    prompter.answer(IDNO);
    prompter.answer(IDYES);
    bool aborted = false;
    {
        ClickLater click(kDownloadCaption, {IDCANCEL, IDCANCEL}, 300);
        EXPECT_EQ(-1, downloadElement(row.element, aborted, 1, 1));
    }
    EXPECT_TRUE(aborted);
    EXPECT_EQ("Download Error", row.progress);
    ASSERT_EQ(2u, prompter.records.size());
    EXPECT_EQ("Do you want to abort download of the selected components?", prompter.records[0].text);
    EXPECT_EQ("Confirmation", prompter.records[0].caption);
    EXPECT_FALSE(fileExists(row.element.downloadFolder + "\\setup.exe"));
}

TEST_F(DownloadDialog, AfterAConfirmedAbortTheWorkerStopsWhileTheObjectLives) {
    Row row(scratch.path(), testServerUrl("/data/x?size=3000000&delay=200&chunk=16384"));
    prompter.answer(IDYES);
    DDownloadAndInstallComponent dialog(1, 1, &row.element, false, false, true);
    {
        ClickLater click("Orvanto Vision Software XV 774 Installer - Download and Install Components",
                         {IDCANCEL}, 300);
        EXPECT_EQ(IDCANCEL, dialog.doModal(nullptr));
    }
    EXPECT_TRUE(dialog.userAborted());
    auto size = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ::GetFileAttributesExA(dialog.paths().temporaryPath.c_str(), GetFileExInfoStandard, &data);
        return data.nFileSizeLow;
    };
    // The whole transfer would take over half a minute: a part file that
    // stays the same for 1.5 s (some 8 of the server's steps) has stopped.
    DWORD before = size(), sameSince = ::GetTickCount();
    EXPECT_TRUE(waitFor(
        [&] {
            DWORD now = size();
            if (now != before) {
                before = now;
                sameSince = ::GetTickCount();
            }
            return ::GetTickCount() - sameSince >= 1500;
        },
        20000));
    EXPECT_LT(before, 3000000u);
    EXPECT_FALSE(fileExists(dialog.finalPath()));
}

TEST_F(DownloadDialog, AbortInsideARunningInstallerEndsTheWorkerAtOnce) {
    // The "installer" runs 15.8 s; the user aborts at once. The stop ends the
    // worker's wait for it, so the dialog goes without waiting for the
    // worker and without leaving it behind; the installer runs on by itself.
    // The installer gets the switches as its whole command line: argv[1] is the time.
    Row row(scratch.path(), "http://127.0.0.1:9/setup.exe", "setup.exe", "sleep 15800");
    ASSERT_TRUE(
        ::CopyFileA((toolsFolder() + "\\sleeper.exe").c_str(), scratch.file("setup.exe").c_str(), FALSE));
    prompter.answer(IDYES);
    DebugCapture debug;
    DWORD closed = 0;
    {
        DDownloadAndInstallComponent dialog(1, 1, &row.element, false, false, true);
        // The abort comes while the installer runs, however slowly it starts.
        ClickLater click("Orvanto Vision Software XV 774 Installer - Download and Install Components",
                         {IDCANCEL}, 200, [] { return countProcessesByImageName("setup.exe") > 0; });
        EXPECT_EQ(IDCANCEL, dialog.doModal(nullptr));
        closed = ::GetTickCount();
    }
    DWORD waited = ::GetTickCount() - closed;
    EXPECT_LT(waited, 8000u);                                // well before the installer's end
    EXPECT_TRUE(countProcessesByImageName("setup.exe") > 0); // the installer was not ended
    EXPECT_FALSE(debug.contains(
        "DDownloadAndInstallComponent::stopWorker - worker still running, left to end on its own\n"));
    EXPECT_TRUE(waitFor([] { return countProcessesByImageName("setup.exe") == 0; }, 30000));
    EXPECT_EQ(1u, prompter.records.size());
}

TEST_F(DownloadDialog, InstallModeRunsTheCachedInstallerWithItsSwitches) {
    Row row(scratch.path(), "http://127.0.0.1:9/setup.exe", "setup.exe", " /S");
    cacheRecorder(row);
    DDownloadAndInstallComponent dialog(1, 1, &row.element, false, false, true);
    EXPECT_EQ(IDOK, dialog.doModal(nullptr));
    EXPECT_EQ("Installing component 1 of 1", dialog.title());
    EXPECT_EQ("Download completed", dialog.line1());
    EXPECT_EQ("Installation completed", dialog.line3());
    EXPECT_EQ(" /S\n", recordLines());
    EXPECT_TRUE(prompter.records.empty());
}

TEST_F(DownloadDialog, FailedRefreshRestoresTheOldInstallerAndInstallsIt) {
    Row row(scratch.path(), "http://127.0.0.1:9/setup.exe", "setup.exe", "CopyEXEFullPath");
    cacheRecorder(row);
    DDownloadAndInstallComponent dialog(1, 1, &row.element, false, true, true);
    EXPECT_EQ(IDOK, dialog.doModal(nullptr));
    EXPECT_EQ("Installation completed", dialog.line3());
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ(212, prompter.records[0].dialogId);
    EXPECT_EQ(scratch.file("setup.exe") + "\n", recordLines());
    EXPECT_FALSE(fileExists(scratch.file("setup.exebk")));
}

TEST_F(DownloadDialog, TooLongDownloadPathClosesWithoutTouchingTheDisk) {
    std::string folder = scratch.path() + "\\" + std::string(240 - scratch.path().size(), 'd');
    Row row(folder, testServerUrl("/data/x?size=10"), "a-rather-long-installer-name.exe");
    DWORD closed = 0;
    {
        DDownloadAndInstallComponent dialog(1, 1, &row.element, true, false, true);
        EXPECT_EQ(IDCANCEL, dialog.doModal(nullptr));
        closed = ::GetTickCount();
    }
    // The worker's pause after the failure ends with the dialog object.
    EXPECT_LT(::GetTickCount() - closed, 1500u);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Error. Download path too long. Please copy the installer EXE to shorter path and try again.",
              prompter.records[0].text);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer", prompter.records[0].caption);
    EXPECT_TRUE(serverLog().empty());
}

// An application folder so deep that no cache folder fits below it: the
// element has no download folder, its download fails as too long, and
// nothing is fetched or written into the current drive's root.
TEST_F(DownloadDialog, CacheFolderThatDoesNotFitLeavesTheElementWithoutDownload) {
    const char* probe = "orvanto-root-probe.exe";
    auto rooted = [probe](const char* suffix) { return std::string("\\") + probe + suffix; };
    for (const char* suffix : {"", "tmp"}) // left by an earlier failing run
        deleteFileForced(rooted(suffix));
    std::string& appFolder = theApp()->appFolderPath;
    const std::string saved = appFolder;
    appFolder = scratch.path() + "\\" + std::string(250 - scratch.path().size(), 'a');
    std::string folder = cacheFolder(cache::kPrerequisites);
    appFolder = saved;
    EXPECT_TRUE(folder.empty());

    Row row(folder, testServerUrl("/data/x?size=10"), probe);
    bool aborted = true;
    EXPECT_EQ(-1, downloadElement(row.element, aborted, 1, 1));
    EXPECT_EQ("Download Error", row.progress);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Error. Download path too long. Please copy the installer EXE to shorter path and try again.",
              prompter.records[0].text);
    EXPECT_TRUE(serverLog().empty());
    for (const char* suffix : {"", "tmp"}) {
        EXPECT_FALSE(fileExists(rooted(suffix))) << rooted(suffix);
        deleteFileForced(rooted(suffix));
    }
}

TEST_F(DownloadDialog, DeletingOldDownloadsReportsFilesInUse) {
    Row row(scratch.path(), "");
    ASSERT_TRUE(writeTextFile(scratch.file("setup.exe"), "old"));
    ASSERT_TRUE(writeTextFile(scratch.file("setup.exetmp"), "partial"));
    ::SetFileAttributesA(scratch.file("setup.exe").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(1, deleteOldDownload(1, row.element, 1));
    EXPECT_FALSE(fileExists(scratch.file("setup.exe")));
    EXPECT_FALSE(fileExists(scratch.file("setup.exetmp")));
    EXPECT_EQ(1, deleteOldDownload(1, row.element, 1)); // nothing there

    ASSERT_TRUE(writeTextFile(scratch.file("setup.exe"), "in use"));
    HANDLE held =
        ::CreateFileA(scratch.file("setup.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(-1, deleteOldDownload(1, row.element, 1));
    ::CloseHandle(held);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ(
        "Error - Unable to delete the old download file for the component 'Test Component'. Please confirm "
        "whether the file is in use.",
        prompter.records[0].text);
}

TEST_F(DownloadDialog, ErrorChoiceComesFromDialog178) {
    for (INT_PTR answer : {1, 2, 3, 0, 7})
        prompter.answer(answer);
    EXPECT_EQ(hnDownloadErrorChoice::Retry,
              askDownloadErrorChoice("Error - Unable to download the component 'a'"));
    EXPECT_EQ(hnDownloadErrorChoice::Ignore, askDownloadErrorChoice("t"));
    EXPECT_EQ(hnDownloadErrorChoice::IgnoreAll, askDownloadErrorChoice("t"));
    EXPECT_EQ(hnDownloadErrorChoice::Abort, askDownloadErrorChoice("t"));
    EXPECT_EQ(hnDownloadErrorChoice::Abort, askDownloadErrorChoice("t"));
    EXPECT_EQ(178, prompter.records[0].dialogId);
    EXPECT_EQ("Error - Unable to download the component 'a'", prompter.records[0].text);
}

TEST(DownloadDialogWindows, TheRealChoiceDialogAnswersWithItsButtons) {
    // No scripted prompter: the real dialogs are shown and clicked.
    {
        ClickLater click("Unabe to Download Component", {1149}, 100);
        EXPECT_EQ(hnDownloadErrorChoice::IgnoreAll, askDownloadErrorChoice("t"));
    }
    {
        ClickLater click("Unabe to Download Component", {1150}, 100);
        EXPECT_EQ(hnDownloadErrorChoice::Abort, askDownloadErrorChoice("t"));
    }
    ClickLater click("Download Error", {IDCANCEL}, 100);
    showDownloadError(nullptr, "Error. Unable to download file - x", "http://host/file.exe");
}

TEST_F(DownloadDialog, ManagerRunContinuesAfterIgnoreAll) {
    Row first(scratch.path() + "\\1", testServerUrl("/data/x?size=10"));
    Row second(scratch.path() + "\\2", testServerUrl("/status/500"));
    Row third(scratch.path() + "\\3", testServerUrl("/data/x?size=20"));
    Row fourth(scratch.path() + "\\4", testServerUrl("/status/404"));
    hnInstallationElement* elements[] = {&first.element, &second.element, &third.element, &fourth.element};
    hnInstallManagerBase manager;
    manager.setElements(4, elements);
    prompter.fallback = 0; // the error displays take an answer too; any other question aborts
    prompter.answer(0);    // the error display of the second element
    prompter.answer(3);    // then Ignore All
    bool skipAll = false;
    int indices[] = {0, 1, 2, 3};
    manager.downloadSelection(indices, 4, false, &skipAll);
    EXPECT_TRUE(skipAll);
    EXPECT_TRUE(fileExists(scratch.path() + "\\3\\setup.exe"));
    std::vector<int> questions;
    for (auto& record : prompter.records)
        questions.push_back(record.dialogId);
    EXPECT_EQ((std::vector<int>{212, 178, 212}), questions);
}
