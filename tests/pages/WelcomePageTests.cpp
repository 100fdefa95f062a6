// The welcome page: installer versions kept beside the program, the switch to
// one of them, the quick update, the component choice of an installer copy
// and the copy's care for the cache.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <windows.h>

#include <commctrl.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "main/InstallerApp.h"
#include "pages/SelectInstallerComponentsDlg.h"
#include "pages/WelcomePage.h"
#include "pages/PageTestSupport.h"
#include "pages_ids.h"
#include "support/UiDriver.h"

namespace {

const char* const kNextInstaller = "OrvantoVisionSoftware_15_0_0_775_Installer_201015.exe";
const char* const kNextEntry = "15.0.0.775 (Release 201015)";
const char* const kRunningEntry = "15.0.0.774 ()";

std::string appFolder() {
    return theApp()->applicationFolder();
}

std::string keptFolder() {
    return appFolder() + "\\_OrvantoInstallers";
}

// The demo repository's newer installer, a real program with its own version.
std::string nextInstallerBuild() {
    std::string tests = testProgramFolder();
    return tests.substr(0, tests.find_last_of("\\/")) + "\\repository-tools\\next_installer.exe";
}

std::vector<std::string> comboEntries(HWND page, int id) {
    HWND combo = ::GetDlgItem(page, id);
    std::vector<std::string> entries;
    LRESULT count = ::SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[260] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::string comboSelection(HWND page, int id) {
    std::string text;
    hnComboSelection(::GetDlgItem(page, id), text);
    return text;
}

// Removes what a test put beside the test program.
struct KeptInstallersCleanup {
    std::vector<std::string> files;
    ~KeptInstallersCleanup() {
        for (const std::string& file : files)
            deleteFileForced(appFolder() + "\\" + file);
        deleteFolderTree(keptFolder().c_str(), "_OrvantoInstallers");
    }
};

} // namespace

TEST(WelcomePage, KeepsOtherInstallersAsideListsAndSwitchesToThem) {
    ScriptedPrompter prompter;
    KeptInstallersCleanup cleanup;
    cleanup.files = {kNextInstaller, "OrvantoVisionSoftware_Broken_Installer.exe",
                     "OtherVendor_Installer.exe"};
    ASSERT_TRUE(
        ::CopyFileA(nextInstallerBuild().c_str(), (appFolder() + "\\" + kNextInstaller).c_str(), FALSE));
    // No version resource, or not of the family: these stay where they are.
    writeTextFile(appFolder() + "\\OrvantoVisionSoftware_Broken_Installer.exe", "no program");
    ASSERT_TRUE(::CopyFileA(nextInstallerBuild().c_str(),
                            (appFolder() + "\\OtherVendor_Installer.exe").c_str(), FALSE));

    kdDInstallWelcomeBase page("Welcome");
    page.moveAsideWaitMs = 20;
    std::vector<std::string> launched;
    page.launchInstaller = [&launched](const std::string& path) {
        launched.push_back(path);
        return 1;
    };
    PageHost host(page);
    HWND window = host.pageWindow();

    EXPECT_TRUE(fileExists(keptFolder() + "\\" + kNextInstaller));
    EXPECT_FALSE(fileExists(appFolder() + "\\" + kNextInstaller));
    EXPECT_TRUE(fileExists(appFolder() + "\\OrvantoVisionSoftware_Broken_Installer.exe"));
    EXPECT_TRUE(fileExists(appFolder() + "\\OtherVendor_Installer.exe"));
    EXPECT_EQ((std::vector<std::string>{kRunningEntry, kNextEntry}),
              comboEntries(window, IDC_WELCOME_VERSION_LIST));
    EXPECT_EQ(kRunningEntry, comboSelection(window, IDC_WELCOME_VERSION_LIST));
    EXPECT_TRUE(controlVisible(window, IDC_WELCOME_VERSION_LIST));
    EXPECT_TRUE(controlVisible(window, IDC_DOWNLOAD_INSTALLABLES));
    EXPECT_FALSE(controlVisible(window, IDC_WELCOME_EXTENSIONS_ONLY));
    EXPECT_FALSE(controlVisible(window, IDC_WELCOME_RELEASE_LINK)); // no check has offered anything

    // Choosing it moves it beside the program and starts it.
    ASSERT_TRUE(chooseItem(window, IDC_WELCOME_VERSION_LIST, kNextEntry));
    EXPECT_EQ((std::vector<std::string>{appFolder() + "\\" + kNextInstaller}), launched);
    EXPECT_FALSE(fileExists(keptFolder() + "\\" + kNextInstaller));
    EXPECT_TRUE(prompter.records.empty());

    // Listed, then removed before it is chosen: told, and back to the running version.
    ASSERT_TRUE(::MoveFileA((appFolder() + "\\" + kNextInstaller).c_str(),
                            (keptFolder() + "\\" + kNextInstaller).c_str()));
    page.fillInstallerVersionList();
    ::DeleteFileA((keptFolder() + "\\" + kNextInstaller).c_str());
    ASSERT_TRUE(chooseItem(window, IDC_WELCOME_VERSION_LIST, kNextEntry));
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Error: Unable to switch to the selected installer. Please try again.",
              prompter.records[0].text);
    EXPECT_EQ(kRunningEntry, comboSelection(window, IDC_WELCOME_VERSION_LIST));
    EXPECT_EQ(1u, launched.size());
}

