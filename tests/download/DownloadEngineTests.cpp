#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <windows.h>

#include <shlobj.h>

#include "app/AppBase.h"
#include "app/FileHelpers.h"
#include "download/DownloadEngine.h"
#include "download/InternetStop.h"
#include "download/DownloadTestSupport.h"
#include "support/TestSupport.h"

namespace {

struct RecordingSink : hnDownloadProgressSink {
    void downloadStarted(long totalKb) override { started.push_back(totalKb); }
    void downloadProgress(long receivedKb) override {
        reports.push_back(receivedKb);
        if (abortAfterFirst)
            abortAfterFirst->store(true);
    }
    std::vector<long> started, reports;
    std::atomic<bool>* abortAfterFirst = nullptr;
};

class DownloadEngine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(testServerUrl().empty()) << "run through ctest: the HTTP test server is missing";
        serverLog(true);
        paths = elementDownloadPaths(scratch.path(), "setup.exe");
    }
    DownloadResult fetch(const std::string& path, bool refresh = false) {
        return downloadElementFile(testServerUrl(path), paths, refresh, abort, &sink);
    }
    int fetchToFolder(const std::string& path, const std::string& name = "setup.exe") {
        return downloadFileToFolder(scratch.path(), name, abort, testServerUrl(path));
    }
    static std::string sessionLogText() { return readTextFile(hnAppBase::current()->sessionLog().path()); }
    // Only the requests for data, not those of the log itself.
    std::vector<std::string> requests() { return serverLog(); }

    ScratchFolder scratch;
    ElementDownloadPaths paths;
    std::atomic<bool> abort{false};
    RecordingSink sink;
};

// Files of exactly `size` bytes anywhere below `folder`.
int filesOfSize(const std::string& folder, DWORD size) {
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            count += filesOfSize(folder + "\\" + name, size);
        else if (found.nFileSizeHigh == 0 && found.nFileSizeLow == size)
            ++count;
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return count;
}

} // namespace

TEST_F(DownloadEngine, TransfersThroughTheTemporaryFileWithProgressEvery100KB) {
    DownloadResult result = fetch("/data/a?size=307200");
    ASSERT_EQ(DownloadOutcome::Transferred, result.outcome);
    EXPECT_EQ(servedPattern(307200), readTextFile(paths.finalPath));
    EXPECT_FALSE(fileExists(paths.temporaryPath));
    EXPECT_EQ(std::vector<long>{300}, sink.started);
    // The session log has the download with its address, size and outcome.
    EXPECT_NE(std::string::npos, sessionLogText().find("Download: " + testServerUrl("/data/a?size=307200") +
                                                       ", 307200 bytes, transferred\r\n"));
    // A report each time a read passes a 100 KB mark: at about 100 and 200 KB.
    ASSERT_EQ(2u, sink.reports.size());
    EXPECT_GE(sink.reports[0], 100);
    EXPECT_LT(sink.reports[0], 200);
    EXPECT_GE(sink.reports[1], 200);
    EXPECT_LE(sink.reports[1], 300);
    auto log = requests();
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ("/data/a?size=307200\tInternet Session", log[0].substr(0, log[0].find('\t', 20)));
}

TEST_F(DownloadEngine, SmallOrUnannouncedBodiesAreComplete) {
    ASSERT_EQ(DownloadOutcome::Transferred, fetch("/data/a?size=102400").outcome);
    EXPECT_TRUE(sink.reports.empty());
    EXPECT_EQ(std::vector<long>{100}, sink.started);
    deleteFileForced(paths.finalPath);
    ASSERT_EQ(DownloadOutcome::Transferred, fetch("/data/a?size=250000&nolength=1").outcome);
    EXPECT_EQ(0, sink.started.back());
    EXPECT_EQ(servedPattern(250000), readTextFile(paths.finalPath));
    ASSERT_EQ(DownloadOutcome::Transferred, fetch("/data/a?size=0", true).outcome);
    EXPECT_EQ("", readTextFile(paths.finalPath));
}

