// The demo-profile and template pages against list files and archives served
// over HTTP from the fixtures folder: tabs, rows, install, run, remove,
// refresh, the cached and the missing list, and the rows' state while an
// operation runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <cstring>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "catalogue/CatalogueSources.h"
#include "catalogue/CatalogueTabCtrl.h"
#include "catalogue/TabDialogs.h"
#include "catalogue/ToolboxTabCtrl.h"
#include "catalogue_ids.h"
#include "install/InstallManager.h"
#include "pages/DemoProfilesPage.h"
#include "pages/PageTestSupport.h"
#include "pages/TemplatesPage.h"
#include "catalogue/CatalogueFixtures.h"
#include "support/RecordingRuntime.h"
#include "support/SlowRepository.h"

namespace {

HWND tabDialogOf(kdDCataloguePageBase& page) {
    return page.tabCtrl().tabDialog().hwnd();
}

std::vector<std::string> tabTexts(HWND tab) {
    std::vector<std::string> texts;
    int count = TabCtrl_GetItemCount(tab);
    for (int i = 0; i < count; ++i) {
        char text[128] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

void selectTab(kdDCataloguePageBase& page, int index, HWND pageWindow) {
    TabCtrl_SetCurSel(page.tabCtrl().hwnd(), index);
    NMHDR header = {page.tabCtrl().hwnd(), static_cast<UINT_PTR>(IDC_PROFILES_TAB),
                    static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageA(pageWindow, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// A row button pressed as the user presses it: the dialog hears the click.
void pressRow(HWND tabDialog, int controlId) {
    clickButton(tabDialog, controlId);
}

bool said(const ScriptedPrompter& prompter, const std::string& text) {
    for (const auto& record : prompter.records)
        if (record.text == text)
            return true;
    return false;
}

std::string demoList() {
    std::string list;
    for (int i = 1; i <= 13; ++i)
        list +=
            hnFormatText("[2D]\r\nName=Blob %d\r\nClassName=Blob%d\r\nVersionLabel=1.0.0.%d\r\nURL=%s\r\n", i,
                         i, i, CatalogueServer::zip(hnFormatText("profile_Blob%d-v1.0.0.%d", i, i)).c_str());
    list += "[2D]\r\nName=ignored, the fourteenth\r\n";
    list +=
        "[3D]\r\nName=Climber\r\nClassName=..\r\nVersionLabel=1\r\nURL=" + CatalogueServer::zip("profile_x") +
        "\r\nInfoURL=file:///C:/Windows/notepad.exe\r\n";
    list += "[3D]\r\nName=2D / 3D Blob\r\nClassName=Blob3D\r\nInfoText=Only a tooltip\r\nURL=" +
            CatalogueServer::zip("profile_Blob3D-v2.0.0.0") + "\r\nVersionLabel=1.0.0.0\r\n";
    return list;
}

} // namespace

TEST(DemoProfilesPage, InstallRunRemoveAndHostileRows) {
    CatalogueServer server;
    server.publish("774demo.txt", demoList());
    RecordingRuntime runtime;
    StoredSelection selection("Python 3.6.6");
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    HWND pageWindow = host.pageWindow();
    ASSERT_NE(nullptr, pageWindow);
    EXPECT_EQ((std::vector<std::string>{"2D", "3D"}), tabTexts(page.tabCtrl().hwnd()));
    auto& rows = static_cast<DTabProfiles2D&>(page.tabCtrl().tabDialog()).rows;
    ASSERT_EQ(12u, rows.size()); // the thirteenth entry of the group is not shown
    EXPECT_EQ("Blob 1", rows[0].name);
    HWND tab = tabDialogOf(page);

    // Install the first profile: downloaded, extracted, shown installed.
    pressRow(tab, 45002);
    std::string profile = userContentFolder("Profiles") + "Blob1";
    EXPECT_TRUE(fileExists(profile + "\\Orvanto.Opb"));
    EXPECT_TRUE(rows[0].installed);
    EXPECT_FALSE(controlEnabled(tab, 45002));
    EXPECT_TRUE(controlVisible(tab, 45001)); // run
    EXPECT_TRUE(controlVisible(tab, 45000)); // uninstall
    EXPECT_EQ("1.0.0.1", hnWindowText(rows[0].versionLabel));
    EXPECT_EQ("Blob 1", hnWindowText(rows[0].nameLabel));

    // Run: the runtime's program gets the profile and the Python switch.
    pressRow(tab, 45001);
    ASSERT_TRUE(waitFor(
        [&] { return readTextFile(runtime.record).find("IGNOREPROFILEVERSION") != std::string::npos; },
        30000));
    std::string line = readTextFile(runtime.record);
    EXPECT_NE(std::string::npos, line.find("\"System=" + profile + "\" \"/IGNOREPROFILEVERSION\" --python36"))
        << line;

    // Remove: the folder goes, the profiles folder stays.
    pressRow(tab, 45000);
    EXPECT_FALSE(fileExists(profile));
    EXPECT_TRUE(
        fileExists(userContentFolder("Profiles").substr(0, userContentFolder("Profiles").size() - 1)));
    EXPECT_FALSE(rows[0].installed);
    EXPECT_FALSE(controlVisible(tab, 45001));
    for (const auto& record : prompter.records)
        ADD_FAILURE() << "unexpected message: " << record.text;

    // The hostile group: ".." as folder name, a file: info link.
    selectTab(page, 1, pageWindow);
    tab = tabDialogOf(page);
    ASSERT_EQ(2u, rows.size());
    EXPECT_FALSE(rows[0].safe);
    EXPECT_FALSE(controlEnabled(tab, 45002));
    const auto& tabDialog = static_cast<const kdDTabDialogBase&>(page.tabCtrl().tabDialog());
    EXPECT_EQ(
        "Not offered: the folder name \"..\" in the server's list is not a plain name inside its folder.",
        toolTipText(tabDialog.toolTip, tab, rows[0].nameLabel));
    ::SendMessageA(tab, kDynamicButtonMessage, 0, OperationUninstall);
    EXPECT_TRUE(said(prompter, "Unable to uninstall the Orvanto Vision App. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 0, OperationInfo);
    EXPECT_TRUE(said(prompter, "Unable to access the profile information URL. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 7, OperationInstall);
    EXPECT_TRUE(said(
        prompter, "Error: Unable to locate the download path for the selected profile. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 1, 9);
    EXPECT_TRUE(said(prompter, "Error: Unexpected operation. Please try again."));
    EXPECT_TRUE(
        fileExists(userContentFolder("Profiles").substr(0, userContentFolder("Profiles").size() - 1)));
    // Only an info text: the picture, not the button.
    EXPECT_FALSE(controlVisible(tab, 45001 + 5 + 2));
    EXPECT_TRUE(controlVisible(tab, 45001 + 5 + 3));

    // A profile whose installed version differs from the offered one.
    pressRow(tab, 45001 + 5 + 1);
    EXPECT_TRUE(rows[1].installed);
    EXPECT_EQ("2.0.0.0", rows[1].installedVersion);
    EXPECT_EQ("1.0.0.0", hnWindowText(rows[1].versionLabel));
    EXPECT_EQ("2D / 3D Blob 2.0.0.0", hnWindowText(rows[1].nameLabel));
}

// A profile archive that also carries an entry for another profile's folder
// is refused whole: nothing is written, the row stays not installed.
TEST(DemoProfilesPage, AnArchiveReachingIntoAnotherProfileWritesNothing) {
    CatalogueServer server;
    server.publish("774demo.txt", "[2D]\r\nName=Mine\r\nClassName=Mine\r\nVersionLabel=1.0.0.0\r\nURL=" +
                                      CatalogueServer::zip("mixed") + "\r\n");
    std::string profiles = userContentFolder("Profiles");
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    auto& rows = static_cast<DTabProfiles2D&>(page.tabCtrl().tabDialog()).rows;
    ASSERT_EQ(1u, rows.size());
    pressRow(tabDialogOf(page), 45002);
    EXPECT_TRUE(said(prompter, "Error: Unable to extract the profile files. Please try again."));
    EXPECT_FALSE(fileExists(profiles + "Mine"));
    EXPECT_FALSE(fileExists(profiles + "other"));
    EXPECT_FALSE(rows[0].installed);
}

TEST(DemoProfilesPage, RunWithoutRuntimeStartsNothing) {
    CatalogueServer server;
    server.publish("774demo.txt", demoList());
    RecordingRuntime runtime;
    runtime.write(""); // key present, no folder
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    HWND tab = tabDialogOf(page);
    ::SendMessageA(tab, kDynamicButtonMessage, 0, OperationRun);
    EXPECT_TRUE(said(prompter, "Unable to load the profile. Unexpected error."));
    pumpMessages(500);
    EXPECT_EQ("", readTextFile(runtime.record));
}

TEST(DemoProfilesPage, RefreshRemembersTheTabAndFallsBackToTheCache) {
    CatalogueServer server;
    server.publish("774demo.txt", "[2D]\r\nName=A\r\n[2D]\r\nName=B\r\n[3D]\r\nName=C\r\n");
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    HWND pageWindow = host.pageWindow();
    EXPECT_EQ((std::vector<std::string>{"2D", "3D"}), tabTexts(page.tabCtrl().hwnd()));
    selectTab(page, 1, pageWindow);
    EXPECT_EQ("3D", page.tabCtrl().selectedTabName());

    // The server's list changed: the tab is found again however it is written.
    server.publish("774demo.txt", "[1D]\r\nName=Z\r\n[2D]\r\nName=A\r\n[3d]\r\nName=C\r\n");
    clickButton(pageWindow, IDC_PROFILES_REFRESH);
    EXPECT_EQ((std::vector<std::string>{"1D", "2D", "3d"}), tabTexts(page.tabCtrl().hwnd()));
    EXPECT_EQ("3d", page.tabCtrl().selectedTabName());
    EXPECT_EQ("3d", page.tabCtrl().tabDialog().tabName);

    // Server list gone: the cached copy stays in use and the user is told.
    server.withdraw("774demo.txt");
    prompter.records.clear();
    clickButton(pageWindow, IDC_PROFILES_REFRESH);
    EXPECT_TRUE(said(prompter, "Using default list of demo profiles."));
    EXPECT_EQ((std::vector<std::string>{"1D", "2D", "3d"}), tabTexts(page.tabCtrl().hwnd()));

    // Nothing cached either: the one blank tab and the not-available dialog.
    CatalogueServer::clearCaches();
    EXPECT_EQ(-1, page.refreshCatalogue(true, false));
    EXPECT_EQ((std::vector<std::string>{" "}), tabTexts(page.tabCtrl().hwnd()));
    EXPECT_TRUE(page.tabCtrl().showingNotAvailable);
    EXPECT_NE(nullptr, page.tabCtrl().notAvailableDialog().hwnd());
    EXPECT_EQ(nullptr, tabDialogOf(page));
    EXPECT_EQ("", page.tabCtrl().selectedTabName());
}

namespace {
struct DuringDownload {
    kdDCataloguePageBase* page = nullptr;
    HWND sheet = nullptr;
    HWND pageWindow = nullptr;
    HWND rowButton = nullptr;
    bool reactivated = false;
    bool rowsSurvived = false;
    std::string cachedList;
};
DuringDownload* during = nullptr;

void CALLBACK reactivateDuringDownload(HWND, UINT, UINT_PTR id, DWORD) {
    if (!during || during->reactivated || !during->page->tabCtrl().busy())
        return;
    ::KillTimer(nullptr, id);
    during->reactivated = true;
    writeTextFile(during->cachedList, "[After]\r\nName=rebuilt later\r\n");
    // What the sheet's re-selection of the current page on 0x408 delivers.
    NMHDR header = {during->sheet, 0, static_cast<UINT>(PSN_SETACTIVE)};
    ::SendMessageA(during->pageWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    during->rowsSurvived =
        ::IsWindow(during->rowButton) && during->page->tabCtrl().tabDialog().rowCount() == 1;
}
} // namespace

TEST(DemoProfilesPage, ReactivationWaitsForTheRowOperation) {
    CatalogueServer server;
    // A slow archive: the modal download runs long enough to be interrupted.
    server.publish("774demo.txt", "[2D]\r\nName=Slow\r\nURL=" + serverUrl() +
                                      "/data/slow?size=400000&delay=100&chunk=20000&as=/slow.zip\r\n");
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    DuringDownload state;
    state.page = &page;
    state.sheet = host.sheetWindow();
    state.pageWindow = host.pageWindow();
    state.rowButton = ::GetDlgItem(tabDialogOf(page), 45002);
    state.cachedList = localListPath(*page.installManager->item(0));
    during = &state;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, reactivateDuringDownload);
    pressRow(tabDialogOf(page), 45002);
    ::KillTimer(nullptr, timer);
    during = nullptr;
    EXPECT_TRUE(state.reactivated);
    EXPECT_TRUE(state.rowsSurvived);
    EXPECT_TRUE(said(prompter, "Error: Unable to extract the profile files. Please try again."));
    // The activation ran once the operation had ended.
    pumpMessages(300);
    EXPECT_EQ((std::vector<std::string>{"After"}), tabTexts(page.tabCtrl().hwnd()));
}

TEST(DemoProfilesPage, ReactivationKeepsTheRowsButDetectsThemAgain) {
    CatalogueServer server;
    server.publish("774demo.txt", "[2D]\r\nName=Blob\r\nVersionLabel=1.0.0.3\r\nInfoText=tip\r\n[3D]\r\n"
                                  "Name=Cube\r\n");
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    HWND pageWindow = host.pageWindow();
    HWND tab = tabDialogOf(page);
    HWND install = ::GetDlgItem(tab, 45002);
    HWND toolTip = static_cast<DTabProfiles2D&>(page.tabCtrl().tabDialog()).toolTip;
    LRESULT tools = ::SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0);
    EXPECT_FALSE(controlVisible(tab, 45000));

    // Installed behind the page's back: the next activation shows it on the
    // same controls.
    std::string profile = userContentFolder("Profiles") + "Blob";
    makeFolders(profile);
    writeTextFile(profile + "\\Orvanto.Opb", "opb");
    writeTextFile(profile + "\\General.Ini", "[Identification]\r\nVersionLabel=1.0.0.2\r\n");
    NMHDR header = {host.sheetWindow(), 0, static_cast<UINT>(PSN_SETACTIVE)};
    ::SendMessageA(pageWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(tab, tabDialogOf(page));
    EXPECT_EQ(install, ::GetDlgItem(tab, 45002));
    EXPECT_TRUE(controlVisible(tab, 45000));
    auto& rows = static_cast<DTabProfiles2D&>(page.tabCtrl().tabDialog()).rows;
    EXPECT_EQ("Blob 1.0.0.2", hnWindowText(rows[0].nameLabel));

    // A changed list rebuilds the rows, which leave no tools of their old
    // controls behind.
    server.publish("774demo.txt", "[2D]\r\nName=Blob\r\nVersionLabel=1.0.0.4\r\nInfoText=tip\r\n[3D]\r\n"
                                  "Name=Cube\r\n");
    clickButton(pageWindow, IDC_PROFILES_REFRESH);
    EXPECT_EQ("1.0.0.4", rows[0].availableVersion);
    EXPECT_EQ(tools, ::SendMessageA(toolTip, TTM_GETTOOLCOUNT, 0, 0));
    deleteFolderTree(profile.c_str(), profile.c_str());
}

TEST(TemplatesPage, ThreeStatesInstallAllAndUninstallOfTheFoundFolder) {
    CatalogueServer server;
    std::string templates = userContentFolder("Templates");
    // The templates folder may be there already (other programs' tests use
    // it): this test's folders go at both ends.
    auto removeOwnFolders = [&templates] {
        for (const char* name : {"Older_1.0.0.3", "Newer_3.0.0.0", "Padded_01.0.0.3", "Blob_Pro_1.0.0.2",
                                 "Latest_latest", "Older_1.0.0.10", "Newer_1.0.0.10", "Padded_1.0.0.10",
                                 "Blob_1.0.0.10", "Latest_1.0.0.10", "Dots_1.0.0.1"}) {
            std::string folder = templates + name;
            deleteFolderTree(folder.c_str(), folder.c_str());
        }
    };
    removeOwnFolders();
    makeFolders(templates + "Older_1.0.0.3");
    makeFolders(templates + "Newer_3.0.0.0");
    makeFolders(templates + "Padded_01.0.0.3");
    makeFolders(templates + "Blob_Pro_1.0.0.2");
    makeFolders(templates + "Latest_latest");
    std::string list;
    for (const char* name : {"Older", "Newer", "Padded", "Blob", "Latest"})
        list += hnFormatText("[2D]\r\nName=%s\r\nVersionLabel=1.0.0.10\r\nURL=%s\r\n", name,
                             CatalogueServer::zip(hnFormatText("template_%s_1.0.0.10", name)).c_str());
    list += "[2D]\r\nName=Dots\r\nClassName=..\r\nVersionLabel=1.0.0.1\r\nURL=" +
            CatalogueServer::zip("template_Dots_1.0.0.1") + "\r\n";
    server.publish("774OTC.txt", list);
    ScriptedPrompter prompter;
    kdDInstallTemplates page("Test - OTC");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    auto& rows = static_cast<DTabTemplates&>(page.tabCtrl().tabDialog()).rows;
    ASSERT_EQ(6u, rows.size());
    EXPECT_EQ(1, rows[0].state); // older installed
    EXPECT_EQ("Older 1.0.0.3", hnWindowText(rows[0].nameLabel));
    EXPECT_EQ(2, rows[1].state); // newer installed
    EXPECT_EQ("Newer 3.0.0.0", hnWindowText(rows[1].nameLabel));
    EXPECT_EQ(1, rows[2].state); // "01.0.0.3" is 1.0.0.3, older than 1.0.0.10
    EXPECT_EQ(1, rows[3].state); // "Blob_Pro_..." is not a Blob
    EXPECT_EQ("", rows[3].installedVersion);
    EXPECT_EQ(1, rows[4].state); // "_latest" is no version
    EXPECT_FALSE(rows[5].safe);

    // Removing the newer one removes the folder that is there.
    HWND tab = tabDialogOf(page);
    pressRow(tab, 45001 + 4 - 1);
    EXPECT_FALSE(fileExists(templates + "Newer_3.0.0.0"));
    EXPECT_EQ(1, rows[1].state);

    // Install all: every archive extracted; the archive of the row named ".."
    // does not unpack into "..\_...": refused whole, and said.
    clickButton(host.pageWindow(), IDC_TEMPLATES_INSTALL_ALL);
    for (const char* name : {"Older", "Newer", "Padded", "Blob", "Latest"})
        EXPECT_TRUE(fileExists(templates + name + "_1.0.0.10\\tool.py")) << name;
    EXPECT_FALSE(fileExists(templates + "Dots_1.0.0.1"));
    ASSERT_EQ(6u, rows.size());
    EXPECT_EQ(0, rows[2].state); // the newest folder counts
    EXPECT_TRUE(said(prompter, "Unable to install one or more templates. Please try again."));
    EXPECT_TRUE(fileExists(templates.substr(0, templates.size() - 1)));
    removeOwnFolders();
}

// An offered version that is no version names its folder literally; the
// highest-numbered folder is never taken for it.
TEST(TemplatesPage, UninstallOfAnOfferedTextRemovesOnlyThatFolder) {
    CatalogueServer server;
    std::string templates = userContentFolder("Templates");
    auto removeOwnFolders = [&templates] {
        for (const char* name : {"Beta_2.0.0.0", "Beta_beta"}) {
            std::string folder = templates + name;
            deleteFolderTree(folder.c_str(), folder.c_str());
        }
    };
    removeOwnFolders();
    makeFolders(templates + "Beta_2.0.0.0");
    server.publish("774OTC.txt", "[2D]\r\nName=Beta\r\nVersionLabel=beta\r\nURL=" +
                                     CatalogueServer::zip("template_Beta_beta") + "\r\n");
    ScriptedPrompter prompter;
    kdDInstallTemplates page("Test - OTC");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    auto& rows = static_cast<DTabTemplates&>(page.tabCtrl().tabDialog()).rows;
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(0, rows[0].state);
    HWND tab = tabDialogOf(page);
    ::SendMessageA(tab, kDynamicButtonMessage, 0, OperationUninstall);
    EXPECT_EQ(1u, prompter.records.size());
    EXPECT_TRUE(fileExists(templates + "Beta_2.0.0.0"));
    makeFolders(templates + "Beta_beta");
    ::SendMessageA(tab, kDynamicButtonMessage, 0, OperationUninstall);
    EXPECT_EQ(1u, prompter.records.size());
    EXPECT_FALSE(fileExists(templates + "Beta_beta"));
    EXPECT_TRUE(fileExists(templates + "Beta_2.0.0.0"));
    removeOwnFolders();
}

TEST(CataloguePages, ContentElementsWithoutAWindow) {
    CatalogueServer server;
    kdDInstallTemplates page("Test - OTC");
    hnInstallManagerBase manager;
    EXPECT_EQ(-1, page.buildContentElements(&manager)); // no list fetched yet
    EXPECT_EQ(-1, page.buildContentElements(nullptr));
    server.publish("774OTC.txt", "[2D]\r\nName=A\r\nURL=" + CatalogueServer::zip("template_A_1.0.0.1") +
                                     "\r\n[2D]\r\nName=No address\r\nURL=nothing\r\n"
                                     "[2D]\r\nName=Device\r\nURL=http://h/x/CON\r\n"
                                     "[2D]\r\nName=Dots\r\nURL=http://h/x/..\r\n");
    EXPECT_EQ(1, page.refreshCatalogue(true, false));
    EXPECT_EQ(1, page.buildContentElements(&manager));
    ASSERT_EQ(1u, manager.count());
    EXPECT_EQ("A", manager.item(0)->name);
    EXPECT_EQ("template_A_1.0.0.1.zip", manager.item(0)->fileName);
    EXPECT_EQ(0x400000, manager.item(0)->sizeHint);
    EXPECT_FALSE(manager.item(0)->refreshBeforeCopy);
    EXPECT_EQ("Templates", manager.item(0)->category);
    const hnInstallationElement& listElement = *page.installManager->item(0);
    EXPECT_EQ("774OTC.txt", listElement.fileName);
    EXPECT_TRUE(listElement.refreshBeforeCopy);
    EXPECT_EQ(0x100000, listElement.sizeHint);
}

// Each tab control shows its own tab dialog, and its own not-available
// dialog when the list names no tab.
TEST(CataloguePages, EachTabControlShowsItsOwnDialogs) {
    DProfilesTabCtrl profiles;
    DTemplatesTabCtrl templates;
    DTutorialsTabCtrl tutorials;
    DResorcesTabCtrl resources;
    DToolboxDeepformVisionTabCtrl toolbox;
    const struct {
        const hnCatalogueTabCtrl& control;
        UINT tabDialog, notAvailable;
    } expected[] = {{profiles, IDD_TAB_PROFILES, IDD_TAB_PROFILES_NOT_AVAILABLE},
                    {templates, IDD_TAB_TEMPLATES, IDD_TAB_TEMPLATES_NOT_AVAILABLE},
                    {tutorials, IDD_TAB_TUTORIALS, IDD_TAB_TUTORIALS_NOT_AVAILABLE},
                    {resources, IDD_TAB_RESOURCES, IDD_TAB_RESOURCES_NOT_AVAILABLE},
                    {toolbox, IDD_TAB_TEMPLATES, IDD_TOOLBOX_NOT_AVAILABLE}};
    for (const auto& row : expected) {
        EXPECT_EQ(row.tabDialog, row.control.tabDialogId());
        EXPECT_EQ(row.notAvailable, row.control.notAvailableDialogId());
    }
    EXPECT_EQ("", toolbox.templatesListPath()); // nothing set yet
    EXPECT_EQ("", toolbox.profilesListPath());
}

TEST(TemplateState, DetectionRules) {
    ScratchFolder scratch;
    std::string folder = scratch.path() + "\\";
    std::string version, found;
    EXPECT_EQ(1, DTabTemplates::detectTemplateState(folder, "MyTemplate", "1.0.0.10", version, found));
    makeFolders(folder + "MyTemplate_1.0.0.3");
    makeFolders(folder + "MyTemplate_0.9.0.3");
    writeTextFile(folder + "MyTemplate_9.9.9.9", "a file, not a folder");
    EXPECT_EQ(1, DTabTemplates::detectTemplateState(folder, "MyTemplate", "1.0.0.10", version, found));
    EXPECT_EQ("1.0.0.3", version);
    EXPECT_EQ("MyTemplate_1.0.0.3", found);
    EXPECT_EQ(0, DTabTemplates::detectTemplateState(folder, "MyTemplate", "1.0.0.3", version, found));
    EXPECT_EQ(2, DTabTemplates::detectTemplateState(folder, "MyTemplate", "1.0.0.2", version, found));
    // An offered version that does not parse leaves the template installed.
    EXPECT_EQ(0, DTabTemplates::detectTemplateState(folder, "MyTemplate", "latest", version, found));
}

TEST(TemplatesPage, NotAvailableWithoutAList) {
    CatalogueServer server;
    ScriptedPrompter prompter;
    kdDInstallTemplates page("Test - OTC");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    EXPECT_TRUE(page.tabCtrl().showingNotAvailable);
    EXPECT_EQ((std::vector<std::string>{" "}), tabTexts(page.tabCtrl().hwnd()));
    HWND notAvailable = page.tabCtrl().notAvailableDialog().hwnd();
    ASSERT_NE(nullptr, notAvailable);
    EXPECT_NE(0, ::GetWindowLongPtrA(notAvailable, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ("Error: Unable to get the list of templates from the server.\nPlease try again.",
              controlText(notAvailable, IDC_TAB_TEXT));
    EXPECT_TRUE(prompter.records.empty()); // no messages without a refresh by the user
    std::string folder = testProgramFolder() + "\\..\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::ShowWindow(host.sheetWindow(), SW_SHOW);
    pumpMessages(500);
    uidriver::Installer::screenshot(host.sheetWindow(), folder + "\\catalogue_templates_not_available.bmp");
}

namespace {
// The demo profiles' cached list as an earlier run left it; its path.
std::string writeCachedDemoList(const std::string& content) {
    std::string folder = cacheFolder(catalogueSource(CatalogueKind::DemoProfiles).cacheFolder);
    makeFolders(folder);
    std::string path = folder + "\\774demo.txt";
    writeTextFile(path, content);
    return path;
}

// Copies of the list that a fetch left beside it.
int freshCopiesBeside(const std::string& list) {
    WIN32_FIND_DATAA found = {};
    hnScopedFind search(::FindFirstFileA((list + "new*").c_str(), &found));
    if (!search)
        return 0;
    int copies = 0;
    do
        ++copies;
    while (::FindNextFileA(search.get(), &found));
    return copies;
}

void activateAgain(kdDCataloguePageBase& page, HWND sheet) {
    NMHDR header = {sheet, 0, static_cast<UINT>(PSN_SETACTIVE)};
    ::SendMessageA(page.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}
} // namespace

// The first activation shows the cached list at once while the server holds
// the fresh one back, and nothing acts on the rows meanwhile; the fresh list
// then replaces the tabs, keeping the selected one, and is the cached list.
TEST(CataloguePages, TheCachedListShowsAtOnceAndTheFreshOneReplacesItKeepingTheTab) {
    CatalogueServer server;
    std::string cached = writeCachedDemoList("[2D]\r\nName=Cached A\r\n[3D]\r\nName=Cached B\r\n");
    const std::string fresh = "[1D]\r\nName=Fresh Z\r\n[3D]\r\nName=Fresh C\r\n[3D]\r\nName=Fresh D\r\n";
    SlowRepository slow(fresh, 5000);
    ASSERT_TRUE(slow.listening());
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    HWND pageWindow = host.pageWindow();
    ASSERT_TRUE(page.fetchingList()) << "the activation waited for the list";
    EXPECT_EQ((std::vector<std::string>{"2D", "3D"}), tabTexts(page.tabCtrl().hwnd()));
    selectTab(page, 1, pageWindow);
    auto& rows = static_cast<DTabProfiles2D&>(page.tabCtrl().tabDialog()).rows;
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ("Cached B", rows[0].name);

    // "Cached B" names no archive: a press that ran would say so, and a
    // refresh would fetch the list itself.
    clickButton(pageWindow, IDC_PROFILES_REFRESH);
    EXPECT_EQ(0, ::SendMessageA(tabDialogOf(page), kDynamicButtonMessage, 0, OperationInstall));
    EXPECT_FALSE(page.installItem("Demo Profile: Cached B"));
    EXPECT_TRUE(page.fetchingList());
    EXPECT_TRUE(prompter.records.empty()) << describeRecords(prompter);

    ASSERT_TRUE(awaitFreshList(page));
    EXPECT_EQ((std::vector<std::string>{"1D", "3D"}), tabTexts(page.tabCtrl().hwnd()));
    EXPECT_EQ("3D", page.tabCtrl().selectedTabName());
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ("Fresh C", rows[0].name);
    EXPECT_EQ(fresh, readTextFile(cached));
    EXPECT_EQ(0, freshCopiesBeside(cached));
    EXPECT_EQ(1, slow.requests());

    // Fetched once per window: a later activation shows the cache at once.
    activateAgain(page, host.sheetWindow());
    EXPECT_FALSE(page.fetchingList());
    EXPECT_TRUE(prompter.records.empty()) << describeRecords(prompter);
}

// Leaving the page ends a fetch the server holds back at once, and the next
// activation fetches again; a failed fetch leaves the cached list showing
// and says nothing, as the page's set-up always did.
TEST(CataloguePages, LeavingEndsTheFetchAndAFailedOneKeepsTheCachedListSilently) {
    CatalogueServer server;
    const std::string before = "[2D]\r\nName=Cached A\r\n";
    std::string cached = writeCachedDemoList(before);
    ScriptedPrompter prompter;
    {
        SlowRepository slow("[1D]\r\nName=Fresh Z\r\n", 120000);
        kdDInstallDemoProfiles page("Test - Demonstration Profiles");
        PageHost host(page);
        ASSERT_TRUE(page.fetchingList());
        DWORD start = ::GetTickCount();
        host.pressNext();
        EXPECT_TRUE(host.onSecondPage());
        EXPECT_FALSE(page.fetchingList());
        EXPECT_LT(::GetTickCount() - start, 30000u) << "leaving waited for the server";
        activateAgain(page, host.sheetWindow());
        EXPECT_TRUE(page.fetchingList()) << "the fresh list is still due";
        EXPECT_EQ((std::vector<std::string>{"2D"}), tabTexts(page.tabCtrl().hwnd()));
    } // closing ends the second one
    EXPECT_EQ(before, readTextFile(cached));

    // The server answers 404 for the list.
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    EXPECT_EQ((std::vector<std::string>{"2D"}), tabTexts(page.tabCtrl().hwnd()));
    EXPECT_EQ(1, page.tabCtrl().tabDialog().rowCount());
    EXPECT_EQ(before, readTextFile(cached));
    EXPECT_EQ(0, freshCopiesBeside(cached));
    EXPECT_TRUE(prompter.records.empty()) << describeRecords(prompter);
}

// Rows made with the window's picture cache take their pictures from it:
// each picture decoded there once, none by the tab dialog's own cache.
TEST(DemoProfilesPage, RowsTakeTheirPicturesFromTheWindowsCache) {
    CatalogueServer server;
    server.publish("774demo.txt", "[2D]\r\nName=Blob\r\nInfoText=tip\r\n[3D]\r\nName=Cube\r\nInfoText=tip\r\n"
                                  "[3D]\r\nName=Sphere\r\nInfoText=tip\r\n");
    ScriptedPrompter prompter;
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    auto& dialog = static_cast<DTabProfiles2D&>(page.tabCtrl().tabDialog());
    int ownDecoded = dialog.pictures.decodedInPlace();
    hnPictureCache shared;
    page.tabCtrl().sharePictures(&shared);
    selectTab(page, 1, host.pageWindow());
    ASSERT_EQ(2, dialog.rowCount());
    EXPECT_EQ(4, shared.decodedInPlace()); // install, uninstall, run, info
    EXPECT_EQ(ownDecoded, dialog.pictures.decodedInPlace());
    EXPECT_TRUE(controlVisible(dialog.hwnd(), 45002)); // the rows show as before
    page.tabCtrl().sharePictures(nullptr);
}
