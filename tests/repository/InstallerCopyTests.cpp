// An installer copy made from the demo repository: a chosen subset of the
// wizard's installables and the demo profiles gathered into the cache, then
// used with the server out of reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>
#include <windows.h>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "download/Unzipper.h"
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

// The content lists of the toolbox, tutorials and resources pages are
// gathered through the pages' own builders, from page objects that were never
// shown; a list the server no longer has serves from the cache, and a name
// that would leave the cache folder is refused.
TEST(InstallerCopy, ContentOfTheToolboxTutorialsAndResourcesPagesIsGathered) {
    ScriptedPrompter prompter;
    prompter.fallback = 2; // messages acknowledged; the lost list's failed download ignored
    DebugCapture debug;
    std::string toolbox = cacheFolder(cache::kToolbox), tutorials = cacheFolder(cache::kTutorials);
    std::string resources = cacheFolder(cache::kResources);
    const char* landed[] = {"PlaneFit3D.zip", "BoxFit3D.zip", "PointCloudDemo1_0_0_550.zip",
                            "PointCloudDemo1_0_0_1114_Py36.zip"};
    for (const char* name : landed)
        deleteFileForced(toolbox + "\\" + name);
    deleteFolderTree(tutorials.c_str(), "Tutorials");
    deleteFolderTree(resources.c_str(), "Resources");
    ASSERT_TRUE(CUnzipper::ensureFolder(toolbox));
    std::string lostList = toolbox + "\\1.0.0.355_OTP.txt";
    std::string server = theApp()->repositoryBaseUrl() + "/orvanto/files/InstallerDownloads/";
    writeTextFile(lostList,
                  "[Demo]\nName=Point Cloud Demo\nURL=" + server +
                      "OrvatoTemplateToolboxes/DeepformVision/1.0.0.550/PointCloudDemo1_0_0_550.zip\n\n"
                      "[Demo]\nName=Escape\nURL=" +
                      server + "..\n\n");
    const std::vector<std::string> chosen = {"Deepform Vision 1.0.0.550 - Templates",
                                             "Deepform Vision 1.0.0.355 - Demo Profiles",
                                             "Deepform Vision 1.0.0.1114 - Demo Profiles (Python 36)",
                                             "Orvanto Vision Tutorials", "Orvanto Vision Resources"};
    std::vector<std::string> groups, items;
    {
        kdDKadrixSDKInstallerSheet sheet(createInstallerPages());
        sheet.setWizardMode();
        ASSERT_TRUE(sheet.create());
        kdDInstallWelcomeBase& welcome = *installerPages(sheet).welcomePage;
        welcome.selectComponents = [&](hnInstallerComponentTree& tree) {
            for (InstallerComponentGroup& group : tree.groups) {
                groups.push_back(group.name);
                for (InstallerComponentItem& item : group.items) {
                    items.push_back(item.name);
                    item.selected = std::find(chosen.begin(), chosen.end(), item.name) != chosen.end();
                }
            }
            return IDOK;
        };
        EXPECT_EQ(1, welcome.createInstallerCopy());
        ::DestroyWindow(sheet.hwnd());
    }
    // The package and modules pages' installables are offered with the rest.
    for (const char* group : {"Recommended Orvanto Extensions", "Optional Orvanto Extensions (Python 36)",
                              "3D Toolbox Deepform Vision (Python 36)", "Tutorials", "Resources"})
        EXPECT_NE(groups.end(), std::find(groups.begin(), groups.end(), group)) << group;
    EXPECT_NE(items.end(), std::find(items.begin(), items.end(), "Orvanto 2018.0.0.992 IPP"));

    for (const char* name : landed)
        EXPECT_TRUE(fileExists(toolbox + "\\" + name)) << name;
    EXPECT_TRUE(fileExists(tutorials + "\\Tutorial1.zip"));
    EXPECT_TRUE(fileExists(tutorials + "\\Tutorial4.zip"));
    EXPECT_TRUE(fileExists(resources + "\\emblem-green.png")); // a picture the list names
    EXPECT_FALSE(fileExists(resources + "\\photo.jpg"));       // never shown, never copied
    // Only the lost list's download failed (the server's answer, then the
    // choice, ignored); the cached copy served.
    ASSERT_EQ(2u, prompter.records.size()) << prompter.records.front().text;
    EXPECT_NE(std::string::npos, prompter.records[0].text.find("404"));
    EXPECT_EQ("Error - Unable to download the component '1.0.0.355_OTP.txt'", prompter.records[1].text);
    EXPECT_TRUE(fileExists(lostList));
    EXPECT_TRUE(
        debug.contains("buildContentElements - Unsafe file name in the list, entry 'Escape' skipped\n"));
    // What the copy fetched goes again: other tests start without lists.
    for (const char* name : landed)
        deleteFileForced(toolbox + "\\" + name);
    deleteFileForced(toolbox + "\\CylinderFit3D.zip");
    deleteFileForced(toolbox + "\\1.0.0.550_OTC.txt");
    deleteFileForced(cacheFolder(cache::kToolboxPy36) + "\\1.0.0.1114_Py36_OTP.txt");
    deleteFileForced(lostList);
    deleteFolderTree(tutorials.c_str(), "Tutorials");
    deleteFolderTree(resources.c_str(), "Resources");
}
