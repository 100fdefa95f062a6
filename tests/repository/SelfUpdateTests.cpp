// The self-update against the demo server over real HTTP: the server is
// switched between its upgrade variants (a newer release, a newer beta,
// nothing, an older version, missing notes, hostile file names), and the
// offered installer is downloaded and handed over to the main window.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/FileVersion.h"
#include "main/InstallerApp.h"
#include "download/DownloadEngine.h"
#include "download/SelfUpdate.h"
#include "download/UpgradeInfo.h"
#include "download_ids.h"
#include "install/SelfUpdateOffer.h"
#include "support/TestSupport.h"

namespace {

const char* const kNextInstaller = "OrvantoVisionSoftware_15_0_0_775_Installer_201015.exe";

// Chooses what the demo server's upgrade-info files say.
bool serveUpgradeMode(const std::string& mode) {
    ScratchFolder scratch;
    const std::atomic<bool> abort{false};
    return downloadFileToFolder(scratch.path(), "mode.txt", abort,
                                theApp()->repositoryBaseUrl() + "/demo-control/upgrade/" + mode) > 0;
}

std::unique_ptr<CUpgradeInfo> channelRecord(bool beta) {
    const char* file = beta ? "774UpgradeInfoBeta.ini.txt" : "774UpgradeInfo.ini.txt";
    auto record =
        std::make_unique<CUpgradeInfo>(theApp()->repositoryBaseUrl() + kInstallerServerFolder + file, file);
    record->beta = beta;
    return record;
}

struct ChannelResult {
    int release;
    int beta;
};

ChannelResult fetchBoth(const std::string& mode, std::unique_ptr<CUpgradeInfo>& release,
                        std::unique_ptr<CUpgradeInfo>& beta) {
    EXPECT_TRUE(serveUpgradeMode(mode)) << mode;
    release = channelRecord(false);
    ::Sleep(2); // the records' private folders are named by the millisecond
    beta = channelRecord(true);
    return {fetchUpgradeInfo(*release), fetchUpgradeInfo(*beta)};
}

// A main window that counts the hand-over messages it receives.
class HandOverWindow {
public:
    HandOverWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvantoHandOverTestWindow";
        ::RegisterClassA(&windowClass);
        hwnd_ = ::CreateWindowA("OrvantoHandOverTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
        previous_ = theApp()->mainWindow();
        theApp()->setMainWindow(hwnd_);
    }
    ~HandOverWindow() {
        theApp()->setMainWindow(previous_);
        ::DestroyWindow(hwnd_);
    }
    int handOvers() const { return static_cast<int>(::GetWindowLongPtrA(hwnd_, GWLP_USERDATA)); }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kMsgHandOverToNewInstaller) {
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, ::GetWindowLongPtrA(hwnd, GWLP_USERDATA) + 1);
            return 0;
        }
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
    HWND previous_ = nullptr;
};

std::string installersFolder() {
    return theApp()->applicationFolder() + "\\_OrvantoInstallers";
}

class SelfUpdate : public ::testing::Test {
protected:
    void TearDown() override {
        serveUpgradeMode("none");
        deleteFolderTree(installersFolder().c_str(), "_OrvantoInstallers");
        theApp()->pendingInstallerPath().clear();
        theApp()->pendingInstallerFileName().clear();
    }
};

} // namespace

TEST_F(SelfUpdate, EachChannelOffersOnlyANewerInstallerWithItsNotes) {
    std::unique_ptr<CUpgradeInfo> release, beta;

    // A newer release; the beta file names the running caption: nothing.
    ChannelResult result = fetchBoth("release", release, beta);
    EXPECT_EQ(1, result.release);
    EXPECT_EQ(2, release->checkState);
    EXPECT_EQ("15.0.0.775", release->latestVersionNumber);
    EXPECT_EQ("Orvanto Vision Software XV 775 Installer", release->latestVersionName);
    EXPECT_EQ(kInstallerCaption, release->currentVersionName);
    EXPECT_EQ(release->privateFolder + "\\ReleaseNotes_775.rtf", release->releaseNotesPath);
    EXPECT_NE(std::string::npos, readTextFile(release->releaseNotesPath).find("{\\rtf1"));
    EXPECT_EQ(kUpgradeNothingNewer, result.beta);
    EXPECT_EQ(1, beta->checkState);

    // Both channels newer, each with its own notes.
    result = fetchBoth("beta", release, beta);
    EXPECT_EQ(1, result.release);
    EXPECT_EQ(1, result.beta);
    EXPECT_EQ("Orvanto Vision Software XV 775 Beta 1 Installer", beta->latestVersionName);
    EXPECT_EQ(beta->privateFolder + "\\Beta\\ReleaseNotes_775_Beta1.rtf", beta->releaseNotesPath);
    EXPECT_TRUE(fileExists(beta->releaseNotesPath));

    // Nothing newer, an older version under another caption, missing notes.
    result = fetchBoth("none", release, beta);
    EXPECT_EQ(kUpgradeNothingNewer, result.release);
    EXPECT_EQ(1, release->checkState);
    result = fetchBoth("older", release, beta);
    EXPECT_EQ(kUpgradeNothingNewer, result.release);
    EXPECT_TRUE(release->latestVersionNumber.empty());
    result = fetchBoth("missing-notes", release, beta);
    EXPECT_EQ(kUpgradeNotesUnavailable, result.release);
    EXPECT_EQ(1, release->checkState);
}