TEST_F(DownloadEngine, BodiesLargerThanTheWriteBuffersArriveWhole) {
    // Several buffers cycle through the disk writer; the reserved length is
    // cut back to what arrived, with or without an announced length.
    char internetCache[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_INTERNET_CACHE, nullptr, 0, internetCache)));
    int cachedBefore = filesOfSize(internetCache, 3500001) + filesOfSize(internetCache, 2100000);
    ASSERT_EQ(DownloadOutcome::Transferred, fetch("/data/a?size=3500001").outcome);
    EXPECT_EQ(servedPattern(3500001), readTextFile(paths.finalPath));
    ASSERT_EQ(DownloadOutcome::Transferred, fetch("/data/a?size=2100000&nolength=1", true).outcome);
    EXPECT_EQ(servedPattern(2100000), readTextFile(paths.finalPath));
    // The only copy is the one in the installables' cache: nothing went into
    // the shared internet cache.
    EXPECT_EQ(cachedBefore, filesOfSize(internetCache, 3500001) + filesOfSize(internetCache, 2100000));
}

TEST_F(DownloadEngine, ReadsGrowOnlyOnAFastLinkSoASlowOneKeepsReportingProgress) {
    // About 800 KB/s: every read takes long, so they stay at their smallest
    // and nearly every 100 KB mark gets its report, as before reads grew.
    ASSERT_EQ(DownloadOutcome::Transferred, fetch("/data/a?size=1500000&delay=20&chunk=16384").outcome);
    EXPECT_EQ(servedPattern(1500000), readTextFile(paths.finalPath));
    EXPECT_GE(sink.reports.size(), 10u);
    // On loopback they grow; the reports still come at most one per mark.
    sink.reports.clear();
    ASSERT_EQ(DownloadOutcome::Transferred, fetch("/data/a?size=9000000", true).outcome);
    EXPECT_EQ(servedPattern(9000000), readTextFile(paths.finalPath));
    ASSERT_FALSE(sink.reports.empty());
    for (std::size_t i = 1; i < sink.reports.size(); ++i)
        EXPECT_GE(sink.reports[i] - sink.reports[i - 1], 100) << i;
}

TEST_F(DownloadEngine, OtherSchemesAndBadUrlsAreRefusedWithoutARequest) {
    DownloadResult result = downloadElementFile("https://127.0.0.1/x", paths, false, abort, &sink);
    EXPECT_EQ(DownloadOutcome::NotHttp, result.outcome);
    EXPECT_EQ(-1002, result.code);
    EXPECT_EQ("Error. Unable to download file - Error - Server does not provide HTTP service",
              result.userText());
    EXPECT_EQ(-3002, downloadFileToFolder(scratch.path(), "x", abort, "ftp://127.0.0.1/x"));
    EXPECT_EQ(-3002, downloadFileToFolder(scratch.path(), "x", abort, "file:///C:/windows/win.ini"));
    EXPECT_EQ(-3001, downloadFileToFolder(scratch.path(), "x", abort, "not a url"));
    EXPECT_EQ(-3001, downloadFileToFolder(scratch.path(), "x", abort, ""));
    EXPECT_EQ("Error. Unable to download file - Error - Invalid URL",
              downloadElementFile("http://", paths, false, abort, &sink).userText());
    EXPECT_TRUE(requests().empty());
    EXPECT_FALSE(fileExists(paths.temporaryPath));
}

TEST_F(DownloadEngine, RedirectsAreNotFollowed) {
    for (const char* code : {"301", "302", "303"}) {
        DownloadResult result = fetch(std::string("/status/") + code);
        EXPECT_EQ(DownloadOutcome::Redirected, result.outcome) << code;
        EXPECT_EQ("Error. Unable to download file - Error - Server Redirection", result.userText());
    }
    EXPECT_EQ(-3004, fetchToFolder("/status/302"));
    for (const std::string& line : requests())
        EXPECT_EQ(std::string::npos, line.find("redirected")) << line;
    EXPECT_FALSE(fileExists(paths.finalPath));
}

TEST_F(DownloadEngine, HttpErrorsCarryTheirStatus) {
    DownloadResult result = fetch("/status/404");
    EXPECT_EQ(DownloadOutcome::HttpError, result.outcome);
    EXPECT_EQ(404, result.code);
    EXPECT_EQ("Error. Unable to download file - Server responded with HTTP error - 404", result.userText());
    EXPECT_EQ(-3008, fetchToFolder("/status/404"));
    EXPECT_EQ(-3008, fetchToFolder("/status/500"));
    EXPECT_FALSE(fileExists(paths.finalPath));
}