namespace {
// What the page looked like, and what it did with requests, while it waited.
struct DuringWait {
    HWND sheet = nullptr, page = nullptr;
    bool sampled = false, nextEnabled = true, listEnabled = true;
    static DuringWait* current;
    static void CALLBACK sample(HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        DuringWait& self = *current;
        self.sampled = true;
        self.nextEnabled = ::IsWindowEnabled(::GetDlgItem(self.sheet, 0x3024)) != FALSE;
        self.listEnabled = ::IsWindowEnabled(::GetDlgItem(self.page, IDC_WELCOME_VERSION_LIST)) != FALSE;
        // Two re-activations (the upgrade check's) and a click on the quick update.
        for (int k = 0; k < 2; ++k) {
            NMHDR header = {self.sheet, 0, static_cast<UINT>(PSN_SETACTIVE)};
            ::SendMessageA(self.page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        }
        ::SendMessageA(self.page, WM_COMMAND, MAKEWPARAM(IDC_WELCOME_QUICK_UPDATE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(self.page, IDC_WELCOME_QUICK_UPDATE)));
    }
};
DuringWait* DuringWait::current = nullptr;
} // namespace

TEST(WelcomePage, WaitIsNotReenteredAndARequestMeanwhileRunsOnceAfter) {
    ScriptedPrompter prompter;
    KeptInstallersCleanup cleanup;
    cleanup.files = {kNextInstaller};
    kdDInstallWelcomeBase page("Welcome");
    page.moveAsideWaitMs = 800;
    PageHost host(page);
    ASSERT_TRUE(
        ::CopyFileA(nextInstallerBuild().c_str(), (appFolder() + "\\" + kNextInstaller).c_str(), FALSE));
    DuringWait during;
    during.sheet = host.sheetWindow();
    during.page = host.pageWindow();
    DuringWait::current = &during;
    int runs = page.activationRuns();
    ::SetTimer(nullptr, 0, 150, &DuringWait::sample);
    NMHDR header = {host.sheetWindow(), 0, static_cast<UINT>(PSN_SETACTIVE)};
    ::SendMessageA(host.pageWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    DuringWait::current = nullptr;

    ASSERT_TRUE(during.sampled);
    EXPECT_FALSE(during.nextEnabled);
    EXPECT_FALSE(during.listEnabled);
    EXPECT_EQ(runs + 2, page.activationRuns()); // its own, and the two requests as one
    EXPECT_TRUE(prompter.records.empty());      // the click did not start a quick update
    EXPECT_TRUE(fileExists(keptFolder() + "\\" + kNextInstaller));
    EXPECT_TRUE(host.nextEnabled());
    EXPECT_TRUE(controlEnabled(host.pageWindow(), IDC_WELCOME_VERSION_LIST));
}

TEST(WelcomePage, QuickUpdateInstallsBothCoreComponentsAndThenHides) {
    ScriptedPrompter prompter;
    kdDInstallWelcomeBase page("Welcome");
    PageHost host(page);
    HWND window = host.pageWindow();
    ASSERT_TRUE(page.quickUpdateManager);
    ASSERT_EQ(2u, page.quickUpdateManager->count());
    EXPECT_TRUE(controlVisible(window, IDC_WELCOME_QUICK_UPDATE));

    TableActions actions;
    page.quickUpdateManager->setActions(&actions);
    prompter.answer(IDNO);
    clickButton(window, IDC_WELCOME_QUICK_UPDATE);
    EXPECT_TRUE(actions.callsOf("install").empty());
    EXPECT_EQ("Confirmation", prompter.records.back().caption);

    // Fetch first: without the vision software's installable nothing runs.
    actions.unreachable = {"Orvanto Vision Software Version XV 15.0.0.774"};
    prompter.answer(IDYES);
    clickButton(window, IDC_WELCOME_QUICK_UPDATE);
    EXPECT_EQ((std::vector<std::string>{"Orvanto Version XV 15.0.0.774 Runtime",
                                        "Orvanto Vision Software Version XV 15.0.0.774"}),
              actions.callsOf("download"));
    EXPECT_TRUE(actions.callsOf("install").empty());
    EXPECT_EQ(
        "Orvanto Vision Software Version XV 15.0.0.774 could not be downloaded, so nothing was changed; "
        "none of these components is installed.",
        prompter.records.back().text);
    EXPECT_TRUE(controlVisible(window, IDC_WELCOME_QUICK_UPDATE));

    actions.unreachable.clear();
    prompter.answer(IDYES);
    clickButton(window, IDC_WELCOME_QUICK_UPDATE);
    EXPECT_EQ((std::vector<std::string>{"Orvanto Version XV 15.0.0.774 Runtime",
                                        "Orvanto Vision Software Version XV 15.0.0.774"}),
              actions.callsOf("install"));
    EXPECT_FALSE(controlVisible(window, IDC_WELCOME_QUICK_UPDATE));
}

TEST(WelcomePage, ComponentTreeGroupsByCategoryAndKeepsParentsInStep) {
    std::string names[70], status[70], progress[70];
    std::vector<std::unique_ptr<hnInstallationElement>> owned;
    std::vector<hnInstallationElement*> elements;
    auto add = [&](const char* name, const std::string& category) {
        size_t i = owned.size();
        owned.emplace_back(new hnInstallationElement(name, "", "f.exe", "", "", false, 0, false, &names[i],
                                                     &status[i], &progress[i], category.c_str()));
        elements.push_back(owned.back().get());
    };
    add("Runtime", "Core Components");
    add("Vision", "Core Components");
    add("Python 2.7.9", "Python");
    add("SDK", "core components"); // the same group, whatever the case
    for (int i = 0; i < 65; ++i)
        add("Extra", "Group " + std::to_string(i));
    hnInstallManagerBase manager;
    manager.setElements(static_cast<unsigned>(elements.size()), elements.data());

    hnInstallerComponentTree tree;
    tree.buildComponentTree(manager);
    ASSERT_EQ(hnInstallerComponentTree::kMaxGroups, tree.groups.size()); // groups beyond 64 are dropped
    ASSERT_EQ(3u, tree.groups[0].items.size());
    EXPECT_EQ(3, tree.groups[0].items[2].elementIndex);
    EXPECT_EQ((std::vector<int>{0, 1, 3, 2}), tree.selectedIndices(4));
    tree.groups.resize(2); // the two groups above are enough for the dialog

    ScriptedPrompter prompter;
    DSelectInstallerComponents dialog(tree);
    ASSERT_TRUE(dialog.create(nullptr));
    HWND view = dialog.treeWindow();
    HTREEITEM all = TreeView_GetRoot(view);
    InstallerComponentGroup& core = tree.groups[0];
    auto checked = [view](HTREEITEM entry) { return TreeView_GetCheckState(view, entry) == 1; };
    auto toggle = [&](HTREEITEM entry, bool state) {
        TreeView_SetCheckState(view, entry, state);
        dialog.applyCheckChange(entry);
    };
    EXPECT_TRUE(checked(all));
    char shots[MAX_PATH] = {};
    if (::GetEnvironmentVariableA("ORVANTO_TEST_SCREENSHOTS", shots, MAX_PATH) > 0) {
        ::ShowWindow(dialog.hwnd(), SW_SHOW);
        pumpMessages(300);
        uidriver::Installer::screenshot(dialog.hwnd(),
                                        std::string(shots) + "\\select-installer-components.bmp");
    }

    // A group passes its mark to its items; "All" follows.
    toggle(core.entry, false);
    for (const InstallerComponentItem& item : core.items)
        EXPECT_FALSE(checked(item.entry));
    EXPECT_FALSE(checked(all));
    // The last item checked checks its group and "All".
    toggle(core.items[0].entry, true);
    toggle(core.items[1].entry, true);
    EXPECT_FALSE(checked(core.entry));
    toggle(core.items[2].entry, true);
    EXPECT_TRUE(checked(core.entry));
    EXPECT_TRUE(checked(all));

    // "Select" with nothing checked keeps the dialog open and the choice as it was.
    toggle(all, false);
    ::SendMessageA(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Please select at least one component to download.", prompter.records[0].text);
    EXPECT_TRUE(::IsWindow(dialog.hwnd()));
    EXPECT_TRUE(core.items[0].selected);
    toggle(tree.groups[1].items[0].entry, true);
    ::SendMessageA(dialog.hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(core.items[0].selected);
    EXPECT_TRUE(tree.groups[1].items[0].selected);
    EXPECT_EQ((std::vector<int>{2}), tree.selectedIndices(10));
    dialog.destroy();
}

TEST(WelcomePage, CopyKeepsACachedFileThatCannotBeFetchedAgain) {
    ScriptedPrompter prompter;
    prompter.fallback = 2; // messages are acknowledged; a failed download is ignored
    ScratchFolder cache;
    writeTextFile(cache.file("list.txt"), "cached list");
    std::string name, status, progress;
    // Nothing listens on port 1: the fresh download fails.
    hnInstallationElement list("Test List", "http://127.0.0.1:1/list.txt", "list.txt", "",
                               cache.path().c_str(), false, 0, true, &name, &status, &progress, "Lists");
    hnInstallationElement* elements[] = {&list};

    kdDInstallWelcomeBase page("Welcome");
    PageHost host(page);
    page.copyManager->setElements(1, elements);
    int asked = 0;
    page.selectComponents = [&asked](hnInstallerComponentTree& tree) {
        ++asked;
        return tree.groups.size() == 1 ? IDOK : IDCANCEL;
    };
    page.createInstallerCopy();
    EXPECT_EQ(1, asked);
    EXPECT_FALSE(prompter.records.empty()); // the fresh download was tried and failed
    EXPECT_EQ("cached list", readTextFile(cache.file("list.txt")));
    EXPECT_FALSE(fileExists(cache.file("list.txtbk")));
}

// "Delete Copy" asks first and says success only when the cache is gone.
TEST(WelcomePage, DeleteCopyAsksAndReportsWhatReallyHappened) {
    std::string cache = appFolder() + "\\_OrvantoInstallData", aside = cache + "-aside";
    bool had = fileExists(cache);
    if (had) {
        ASSERT_TRUE(::MoveFileA(cache.c_str(), aside.c_str()));
    }
    ASSERT_TRUE(makeFolders(cache + "\\Prerequisites"));
    ASSERT_TRUE(writeTextFile(cache + "\\Prerequisites\\setup.exe", "setup"));
    const std::string question =
        "All downloaded installers in '" + cache + "' will be deleted.\nDo you want to proceed?";
    {
        ScriptedPrompter prompter;
        kdDInstallWelcomeBase page("Welcome");
        PageHost host(page);
        prompter.answer(IDNO);
        EXPECT_EQ(-1, page.deleteInstallerCopy());
        ASSERT_EQ(1u, prompter.records.size());
        EXPECT_EQ(question, prompter.records[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO), prompter.records[0].type & 0xF);
        EXPECT_TRUE(fileExists(cache + "\\Prerequisites\\setup.exe"));

        // A file held open without sharing keeps the cache: the failure is said.
        {
            ASSERT_TRUE(writeTextFile(cache + "\\Prerequisites\\held.exe", "held"));
            HANDLE held = ::CreateFileA((cache + "\\Prerequisites\\held.exe").c_str(), GENERIC_READ, 0,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
            prompter.records.clear();
            prompter.answer(IDYES);
            EXPECT_EQ(-1, page.deleteInstallerCopy());
            ::CloseHandle(held);
            ASSERT_EQ(2u, prompter.records.size());
            EXPECT_EQ("Unable to delete the old downloads in '" + cache + "'. Please try again.",
                      prompter.records[1].text);
            EXPECT_TRUE(fileExists(cache + "\\Prerequisites\\held.exe"));
        }

        prompter.records.clear();
        prompter.answer(IDYES);
        EXPECT_EQ(1, page.deleteInstallerCopy());
        ASSERT_EQ(2u, prompter.records.size());
        EXPECT_EQ("Successfully deleted the old downloads.\nFrom directory - " + cache,
                  prompter.records[1].text);
        EXPECT_FALSE(fileExists(cache));
    }
    if (had)
        ::MoveFileA(aside.c_str(), cache.c_str());
}