TEST_F(SelfUpdate, SameNamedNotesOfASharedFolderStayApartAndALongNameIsNoOffer) {
    // Two records made in the same millisecond share their private folder.
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::string base = theApp()->repositoryBaseUrl() + kInstallerServerFolder;
    CUpgradeInfo release(base + "774UpgradeInfo.ini.txt", "774UpgradeInfo.ini.txt", now);
    CUpgradeInfo beta(base + "774UpgradeInfoBeta.ini.txt", "774UpgradeInfoBeta.ini.txt", now);
    beta.beta = true;
    ASSERT_EQ(release.privateFolder, beta.privateFolder);
    ASSERT_TRUE(serveUpgradeMode("same-notes-name"));
    ASSERT_EQ(1, fetchUpgradeInfo(release));
    ASSERT_EQ(1, fetchUpgradeInfo(beta));
    EXPECT_EQ(release.privateFolder + "\\ReleaseNotes_775.rtf", release.releaseNotesPath);
    EXPECT_EQ(beta.privateFolder + "\\Beta\\ReleaseNotes_775.rtf", beta.releaseNotesPath);
    EXPECT_EQ(std::string::npos, readTextFile(release.releaseNotesPath).find("Beta 1"));
    EXPECT_NE(std::string::npos, readTextFile(beta.releaseNotesPath).find("Beta 1"));

    // An installer name too long for the application folder: nothing is
    // offered, and the debug output names the server's file.
    DebugCapture debug;
    ASSERT_TRUE(serveUpgradeMode("long-name"));
    std::unique_ptr<CUpgradeInfo> longName = channelRecord(false);
    EXPECT_EQ(kUpgradeNothingNewer, fetchUpgradeInfo(*longName));
    EXPECT_EQ(1, longName->checkState);
    std::string name = "OrvantoVisionSoftware_15_0_0_775_Installer_" + std::string(200, 'x') + ".exe";
    EXPECT_TRUE(debug.contains("fetchUpgradeInfo - installer file name '" + name +
                               "' does not fit the application folder\n"));
}

TEST_F(SelfUpdate, UnreachableInfoAndAMissingFolderAreFailedChecks) {
    CUpgradeInfo missing(theApp()->repositoryBaseUrl() + kInstallerServerFolder + "NoSuchInfo.ini.txt",
                         "NoSuchInfo.ini.txt");
    std::size_t mark = sessionLogMark();
    EXPECT_EQ(kUpgradeInfoUnavailable, fetchUpgradeInfo(missing));
    EXPECT_EQ(1, missing.checkState);
    EXPECT_NE(std::string::npos,
              sessionLogLinesSince(mark, "Self-update")
                  .find("Self-update: checked " + missing.infoUrl + ": could not be fetched"));

    serveUpgradeMode("release");
    std::unique_ptr<CUpgradeInfo> release = channelRecord(false);
    deleteFolderTree(release->privateFolder.c_str(), release->privateFolder.c_str());
    release->privateFolder.clear(); // the temp folder could not be had
    EXPECT_EQ(kUpgradeInfoUnavailable, fetchUpgradeInfo(*release));
    EXPECT_EQ(1, release->checkState);
}

TEST_F(SelfUpdate, HostileFileNamesAreNothingToOffer) {
    std::unique_ptr<CUpgradeInfo> release, beta;
    // An installer name that climbs out of the folder; the running
    // installer's own published name.
    ChannelResult result = fetchBoth("hostile", release, beta);
    EXPECT_EQ(kUpgradeNothingNewer, result.release);
    EXPECT_EQ(kUpgradeNothingNewer, result.beta);
    // Notes that climb out of the private folder; an installer of another family.
    result = fetchBoth("hostile-notes", release, beta);
    EXPECT_EQ(kUpgradeNotesUnavailable, result.release);
    EXPECT_EQ(kUpgradeNothingNewer, result.beta);
    EXPECT_FALSE(fileExists(release->privateFolder.substr(0, release->privateFolder.find_last_of('\\')) +
                            "\\ReleaseNotes_775.rtf"));
    EXPECT_EQ(1, release->checkState);

    EXPECT_TRUE(isOfferableInstallerName(kNextInstaller));
    EXPECT_TRUE(isOfferableInstallerName("OrvantoVisionSoftware_15_0_0_775_Installer_Beta1.EXE"));
    for (const char* refused :
         {"OrvantoVisionSoftware_15_0_0_775_Installer_201015.msi", "setup.exe",
          "OrvantoVisionSoftware_15_0_0_775_Setup.exe", "..\\OrvantoVisionSoftware_1_Installer_.exe",
          "OrvantoVisionSoftware_/_Installer_.exe", ""})
        EXPECT_FALSE(isOfferableInstallerName(refused)) << refused;
}