TEST_F(DownloadEngine, UnauthorisedAsksForCredentialsOnceAndRetriesOnlyOnRetry) {
    ScriptedPrompter prompter;
    DownloadResult rejected = fetch("/status/401");
    EXPECT_EQ(DownloadOutcome::LoginRejected, rejected.outcome);
    EXPECT_EQ("Error. Unable to download file - Error - Login rejected by the server", rejected.userText());
    prompter.answer(12032); // ERROR_INTERNET_FORCE_RETRY
    DownloadResult retried = fetch("/status/401");
    EXPECT_EQ(DownloadOutcome::HttpError, retried.outcome);
    EXPECT_EQ(401, retried.code);
    EXPECT_EQ(-3003, fetchToFolder("/status/401"));
    ASSERT_EQ(3u, prompter.records.size());
    EXPECT_EQ(12014, prompter.records[0].dialogId);
    EXPECT_EQ(4u, requests().size()); // one request each, two for the retry
}

TEST_F(DownloadEngine, RefusedConnectionIsAnInternetErrorWithTheSystemText) {
    DownloadResult result = downloadElementFile("http://127.0.0.1:9/x", paths, false, abort, &sink);
    EXPECT_EQ(DownloadOutcome::InternetError, result.outcome);
    EXPECT_FALSE(result.detail.empty());
    EXPECT_EQ(0u, result.userText().find("Error. Unable to download file - "));
    EXPECT_EQ(-3007, downloadFileToFolder(scratch.path(), "x", abort, "http://127.0.0.1:9/x"));
}

TEST_F(DownloadEngine, BodyEndingBeforeItsLengthNeverReplacesTheFile) {
    ASSERT_TRUE(writeTextFile(paths.finalPath, "previous"));
    DownloadResult result = fetch("/data/a?size=300000&truncate=150000", true);
    EXPECT_EQ(DownloadOutcome::Incomplete, result.outcome);
    EXPECT_EQ("Error. Unable to download file - The connection closed before the whole file was received",
              result.userText());
    EXPECT_NE(
        std::string::npos,
        sessionLogText().find("Download: " + testServerUrl("/data/a?size=300000&truncate=150000") +
                              ", 150000 bytes, incomplete - The connection closed before the whole file was "
                              "received\r\n"));
    EXPECT_FALSE(fileExists(paths.finalPath));
    resolveDownloadBackup(paths);
    EXPECT_EQ("previous", readTextFile(paths.finalPath));
    EXPECT_FALSE(fileExists(paths.backupPath));

    EXPECT_EQ(-3007, fetchToFolder("/data/a?size=300000&truncate=1000"));
    EXPECT_FALSE(fileExists(paths.finalPath));
    EXPECT_EQ("previous", readTextFile(paths.backupPath));
}

TEST_F(DownloadEngine, RefreshSetsTheOldFileAsideAndWithoutItThePresentFileIsUsed) {
    ASSERT_TRUE(writeTextFile(paths.finalPath, "cached"));
    EXPECT_EQ(DownloadOutcome::Present, fetch("/data/a?size=10").outcome);
    EXPECT_EQ("cached", readTextFile(paths.finalPath));
    EXPECT_TRUE(requests().empty());

    // Refresh with the server down: the old file comes back, no backup stays.
    DownloadResult down = downloadElementFile("http://127.0.0.1:9/setup.exe", paths, true, abort, &sink);
    EXPECT_EQ(DownloadOutcome::InternetError, down.outcome);
    EXPECT_EQ("cached", readTextFile(paths.backupPath));
    resolveDownloadBackup(paths);
    EXPECT_EQ("cached", readTextFile(paths.finalPath));
    EXPECT_FALSE(fileExists(paths.backupPath));

    // downloadFileToFolder always sets the old file aside and keeps it.
    EXPECT_EQ(1, fetchToFolder("/data/a?size=20"));
    EXPECT_EQ(servedPattern(20), readTextFile(paths.finalPath));
    EXPECT_EQ("cached", readTextFile(paths.backupPath));
}

