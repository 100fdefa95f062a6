// The catalogue pages of the real installer against the demo repository,
// worked through their windows: install a demo profile, run it (the runtime
// program records its command line), remove it, refresh after the server's
// list changed, and the server's list gone with and without a cached copy.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "support/RecordingRuntime.h"
#include "support/ShippedInstaller.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"
#include "wizard_ids.h"

using uidriver::Installer;

using namespace shipped;

namespace {

const char* const kLists =
    "\\repository\\orvanto\\files\\InstallerRepositories\\Orvanto15.0\\774\\OrvantoVisionSoftware\\";
const int kProfilesTab = 1129, kProfilesRefresh = 1097, kTemplatesTab = 1190;

int tabCount(HWND page, int id) {
    return static_cast<int>(::SendMessageA(::GetDlgItem(page, id), TCM_GETITEMCOUNT, 0, 0));
}

// The served demo list, put back as it was at the end.
class ServedList {
public:
    explicit ServedList(const char* name)
        : path_(buildFolder() + kLists + name), original_(readTextFile(path_)) {}
    ~ServedList() { writeTextFile(path_, original_); }
    void append(const std::string& text) { writeTextFile(path_, original_ + text); }
    void withdraw() { ::DeleteFileA(path_.c_str()); }

private:
    std::string path_;
    std::string original_;
};

// Answers the message box whose caption is exactly the installer caption (the
// sheet's caption begins with it too) and returns its text.
bool answerInstallerBox(DWORD pid, std::string& text) {
    HWND box = nullptr;
    uidriver::waitUntil(
        [&] {
            struct Search {
                DWORD pid;
                HWND hit;
            } search = {pid, nullptr};
            ::EnumWindows(
                [](HWND hwnd, LPARAM data) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    ::GetWindowThreadProcessId(hwnd, &owner);
                    if (owner == s->pid && ::IsWindowVisible(hwnd) &&
                        uidriver::windowText(hwnd) == kCaption && uidriver::className(hwnd) == "#32770")
                        s->hit = hwnd;
                    return s->hit ? FALSE : TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            box = search.hit;
            return box != nullptr;
        },
        15000);
    if (!box)
        return false;
    text = uidriver::windowText(::GetDlgItem(box, 0xFFFF));
    return Installer::click(box, IDOK);
}

void screenshot(HWND sheet, const char* name) {
    std::string folder = buildFolder() + "\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    Installer::screenshot(sheet, folder + "\\" + name + ".bmp");
}

} // namespace

TEST(CatalogueWalk, DemoProfileInstallRunRemoveRefreshAndServerDown) {
    std::string profile = documentsFolder() + "\\Orvanto 15.0\\Profiles\\BlobInspection";
    deleteFolderTree(profile.c_str(), profile.c_str());
    std::string cache = buildFolder() + "\\_OrvantoInstallData\\DemoProfiles\\15_0_0";
    deleteFolderTree(cache.c_str(), cache.c_str());
    RecordingRuntime runtime;
    ServedList list("774demo.txt");
    Installer app;
    ASSERT_TRUE(app.start(buildFolder() + "\\" + kExeName));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(Installer::click(sheet, ID_NAV_DEMO_PROFILES));
    ASSERT_TRUE(
        Installer::waitForCaption(sheet, kCaption + " - Machine Vision Demonstration Profiles", 30000));
    HWND page = currentPage(sheet);
    // Nothing cached: the tabs come with the list, fetched behind the page.
    EXPECT_TRUE(uidriver::waitUntil([&] { return tabCount(page, kProfilesTab) == 3; }, 30000));
    HWND rows = tabDialog(page);
    ASSERT_TRUE(rows);
    EXPECT_TRUE(visible(rows, 45001 + 11 * 5 + 1)); // twelve rows of the thirteen and more
    EXPECT_FALSE(::GetDlgItem(rows, 45001 + 12 * 5 + 1));

    // Install: the row turns to installed.
    ASSERT_TRUE(Installer::click(rows, 45002));
    EXPECT_TRUE(uidriver::waitUntil([&] { return visible(rows, 45000) && visible(rows, 45001); }, 30000));
    EXPECT_TRUE(fileExists(profile + "\\General.Ini"));
    uidriver::pause(1000);
    screenshot(sheet, "catalogue_demo_profiles");

    // Run: the runtime program gets the profile folder and the Python switch.
    ASSERT_TRUE(Installer::click(rows, 45001));
    EXPECT_TRUE(uidriver::waitUntil(
        [&] {
            return readTextFile(runtime.record).find("\"/IGNOREPROFILEVERSION\" --python27") !=
                   std::string::npos;
        },
        30000));
    EXPECT_NE(std::string::npos, readTextFile(runtime.record).find("\"System=" + profile + "\""));

    // Remove.
    ASSERT_TRUE(Installer::click(rows, 45000));
    EXPECT_TRUE(uidriver::waitUntil([&] { return !fileExists(profile); }, 10000));
    EXPECT_TRUE(uidriver::waitUntil([&] { return !visible(rows, 45001); }, 10000));

    // The server's list changed: Refresh shows the new group.
    list.append("\r\n[Refreshed]\r\nName=New on the server\r\n");
    ASSERT_TRUE(Installer::click(page, kProfilesRefresh));
    EXPECT_TRUE(uidriver::waitUntil([&] { return tabCount(page, kProfilesTab) == 4; }, 15000));

    // The server's list gone: the download error, then the cached list.
    list.withdraw();
    ASSERT_TRUE(Installer::click(page, kProfilesRefresh));
    EXPECT_TRUE(app.answerMessageBox("Download Error", IDCANCEL, nullptr, 15000));
    std::string text;
    EXPECT_TRUE(answerInstallerBox(app.pid(), text));
    EXPECT_EQ("Using default list of demo profiles.", text);
    EXPECT_TRUE(uidriver::waitUntil([&] { return tabCount(page, kProfilesTab) == 4; }, 5000));

    // Nothing cached either: the one blank tab with the not-available text.
    EXPECT_TRUE(deleteFileForced(cache + "\\774demo.txt"));
    ASSERT_TRUE(Installer::click(page, kProfilesRefresh));
    EXPECT_TRUE(app.answerMessageBox("Download Error", IDCANCEL, nullptr, 15000));
    EXPECT_TRUE(uidriver::waitUntil([&] { return tabCount(page, kProfilesTab) == 1; }, 15000));
    uidriver::pause(500);
    screenshot(sheet, "catalogue_demo_profiles_not_available");
    app.stop();
    deleteFolderTree(cache.c_str(), cache.c_str());
}

TEST(CatalogueWalk, TemplatesPageShowsItsTabs) {
    Installer app;
    ASSERT_TRUE(app.start(buildFolder() + "\\" + kExeName));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(Installer::click(sheet, ID_NAV_OTC));
    ASSERT_TRUE(Installer::waitForCaption(sheet, kCaption + " - OTC - Orvanto Tool Components", 30000));
    HWND page = currentPage(sheet);
    EXPECT_TRUE(uidriver::waitUntil([&] { return tabCount(page, kTemplatesTab) == 2; }, 30000));
    HWND rows = tabDialog(page);
    ASSERT_TRUE(rows);
    EXPECT_TRUE(visible(rows, 45001)); // install of the first row
    uidriver::pause(500);
    screenshot(sheet, "catalogue_templates");
    app.stop();
    std::string cache = buildFolder() + "\\_OrvantoInstallData\\Templates\\15_0_0";
    deleteFolderTree(cache.c_str(), cache.c_str());
}
