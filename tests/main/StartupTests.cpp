#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "process/TempFolder.h"
#include "app/SystemView.h"
#include "download/UpgradeInfo.h"
#include "resource.h"
#include "support/TestSupport.h"

namespace {

std::string privateTempFolder() {
    std::string temp;
    hnTempFolder(temp);
    return temp + kPrivateTempSubFolder;
}

// Shortens the start-up waits of the test's application object.
struct ShortWaits {
    explicit ShortWaits(DWORD ms) : app(*theApp()), saved(app.busyWaitMs) { app.busyWaitMs = ms; }
    ~ShortWaits() { app.busyWaitMs = saved; }
    COrvantoKadrixSDKInstallerApp& app;
    DWORD saved;
};

bool waitForCount(const std::function<int()>& count, int wanted) {
    return waitFor([&] { return count() == wanted; }, 10000);
}

} // namespace

TEST(Startup, TempSubFolderIsEmptiedButKept) {
    std::string folder = privateTempFolder();
    makeFolders(folder + "\\old-setup\\nested");
    writeTextFile(folder + "\\old-setup\\nested\\x.dll", "x");
    writeTextFile(folder + "\\wheel.whl", "w");
    ::SetFileAttributesA((folder + "\\wheel.whl").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(theApp()->cleanUpTempSubFolder());
    EXPECT_TRUE(fileExists(folder));
    EXPECT_FALSE(fileExists(folder + "\\*.whl"));
    EXPECT_FALSE(fileExists(folder + "\\old-setup"));

    deleteFolderTree(folder.c_str(), folder.c_str());
    EXPECT_TRUE(theApp()->cleanUpTempSubFolder()); // made anew when missing
    EXPECT_TRUE(fileExists(folder));
}

// Any process of the user can put a link where the private temp folder goes:
// it is removed as a link and a real folder made before anything in it is
// listed, deleted or written.
TEST(Startup, APlantedTempFolderLinkIsReplacedByARealFolder) {
    for (const char* fixture : {"startup", "subfolder"}) {
        const std::string root = std::string("C:\\orvanto-fixtures\\temp-") + fixture;
        const std::string folder = root + "\\temp\\Orvanto10_9267";
        if (!hnIsLinkPath(folder))
            GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
        TempFolderAt temp(root + "\\temp\\");
        bool used = false;
        if (std::string(fixture) == "startup") {
            used = theApp()->cleanUpTempSubFolder();
        } else {
            char path[kTempSubFolderCapacity] = {};
            used = createTempSubFolder(path, "MatrelBackup");
            if (used) {
                EXPECT_EQ(folder + "\\MatrelBackup", std::string(path));
                EXPECT_FALSE(hnIsLinkPath(path));
            }
        }
        // Where the link cannot be removed (this prefix's links are the host's
        // own), the folder is refused; either way nothing goes through it.
        EXPECT_EQ(used, !hnIsLinkPath(folder)) << fixture;
        if (used) {
            EXPECT_TRUE(fileExists(folder)) << fixture;
        }
        EXPECT_EQ("keep\n", readTextFile(root + "\\target\\keep.txt")) << fixture;
        EXPECT_FALSE(fileExists(root + "\\target\\MatrelBackup")) << fixture;
    }
}

TEST(Startup, AppFolderIsTheExecutablesFolderAndWritable) {
    COrvantoKadrixSDKInstallerApp& app = *theApp();
    EXPECT_EQ(testProgramFolder(), app.appFolderPath);
    EXPECT_TRUE(app.appFolderWritable);
    EXPECT_FALSE(fileExists(app.appFolderPath + "\\testFile.txt"));
}

TEST(Startup, WriteTestOnReadOnlyMediaFailsAndLeavesNoFile) {
    // /proc takes no new files, not even from root.
    EXPECT_FALSE(COrvantoKadrixSDKInstallerApp::isAppFolderWritable("Z:\\proc"));
    EXPECT_FALSE(fileExists("Z:\\proc\\testFile.txt"));

    ScratchFolder scratch;
    writeTextFile(scratch.file("testFile.txt"), "left from an earlier run");
    ::SetFileAttributesA(scratch.file("testFile.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(COrvantoKadrixSDKInstallerApp::isAppFolderWritable(scratch.path()));
    EXPECT_FALSE(fileExists(scratch.file("testFile.txt")));
}

TEST(Startup, ProcessCountsFollowImageNames) {
    COrvantoKadrixSDKInstallerApp& app = *theApp();
    EXPECT_EQ(COrvantoKadrixSDKInstallerApp::Conflict::None, app.findConflict());

    {
        ToolProcess own("sleeper", "orvantovisionsoftware_15_0_0_774_installer_200831.exe");
        ASSERT_TRUE(own.running());
        // Own count ignores case; the family prefix does not.
        EXPECT_TRUE(waitForCount([&] { return app.countOwnInstallerInstances(); }, 1));
        EXPECT_EQ(0, app.countProcessesByNamePrefix(kInstallerFamilyPrefix));
        EXPECT_EQ(COrvantoKadrixSDKInstallerApp::Conflict::None, app.findConflict());
    }
    {
        ToolProcess a("sleeper", "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe");
        ToolProcess b("sleeper", "OrvantoVisionSoftware_15_0_0_800_Installer_210101.exe");
        EXPECT_TRUE(waitForCount([&] { return app.countProcessesByNamePrefix(kInstallerFamilyPrefix); }, 2));
        EXPECT_EQ(1, app.countOwnInstallerInstances());
        EXPECT_EQ(COrvantoKadrixSDKInstallerApp::Conflict::FamilyInstance, app.findConflict());
    }
    {
        ToolProcess noMarker("sleeper", "OrvantoKadrixSDK_2_0_Setup.exe");
        ToolProcess sdk("sleeper", "OrvantoKadrixSDK_2_0_Installer_x.exe");
        EXPECT_TRUE(waitForCount([&] { return app.countProcessesByNamePrefix(kSdkInstallerPrefix); }, 1));
        EXPECT_EQ(COrvantoKadrixSDKInstallerApp::Conflict::SdkInstaller, app.findConflict());
    }
    {
        ToolProcess cams("sleeper", "ORK_SonySmartCams_1_Installer_2.exe");
        EXPECT_TRUE(
            waitForCount([&] { return app.countProcessesByNamePrefix(kSmartCamInstallerPrefix); }, 1));
        EXPECT_EQ(COrvantoKadrixSDKInstallerApp::Conflict::SmartCamInstaller, app.findConflict());
    }
}

TEST(Startup, SecondInstanceIsRefusedAfterFourWaitsWithTheFirstMessage) {
    ShortWaits waits(50);
    ScriptedPrompter prompter;
    ToolProcess a("sleeper", "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe");
    ToolProcess b("sleeper", "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe");
    ASSERT_TRUE(waitForCount([] { return theApp()->countOwnInstallerInstances(); }, 2));

    DWORD start = ::GetTickCount();
    EXPECT_FALSE(theApp()->passStartupChecks());
    EXPECT_GE(::GetTickCount() - start, 4 * 50u - 20);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Error: Another instance of the installer is already running. Unable to initiate the second "
              "instance.\n\nPlease close all other instances of the installer application and try again.\n\n",
              prompter.records[0].text);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer", prompter.records[0].caption);
}

TEST(Startup, PleaseWaitBoxShowsItsTextAndAnswersWhileStartupWaits) {
    ShortWaits waits(400);
    ScriptedPrompter prompter;
    ToolProcess a("sleeper", "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe");
    ToolProcess b("sleeper", "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe");
    ASSERT_TRUE(waitForCount([] { return theApp()->countOwnInstallerInstances(); }, 2));

    // Another thread reads the box's text while this one waits; a box whose
    // thread handles no messages would let every read time out.
    std::atomic<int> answered{0}, unanswered{0};
    std::string text;
    std::atomic<bool> waitEnded{false};
    std::thread reader([&] {
        // The box is found by its caption before its children exist, so the
        // label is looked for until it is there.
        HWND label = nullptr;
        while (!label && !waitEnded) {
            HWND box = ::FindWindowA("#32770", "Please wait...");
            label = box ? ::GetDlgItem(box, IDC_PLEASE_WAIT_TEXT) : nullptr;
            if (!label)
                ::Sleep(10);
        }
        while (label && ::IsWindow(label)) {
            char buffer[256] = {};
            DWORD_PTR length = 0;
            if (::SendMessageTimeoutA(label, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                                      SMTO_ABORTIFHUNG, 200, &length)) {
                if (::IsWindow(label))
                    ++answered;
                if (length)
                    text = buffer;
            } else if (::IsWindow(label)) {
                ++unanswered;
            }
            ::Sleep(50);
        }
    });
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(theApp()->passStartupChecks());
    DWORD elapsed = ::GetTickCount() - start;
    waitEnded = true;
    reader.join();
    // Four rounds of the interval, as before.
    EXPECT_GE(elapsed, 4 * 400u - 20);
    EXPECT_LT(elapsed, 4 * 400u + 15000); // a hang guard: a loaded machine reads processes slowly
    // The box answers throughout the waits; only the conflict checks between
    // them (reading the process list) may keep it busy for a moment.
    EXPECT_GE(answered.load(), 10);
    EXPECT_GT(answered.load(), 3 * unanswered.load());
    EXPECT_EQ("Finishing the installation.\nPlease wait...", text);
    EXPECT_EQ(1u, prompter.records.size());
}

TEST(Startup, OnlyThe64BitBuildReadsTheTestOverrides) {
    // The shipped program is the 32-bit one; the tests and the demo run the
    // 64-bit build, which obeys ORVANTO_REPOSITORY_URL and ORVANTO_STARTUP_WAIT_MS.
    EXPECT_EQ(sizeof(void*) == 8, COrvantoKadrixSDKInstallerApp::readsTestOverrides());
    char saved[1024] = {};
    DWORD had = ::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", saved, sizeof(saved));
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", "http://127.0.0.1:9");
    if (COrvantoKadrixSDKInstallerApp::readsTestOverrides())
        EXPECT_EQ("http://127.0.0.1:9", theApp()->repositoryBaseUrl());
    else
        EXPECT_EQ("http://repository.orvanto.com", theApp()->repositoryBaseUrl());
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", had ? saved : nullptr);
}

TEST(Startup, SiblingInstallerThatEndsDuringTheWaitLetsStartupGoOn) {
    ShortWaits waits(400);
    ScriptedPrompter prompter;
    ToolProcess sdk("sleeper", "OrvantoKadrixSDK_3_Installer_1.exe", "600");
    ASSERT_TRUE(waitForCount([] { return theApp()->countProcessesByNamePrefix(kSdkInstallerPrefix); }, 1));
    EXPECT_TRUE(theApp()->passStartupChecks());
    EXPECT_TRUE(prompter.records.empty());
}

TEST(Startup, RefusalMessagesPerConflict) {
    using C = COrvantoKadrixSDKInstallerApp::Conflict;
    EXPECT_STREQ("", COrvantoKadrixSDKInstallerApp::conflictMessage(C::None));
    EXPECT_NE(nullptr, strstr(COrvantoKadrixSDKInstallerApp::conflictMessage(C::FamilyInstance),
                              "Another instance of 'Orvanto Vision Software Installer' is already running."));
    EXPECT_STREQ(
        "Error: 'Orvanto Kadrix SDK Installer' is running. Unable to initiate 'Orvanto Vision Software "
        "Installer'.\n\nPlease close all instances of 'Orvanto Kadrix SDK Installer' application and try "
        "again.\n\n",
        COrvantoKadrixSDKInstallerApp::conflictMessage(C::SdkInstaller));
    EXPECT_NE(nullptr, strstr(COrvantoKadrixSDKInstallerApp::conflictMessage(C::SmartCamInstaller),
                              "'Orvanto Vision Apps for SmartCams from Sony Installer' is running."));
}

TEST(Startup, RepositoryAddressComesFromTheEnvironmentWhenSet) {
    char saved[1024] = {};
    DWORD had = ::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", saved, sizeof(saved));
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", "http://127.0.0.1:9/");
    EXPECT_EQ("http://127.0.0.1:9", theApp()->repositoryBaseUrl());
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", nullptr);
    EXPECT_EQ(0u, theApp()->repositoryBaseUrl().find("http://"));
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", had ? saved : nullptr);
}

TEST(UpgradeInfo, RecordsMadeInOneMillisecondShareAFolderThatGoesWithTheFirst) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::unique_ptr<CUpgradeInfo> first(
        new CUpgradeInfo("http://x/774UpgradeInfo.ini.txt", "774UpgradeInfo.ini.txt", now));
    writeTextFile(first->privateFolder + "\\774UpgradeInfo.ini.txt", "[Version Upgrade Info]\n");
    std::unique_ptr<CUpgradeInfo> second(
        new CUpgradeInfo("http://x/774UpgradeInfoBeta.ini.txt", "774UpgradeInfoBeta.ini.txt", now));
    // The second record starts from a fresh folder of the same name.
    EXPECT_FALSE(fileExists(first->privateFolder + "\\774UpgradeInfo.ini.txt"));
    ASSERT_EQ(first->privateFolder, second->privateFolder);
    EXPECT_TRUE(fileExists(first->privateFolder));
    EXPECT_EQ(0, first->checkState);
    EXPECT_EQ("774UpgradeInfoBeta.ini.txt", second->infoFileName);
    std::string shared = first->privateFolder;
    writeTextFile(shared + "\\774UpgradeInfoBeta.ini.txt", "[Version Upgrade Info]\n");
    first.reset();
    EXPECT_FALSE(fileExists(shared));
    second.reset(); // its folder is already gone: nothing to do, nothing fails
}

TEST(UpgradeInfo, FolderNameIsTheLocalTimeUnderTemp) {
    SYSTEMTIME before;
    ::GetLocalTime(&before);
    CUpgradeInfo record("u", "f");
    std::string temp;
    hnTempFolder(temp);
    ASSERT_EQ(0u, record.privateFolder.find(temp));
    std::string stamp = record.privateFolder.substr(temp.size());
    EXPECT_EQ(17u, stamp.size());
    char year[8];
    snprintf(year, sizeof(year), "%.4d", before.wYear);
    EXPECT_EQ(0u, stamp.find(year));
}

TEST(UpgradeInfo, NoTempFolderAndNoCTempLeavesTheFolderEmpty) {
    char savedTmp[1024] = {}, savedTemp[1024] = {};
    DWORD hadTmp = ::GetEnvironmentVariableA("TMP", savedTmp, sizeof(savedTmp));
    DWORD hadTemp = ::GetEnvironmentVariableA("TEMP", savedTemp, sizeof(savedTemp));
    std::string tooLong = "C:\\" + std::string(600, 'x');
    ::SetEnvironmentVariableA("TMP", tooLong.c_str());
    ::SetEnvironmentVariableA("TEMP", tooLong.c_str());
    // A file where C:\temp would be: the folder cannot be made under it.
    bool madeBlocker = !fileExists("C:\\temp") && writeTextFile("C:\\temp", "blocker");
    {
        CUpgradeInfo record("u", "f");
        if (madeBlocker) {
            EXPECT_EQ("", record.privateFolder);
        }
        EXPECT_EQ("f", record.infoFileName);
    }
    if (madeBlocker)
        ::DeleteFileA("C:\\temp");
    ::SetEnvironmentVariableA("TMP", hadTmp ? savedTmp : nullptr);
    ::SetEnvironmentVariableA("TEMP", hadTemp ? savedTemp : nullptr);
}

TEST(UpgradeInfo, ApplicationMakesBothRecordsWithTheirAddresses) {
    COrvantoKadrixSDKInstallerApp& app = *theApp();
    ASSERT_TRUE(app.upgradeInfo && app.upgradeInfoBeta);
    EXPECT_EQ("774UpgradeInfo.ini.txt", app.upgradeInfo->infoFileName);
    EXPECT_EQ(app.repositoryBaseUrl() + "/orvanto/files/InstallerRepositories/Orvanto15.0/774/"
                                        "OrvantoVisionSoftware/774UpgradeInfoBeta.ini.txt",
              app.upgradeInfoBeta->infoUrl);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer", app.upgradeInfo->currentVersionName);
}