TEST_F(SelfUpdate, OnlyALowerFourPartVersionCountsAsOlder) {
    // The test program carries the installer's version resource, 15.0.0.774.
    EXPECT_TRUE(isOlderThanRunningVersion("15.0.0.773"));
    EXPECT_TRUE(isOlderThanRunningVersion("14.9.9.999"));
    for (const char* notOlder : {"15.0.0.774", "15.0.0.775", "15.0.1.0", "15.0.0", "15.0.0.7a",
                                 "15.0.0.70000", "15.0.0.773.1", "", "XV 773"})
        EXPECT_FALSE(isOlderThanRunningVersion(notOlder)) << notOlder;
}

TEST_F(SelfUpdate, OfferDownloadsTheInstallerAndHandsItOver) {
    ScriptedPrompter prompter;
    HandOverWindow mainWindow;
    ASSERT_TRUE(serveUpgradeMode("release"));
    std::unique_ptr<CUpgradeInfo> release = channelRecord(false);

    // Not checked yet: the user is told, nothing is fetched.
    EXPECT_EQ(-1, offerUpgrade(*release));
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Unable to download new version. Please try again", prompter.records[0].text);

    std::size_t mark = sessionLogMark();
    ASSERT_EQ(1, fetchUpgradeInfo(*release));
    // "Ignore" in the dialog: nothing downloaded.
    prompter.answer(IDCANCEL);
    EXPECT_EQ(-1, offerUpgrade(*release));
    EXPECT_EQ(IDD_NEW_VERSION_AVAILABLE, prompter.records.back().dialogId);
    EXPECT_FALSE(fileExists(installersFolder() + "\\" + kNextInstaller));

    // "Download": the installer lands in "_OrvantoInstallers" and is handed over.
    prompter.answer(IDOK);
    prompter.answer(IDOK);
    EXPECT_EQ(1, offerUpgrade(*release));
    std::string downloaded = installersFolder() + "\\" + kNextInstaller;
    EXPECT_EQ("Successfully downloaded the installer version 15.0.0.775.\n" + installersFolder() + "\\" +
                  kNextInstaller,
              prompter.records.back().text);
    EXPECT_EQ(downloaded, theApp()->pendingInstallerPath());
    EXPECT_EQ(kNextInstaller, theApp()->pendingInstallerFileName());
    EXPECT_EQ(1, mainWindow.handOvers());
    std::string version, privateBuild;
    EXPECT_EQ(1, readFileVersionAndPrivateBuild(downloaded, version, privateBuild));
    EXPECT_EQ("15.0.0.775", version);
    EXPECT_EQ("Release 201015", privateBuild);
    // Each step is in the session log: the check, the fetch, the hand-over.
    std::string steps = sessionLogLinesSince(mark, "Self-update");
    const std::vector<std::string> expectedSteps = {"Self-update: checked " + release->infoUrl + ": offers ",
                                                    std::string(", installer ") + kNextInstaller,
                                                    "Self-update: fetched installer ", " as " + downloaded,
                                                    "Self-update: handing over to " + downloaded};
    for (const std::string& step : expectedSteps)
        EXPECT_NE(std::string::npos, steps.find(step)) << step << "\n" << steps;

    // The INI changed to a name too long for the target folder: the user is
    // told so, and nothing is downloaded or handed over.
    std::string longName = "OrvantoVisionSoftware_15_0_0_775_Installer_" + std::string(200, 'x') + ".exe";
    ASSERT_TRUE(::WritePrivateProfileStringA(kUpgradeInfoSection, "InstallerFileName", longName.c_str(),
                                             upgradeInfoIniPath(*release).c_str()));
    prompter.answer(IDOK);
    EXPECT_EQ(-1, offerUpgrade(*release));
    EXPECT_EQ("The name of the server's installer file is too long for the folder " + installersFolder() +
                  ".\nPlease select a folder with a shorter path.",
              prompter.records.back().text);
    EXPECT_EQ(1, mainWindow.handOvers());

    // Notes gone from the private folder: the dialog would close at once.
    ::DeleteFileA(release->releaseNotesPath.c_str());
    size_t asked = prompter.records.size();
    EXPECT_EQ(-1, offerUpgrade(*release));
    EXPECT_EQ(asked, prompter.records.size());
    EXPECT_EQ(1, mainWindow.handOvers());
}