TEST_F(DownloadEngine, MirrorKeepsAFileOfTheServersSizeAndReplacesAnyOtherWholeOrNotAtAll) {
    std::atomic<bool> abortMirror{false};
    // Same size as the server announces: kept without reading the body, even
    // though its bytes differ (the size is what the mirror compares).
    ASSERT_TRUE(writeTextFile(paths.finalPath, std::string(20, 'x')));
    DownloadResult kept = mirrorFile(testServerUrl("/data/a?size=20"), paths, abortMirror, nullptr);
    EXPECT_EQ(DownloadOutcome::Present, kept.outcome);
    EXPECT_EQ(std::string(20, 'x'), readTextFile(paths.finalPath));
    EXPECT_NE(std::string::npos, sessionLogText().find("Download: " + testServerUrl("/data/a?size=20") +
                                                       ", 0 bytes, present - kept, the size matches"));
    // Another size, or no announced size: fetched whole and put over it.
    EXPECT_EQ(DownloadOutcome::Transferred,
              mirrorFile(testServerUrl("/data/a?size=300000"), paths, abortMirror, nullptr).outcome);
    EXPECT_EQ(servedPattern(300000), readTextFile(paths.finalPath));
    EXPECT_EQ(DownloadOutcome::Transferred,
              mirrorFile(testServerUrl("/data/a?size=300000&nolength=1"), paths, abortMirror, nullptr).outcome);
    // A failed transfer leaves the file as it was and no temporary file.
    DownloadResult cut =
        mirrorFile(testServerUrl("/data/a?size=5000&truncate=100"), paths, abortMirror, nullptr);
    EXPECT_EQ(DownloadOutcome::Incomplete, cut.outcome);
    EXPECT_EQ(DownloadOutcome::HttpError,
              mirrorFile(testServerUrl("/status/404"), paths, abortMirror, nullptr).outcome);
    EXPECT_EQ(servedPattern(300000), readTextFile(paths.finalPath));
    EXPECT_FALSE(fileExists(paths.temporaryPath));
    EXPECT_FALSE(fileExists(paths.backupPath));
}

TEST_F(DownloadEngine, TemporaryPathOf260CharactersIsTooLong) {
    // "<folder>\\setup.exetmp": choose the folder so the whole is 259, then 260.
    std::string base = scratch.path() + "\\";
    std::size_t fixed = base.size() + std::string("\\setup.exetmp").size();
    ASSERT_LT(fixed, 250u);
    std::string folder259 = base + std::string(259 - fixed, 'a');
    std::string folder260 = base + std::string(260 - fixed, 'b');
    createFolderPath(folder259);
    ElementDownloadPaths ok = elementDownloadPaths(folder259, "setup.exe");
    ElementDownloadPaths tooLong = elementDownloadPaths(folder260, "setup.exe");
    ASSERT_EQ(259u, ok.temporaryPath.size());
    EXPECT_EQ(DownloadOutcome::Transferred,
              downloadElementFile(testServerUrl("/data/a?size=5"), ok, false, abort, &sink).outcome);
    DownloadResult result =
        downloadElementFile(testServerUrl("/data/a?size=5"), tooLong, false, abort, &sink);
    EXPECT_EQ(DownloadOutcome::PathTooLong, result.outcome);
    EXPECT_EQ("Error. Download path too long. Please copy the installer EXE to shorter path and try again.",
              result.userText());
    EXPECT_EQ(-2004, downloadFileToFolder(folder260, "setup.exe", abort, testServerUrl("/data/a?size=5")));
    EXPECT_EQ(1u, requests().size());
}

TEST_F(DownloadEngine, AbortDuringTheTransferLeavesTheFinalPathUntouched) {
    sink.abortAfterFirst = &abort;
    DWORD start = ::GetTickCount();
    // The whole transfer would take half a minute.
    DownloadResult result = fetch("/data/a?size=5000000&delay=200&chunk=32768");
    EXPECT_EQ(DownloadOutcome::Aborted, result.outcome);
    EXPECT_LT(::GetTickCount() - start, 15000u);
    EXPECT_FALSE(fileExists(paths.finalPath));
    EXPECT_TRUE(fileExists(paths.temporaryPath));
    EXPECT_EQ(1u, sink.reports.size());

    std::atomic<bool> set{true};
    EXPECT_EQ(-2005, downloadFileToFolder(scratch.path(), "other.bin", set, testServerUrl("/data/a?size=5")));
    EXPECT_FALSE(fileExists(scratch.file("other.bin")));
}

