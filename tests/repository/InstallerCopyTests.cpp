// An installer copy made from the demo repository: a chosen subset of the
// wizard's installables and the demo profiles gathered into the cache, then
// used with the server out of reach.
#include <gtest/gtest.h>

#include <string>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/InstallerApp.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/ElementActions.h"
#include "install/InstallManager.h"
#include "pages/CoreComponentsPage.h"
#include "pages/InstallerPages.h"
#include "pages/WelcomePage.h"
#include "support/TestSupport.h"

namespace {

const char* const kRuntime = "Orvanto Version XV 15.0.0.774 Runtime";

bool folderHolds(const std::string& folder, const char* pattern) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(find);
    return true;
}

// Points the program at a server that is not there while it lives.
struct ServerOutOfReach {
    std::string previous = theApp()->repositoryBaseUrl();
    ServerOutOfReach() { ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", "http://127.0.0.1:1"); }
    ~ServerOutOfReach() { ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", previous.c_str()); }
};

} // namespace

TEST(InstallerCopy, ChosenSubsetIsGatheredAndServesWithoutTheServer) {
    ScriptedPrompter prompter;
    std::string runtimeCache = cacheFolder(cache::kRuntime);
    std::string profilesCache = cacheFolder(cache::kDemoProfiles);
    std::string visionFile =
        cacheFolder(cache::kVisionSoftware) + "\\OrvantoVisionSoftware_15_0_0_774_200831.exe";
    deleteFileForced(runtimeCache + "\\OrvantoRuntime_15_0_0_774_ReDist_200831.exe");
    deleteFileForced(visionFile);
    deleteFolderTree(profilesCache.c_str(), "DemoProfiles");
    {
        kdDKadrixSDKInstallerSheet sheet(createInstallerPages());
        sheet.setWizardMode();
        ASSERT_TRUE(sheet.create());
        kdDInstallWelcomeBase& welcome = *installerPages(sheet).welcomePage;
        int groups = 0;
        welcome.selectComponents = [&groups](hnInstallerComponentTree& tree) {
            groups = static_cast<int>(tree.groups.size());
            for (InstallerComponentGroup& group : tree.groups)
                for (InstallerComponentItem& item : group.items)
                    item.selected = item.name == kRuntime || group.name == "Demo Profiles";
            return IDOK;
        };
        EXPECT_EQ(1, welcome.createInstallerCopy());
        EXPECT_GE(groups, 8); // the categories of every page are offered
        EXPECT_TRUE(prompter.records.empty()) << prompter.records.front().text;
        ::DestroyWindow(sheet.hwnd());
    }
    EXPECT_TRUE(fileExists(runtimeCache + "\\OrvantoRuntime_15_0_0_774_ReDist_200831.exe"));
    EXPECT_FALSE(fileExists(visionFile));
    EXPECT_TRUE(folderHolds(profilesCache, "*.zip")) << profilesCache;

    // Without the server the core page's runtime comes from the copy.
    ServerOutOfReach outOfReach;
    hnInstallManagerBase manager;
    std::string names[2], status[2], progress[2];
    buildCoreElements(manager, 2, names, status, progress);
    bool userAborted = false;
    EXPECT_EQ(1, manager.actions().downloadElement(*manager.item(0), userAborted, 1, 1));
    EXPECT_EQ(kProgressDownloaded, progress[0]);
    EXPECT_EQ(-1, manager.actions().downloadElement(*manager.item(1), userAborted, 1, 1)); // not in the copy
    deleteFolderTree(profilesCache.c_str(), "DemoProfiles");
}