TEST_F(DownloadEngine, StoppingFromAnotherThreadEndsATransferThatWaitsForData) {
    // The server pauses after the first 200 KB; the stop comes meanwhile and
    // closes the handles (a read under way returns at once on Windows, with
    // the next data under wine) and the transfer ends as aborted.
    hnInternetStop stop;
    std::thread stopper([&stop] {
        ::Sleep(300);
        stop.requestStop();
    });
    DownloadResult result = downloadElementFile(testServerUrl("/data/a?size=400000&chunk=200000&delay=1200"),
                                                paths, false, abort, &sink, &stop);
    stopper.join();
    EXPECT_EQ(DownloadOutcome::Aborted, result.outcome);
    EXPECT_FALSE(fileExists(paths.finalPath));

    // A stopped control refuses new handles: nothing is requested.
    serverLog(true);
    EXPECT_EQ(
        DownloadOutcome::Aborted,
        downloadElementFile(testServerUrl("/data/a?size=5"), paths, false, abort, &sink, &stop).outcome);
    EXPECT_TRUE(requests().empty());
}

TEST_F(DownloadEngine, StoppingEndsAGrownReadWhenTheLinkStalls) {
    // 4 MB arrive at once, so reads have grown to whole buffers when the
    // server stalls for 1.5 s; the stop comes during the stall and the read
    // under way ends (at once on Windows, with the next data under wine).
    hnInternetStop stop;
    std::thread stopper([&stop] {
        ::Sleep(500);
        stop.requestStop();
    });
    DWORD start = ::GetTickCount();
    DownloadResult result =
        downloadElementFile(testServerUrl("/data/a?size=16000000&stall=4000000&stallms=1500&chunk=65536"),
                            paths, false, abort, &sink, &stop);
    stopper.join();
    EXPECT_EQ(DownloadOutcome::Aborted, result.outcome);
    // A hang guard only: a loaded machine may take seconds to tidy up.
    EXPECT_LT(::GetTickCount() - start, 15000u);
    EXPECT_FALSE(fileExists(paths.finalPath));
}

TEST_F(DownloadEngine, FileNamesThatAreNotPlainNamesAreRefused) {
    for (const char* name : {"", ".", "..", "..\\evil.exe", "sub/evil.exe", "C:evil.exe", "a\\b"}) {
        EXPECT_EQ(0, fetchToFolder("/data/a?size=5", name)) << name;
        ElementDownloadPaths bad = elementDownloadPaths(scratch.path() + "\\inner", name);
        EXPECT_EQ(DownloadOutcome::Unexpected,
                  downloadElementFile(testServerUrl("/data/a?size=5"), bad, false, abort, &sink).outcome)
            << name;
    }
    EXPECT_TRUE(requests().empty());
    EXPECT_FALSE(fileExists(scratch.path() + "\\..\\evil.exe"));
    EXPECT_TRUE(isPlainFileName("numpy-1.14.0-mkl-cp27-cp27m-win32.whl"));
}

TEST(DownloadFiles, FolderCreationAndReplacingMoves) {
    ScratchFolder scratch;
    std::string deep = scratch.path() + "\\a/b\\c";
    EXPECT_TRUE(createFolderPath(deep));
    EXPECT_TRUE(fileExists(scratch.path() + "\\a\\b\\c"));
    EXPECT_TRUE(createFolderPath(deep));

    EXPECT_FALSE(moveFileReplacing(scratch.file("none"), scratch.file("x")));
    ASSERT_TRUE(writeTextFile(scratch.file("new"), "new"));
    ASSERT_TRUE(writeTextFile(scratch.file("old"), "old"));
    ::SetFileAttributesA(scratch.file("old").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(moveFileReplacing(scratch.file("new"), scratch.file("old")));
    EXPECT_EQ("new", readTextFile(scratch.file("old")));
    EXPECT_FALSE(fileExists(scratch.file("new")));
}
