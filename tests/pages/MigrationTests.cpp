// The data import from an older version, the profile copy and move, with
// real files in scratch folders standing in for the documents folder.
#include <gtest/gtest.h>

#include <stdexcept>
#include <windows.h>
#include <commctrl.h>

#include "app/FileHelpers.h"
#include "app/FolderCopy.h"
#include "app/ScopedHandle.h"
#include "app/Text.h"
#include "migration_ids.h"
#include "pages/DataImportDlg.h"
#include "pages/ImportProfilesPage.h"
#include "pages/PageTestSupport.h"
#include "pages/ProfileCopyDlg.h"
#include "pages_ids.h"

namespace {

// A dialog of the import, shown modeless on a scratch documents folder.
struct ImportDialog {
    explicit ImportDialog(const std::string& root, unsigned long long freeMb = 100000) {
        dialog.userDataRoot = root;
        dialog.installerSettings = root + "\\OrvantoInstaller\\settings.ini";
        makeFolders(root + "\\OrvantoInstaller");
        dialog.freeSpace = [freeMb](const std::string&, unsigned long long& bytes) {
            bytes = freeMb * 1048576ULL;
            return true;
        };
        dialog.runtimeFolder = [](std::string&) { return false; };
    }
    ~ImportDialog() { dialog.destroy(); }
    bool open() { return dialog.create(nullptr) && dialog.hwnd(); }
    // Presses "Import" and waits for the worker to end.
    bool import(DWORD timeoutMs = 60000) {
        clickButton(dialog.hwnd(), IDC_IMPORT_START);
        return waitFor([&] { return !dialog.running(); }, timeoutMs);
    }
    HWND window() const { return dialog.hwnd(); }
    ScriptedPrompter prompter;
    DImportOrvantoData dialog;
};

std::vector<std::string> comboItems(HWND combo) {
    std::vector<std::string> items;
    int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[260] = {};
        ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

void makeEmptyFiles(const std::string& folder, int count) {
    makeFolders(folder);
    for (int i = 0; i < count; ++i) {
        HANDLE file = ::CreateFileA((folder + "\\f" + std::to_string(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, 0, nullptr);
        ::CloseHandle(file);
    }
}

std::pair<int, int> progressBar(HWND dialog) {
    HWND bar = ::GetDlgItem(dialog, IDC_MIGRATION_PROGRESS);
    return {static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0)),
            static_cast<int>(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0))};
}

} // namespace

TEST(DataImport, OfferedWhileThisVersionHoldsOnlyWhatTheInstallerMade) {
    ScratchFolder root;
    DImportOrvantoData dialog;
    dialog.userDataRoot = root.path();
    EXPECT_FALSE(dialog.shouldOfferDataImport()); // nothing older
    makeFolders(root.file("Orvanto 12.0"));
    EXPECT_TRUE(dialog.shouldOfferDataImport());
    // The stored Python selection and the runtime's plugins come first.
    makeFolders(root.file("Orvanto 15.0\\Python"));
    writeTextFile(root.file("Orvanto 15.0\\Python\\PySel.ini"), "[x]\n");
    makeFolders(root.file("Orvanto 15.0\\Plugins"));
    EXPECT_TRUE(dialog.shouldOfferDataImport());
    makeFolders(root.file("Orvanto 15.0\\Profiles"));
    EXPECT_FALSE(dialog.shouldOfferDataImport());

    int major = 0, minor = 0;
    EXPECT_TRUE(parseDataFolderVersion("Orvanto 15.0", major, minor));
    EXPECT_EQ(15, major);
    EXPECT_EQ(0, minor);
    EXPECT_FALSE(parseDataFolderVersion("Orvanto 15.x", major, minor));
    EXPECT_EQ("Orvanto 15.1", olderDataFolderNames(15, 2).back());
}

TEST(DataImport, ListsOlderFoldersAndWeighsTheDiskSpace) {
    ScratchFolder root;
    makeFolders(root.file("Orvanto 9.2"));
    makeFolders(root.file("Orvanto 12.0\\Profiles\\A"));
    writeTextFile(root.file("Orvanto 12.0\\Profiles\\A\\big.bin"), std::string(300 * 1024, 'x'));
    {
        ImportDialog open(root.path(), 1000); // 1000 MB above almost nothing: low
        ASSERT_TRUE(open.open());
        HWND list = ::GetDlgItem(open.window(), IDC_IMPORT_FROM);
        EXPECT_EQ((std::vector<std::string>{"Orvanto 9.2", "Orvanto 12.0"}), comboItems(list));
        EXPECT_EQ(1, ::SendMessageA(list, CB_GETCURSEL, 0, 0));
        EXPECT_EQ("Disk Space Required: 0.29 MB", controlText(open.window(), IDC_IMPORT_REQUIRED));
        EXPECT_EQ("Disk Space Available: 1000.00 MB", controlText(open.window(), IDC_IMPORT_AVAILABLE));
        EXPECT_EQ("Status: Low disk space", controlText(open.window(), IDC_IMPORT_STATUS));
        EXPECT_FALSE(controlVisible(open.window(), IDC_MIGRATION_PROGRESS));
        EXPECT_FALSE(controlEnabled(open.window(), IDC_MIGRATION_ABORT));

        open.prompter.answer(IDNO);
        clickButton(open.window(), IDC_IMPORT_START);
        ASSERT_EQ(1u, open.prompter.records.size());
        EXPECT_EQ(
            "After importing the data, system drive will have low disk space.\nDo you want to continue?",
            open.prompter.records[0].text);
        EXPECT_FALSE(open.dialog.started());
        EXPECT_FALSE(fileExists(root.file("Orvanto 15.0")));

        // Closing while nothing runs closes.
        clickButton(open.window(), IDOK);
        EXPECT_EQ(nullptr, open.window());
    }
    ImportDialog tight(root.path(), 0);
    ASSERT_TRUE(tight.open());
    EXPECT_EQ("Status: Insufficient disk space", controlText(tight.window(), IDC_IMPORT_STATUS));
    clickButton(tight.window(), IDC_IMPORT_START);
    ASSERT_EQ(1u, tight.prompter.records.size());
    EXPECT_EQ(0u, tight.prompter.records[0].text.find("Sufficient disk space is not available."));
    EXPECT_FALSE(tight.dialog.started());
}

TEST(DataImport, CopiesMergesRewritesSettingsAndBringsTemplates) {
    ScratchFolder root, programs;
    std::string old = root.file("Orvanto 12.0"), fresh = root.file("Orvanto 15.0");
    makeFolders(old + "\\Profiles\\Inspect\\images");
    writeTextFile(old + "\\Profiles\\Inspect\\profile.opb", "profile");
    writeTextFile(old + "\\Profiles\\Inspect\\images\\1.png", "png");
    makeFolders(old + "\\Python");
    writeTextFile(old + "\\Python\\PySel.ini", "old selection");
    std::string longTail(1500, 'z');
    std::string upper = hnLowerCase(old);
    for (char& c : upper)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    writeTextFile(old + "\\Orvanto.ini", "[Config.ProfileHistory]\nProfile1=" + upper +
                                             "\\Profiles\\Inspect\\profile.opb\nProfile2=" + old +
                                             "\n[Other]\nPath=" + old +
                                             "\\Profiles\n[CONFIG]\nArchive=" + old + "\\" + longTail + "\n");
    makeFolders(fresh + "\\Python");
    writeTextFile(fresh + "\\Python\\PySel.ini", "new selection");
    // The older runtime's templates beside this version's runtime.
    std::string runtime = programs.file("Orvanto 15.0\\Runtime\\");
    makeFolders(runtime);
    makeFolders(programs.file("Orvanto 12.0\\Runtime\\Templates\\Tool"));
    writeTextFile(programs.file("Orvanto 12.0\\Runtime\\Templates\\Tool\\t.otc"), "template");

    ImportDialog open(root.path());
    open.dialog.runtimeFolder = [&](std::string& folder) {
        folder = runtime;
        return true;
    };
    ASSERT_TRUE(open.open());
    EXPECT_EQ(4, open.dialog.fileCount);
    ::CheckDlgButton(open.window(), IDC_IMPORT_TEMPLATES, BST_CHECKED);
    ASSERT_TRUE(open.import());
    EXPECT_TRUE(open.prompter.records.empty());
    EXPECT_EQ("(100%)", controlText(open.window(), IDC_MIGRATION_PERCENT));
    EXPECT_TRUE(controlVisible(open.window(), IDC_MIGRATION_PROGRESS));
    EXPECT_TRUE(controlEnabled(open.window(), IDC_IMPORT_START));

    EXPECT_TRUE(hnSameSizeAndTime(old + "\\Profiles\\Inspect\\images\\1.png",
                                  fresh + "\\Profiles\\Inspect\\images\\1.png"));
    EXPECT_EQ("new selection", readTextFile(fresh + "\\Python\\PySel.ini"));
    EXPECT_EQ("template", readTextFile(runtime + "Templates\\Tool\\t.otc"));
    std::string settings = readTextFile(fresh + "\\Orvanto.ini");
    EXPECT_NE(std::string::npos, settings.find("Profile1=" + fresh + "\\Profiles\\Inspect\\profile.opb"));
    EXPECT_NE(std::string::npos, settings.find("Profile2=" + old + "\n"));     // nothing follows it
    EXPECT_NE(std::string::npos, settings.find("Path=" + old + "\\Profiles")); // another section
    EXPECT_NE(std::string::npos, settings.find("Archive=" + fresh + "\\" + longTail));
    EXPECT_FALSE(fileExists(fresh + "\\Orvanto.initmp"));
    EXPECT_TRUE(fileExists(old + "\\Orvanto.ini")); // the source stays as it was
}

// A file held open without sharing cannot be copied: the message says so and
// the bar keeps the share that was copied.
TEST(DataImport, AFileThatCouldNotBeCopiedIsSaidWithTheFirstPath) {
    ScratchFolder root;
    std::string old = root.file("Orvanto 12.0");
    makeFolders(old + "\\Profiles\\Inspect");
    writeTextFile(old + "\\Profiles\\Inspect\\a.opb", "a");
    writeTextFile(old + "\\Profiles\\Inspect\\held.opb", "held");
    hnScopedHandle held(::CreateFileA((old + "\\Profiles\\Inspect\\held.opb").c_str(), GENERIC_READ, 0,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(held));
    ImportDialog open(root.path());
    ASSERT_TRUE(open.open());
    ASSERT_TRUE(open.import());
    std::string message = controlText(open.window(), IDC_MIGRATION_MESSAGE);
    std::string ending = notCopiedText(1, old + "\\Profiles\\Inspect\\held.opb");
    EXPECT_EQ("1 files could not be copied; the first: " + old + "\\Profiles\\Inspect\\held.opb", ending);
    ASSERT_GE(message.size(), ending.size());
    EXPECT_EQ(ending, message.substr(message.size() - ending.size()));
    EXPECT_EQ("(50%)", controlText(open.window(), IDC_MIGRATION_PERCENT));
    EXPECT_EQ("a", readTextFile(root.file("Orvanto 15.0\\Profiles\\Inspect\\a.opb")));

    // The unfinished import is remembered in the installer's own settings,
    // not in the data folder, and offered again although this version now
    // holds profiles; an import that copies everything forgets it.
    EXPECT_EQ("Orvanto 12.0", open.dialog.incompleteImport());
    EXPECT_NE(std::string::npos,
              readTextFile(open.dialog.installerSettings).find("IncompleteFrom=Orvanto 12.0"));
    EXPECT_FALSE(fileExists(root.file("Orvanto 15.0\\Orvanto.ini")));
    EXPECT_TRUE(open.dialog.shouldOfferDataImport());
    held.reset();
    ImportDialog again(root.path());
    ASSERT_TRUE(again.dialog.shouldOfferDataImport());
    ASSERT_TRUE(again.open());
    ASSERT_TRUE(again.import());
    EXPECT_EQ("(100%)", controlText(again.window(), IDC_MIGRATION_PERCENT));
    EXPECT_EQ("held", readTextFile(root.file("Orvanto 15.0\\Profiles\\Inspect\\held.opb")));
    EXPECT_EQ("", again.dialog.incompleteImport());
    EXPECT_FALSE(again.dialog.shouldOfferDataImport());
}

TEST(DataImport, EmptyFoldersAndMoreThan65535StepsEndAtAFullBar) {
    ScratchFolder root;
    makeFolders(root.file("Orvanto 11.1\\Profiles"));
    {
        ImportDialog empty(root.path());
        ASSERT_TRUE(empty.open());
        EXPECT_EQ(0, empty.dialog.fileCount);
        ASSERT_TRUE(empty.import());
        EXPECT_EQ("(100%)", controlText(empty.window(), IDC_MIGRATION_PERCENT));
        std::pair<int, int> bar = progressBar(empty.window());
        EXPECT_EQ(bar.second, bar.first);
    }
    // More steps than the 65535 of a 16-bit range: the profile dialog with
    // that many chosen (and no lists, so its worker reports the end at once)
    // shares the bar with the import.
    std::vector<versionProfiles> none;
    DCopyMoveOrvantoProfiles many(none, true, 70000, root.path());
    ASSERT_TRUE(many.create(nullptr));
    ASSERT_TRUE(waitFor([&] { return !many.running(); }, 10000));
    EXPECT_EQ("(100%) Processing complete.", many.percentText());
    std::pair<int, int> bar = progressBar(many.hwnd());
    EXPECT_EQ(70000, bar.first);
    EXPECT_EQ(70000, bar.second);
    many.destroy();
}

TEST(DataImport, AbortStopsTheWorkerBetweenFilesAndCloseWaitsForIt) {
    ScratchFolder root;
    makeEmptyFiles(root.file("Orvanto 12.0\\Profiles\\Many"), 1500);
    DebugCapture debug;
    ImportDialog open(root.path());
    ASSERT_TRUE(open.open());
    clickButton(open.window(), IDC_IMPORT_START);
    ASSERT_TRUE(waitFor([&] { return !controlText(open.window(), IDC_MIGRATION_PERCENT).empty(); }, 20000));
    ASSERT_TRUE(open.dialog.running());
    EXPECT_FALSE(controlEnabled(open.window(), IDC_IMPORT_FROM));

    clickButton(open.window(), IDOK); // refused while it runs
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ("Import processing is on.\nPlease abort the process before closing the dialog.",
              open.prompter.records[0].text);
    ASSERT_NE(nullptr, open.window());

    open.prompter.answer(IDYES);
    clickButton(open.window(), IDC_MIGRATION_ABORT);
    EXPECT_EQ("Do you want to abort the import process?", open.prompter.records[1].text);
    EXPECT_EQ("Processing aborted.", controlText(open.window(), IDC_MIGRATION_PERCENT));
    EXPECT_FALSE(open.dialog.running());
    EXPECT_TRUE(controlEnabled(open.window(), IDC_IMPORT_START));
    EXPECT_FALSE(controlEnabled(open.window(), IDC_MIGRATION_ABORT));
    for (const std::string& line : debug.lines())
        EXPECT_EQ(std::string::npos, line.find("terminating")) << line;
    long long files = 0, kilobytes = 0;
    measureFolder(root.file("Orvanto 15.0"), files, kilobytes);
    EXPECT_GT(files, 0);
    EXPECT_LT(files, 1500);
    EXPECT_FALSE(fileExists(root.file("Orvanto 15.0\\Profiles\\Many\\*.hnpart")));
    EXPECT_EQ("Orvanto 12.0", open.dialog.incompleteImport()) << "an aborted import is offered again";
}

namespace {

// A progress dialog whose worker throws, as a disk error deep in a copy may.
class ThrowingProgress : public DMigrationProgressBase {
public:
    ThrowingProgress() : DMigrationProgressBase(IDD_COPY_MOVE_PROFILES, "ThrowingProgress::stopWorker") {}
    ~ThrowingProgress() override { stopWorker(); }

protected:
    bool onInitDialog() override {
        startProgress(1);
        startWorker([] { throw std::runtime_error("a disk error"); });
        return true;
    }
};

} // namespace

TEST(MigrationProgress, AnExceptionInTheWorkerStillEndsTheRunningState) {
    ThrowingProgress dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    EXPECT_TRUE(waitFor([&] { return !dialog.running(); }, 10000));
    dialog.destroy();
}

TEST(DataImport, TheSettingsRewriteKeepsEveryLineEndingAndLeavesOtherEncodingsAlone) {
    ScratchFolder scratch;
    std::string settings = scratch.file("Orvanto.ini");
    const std::string before = "[Config]\r\nPath=C:\\Old\\x\r\nOther=C:\\Old\\y\n[Keep]\r\nPath=C:\\Old\\z";
    ASSERT_TRUE(writeTextFile(settings, before));
    EXPECT_TRUE(rewriteSettingsPaths(settings, "c:\\old", "D:\\New"));
    EXPECT_EQ("[Config]\r\nPath=D:\\New\\x\r\nOther=D:\\New\\y\n[Keep]\r\nPath=C:\\Old\\z",
              readTextFile(settings));
    EXPECT_FALSE(fileExists(settings + "~*"));

    const std::string wide("\xFF\xFE[\0C\0", 6);
    ASSERT_TRUE(writeTextFile(settings, wide));
    EXPECT_FALSE(rewriteSettingsPaths(settings, "c:\\old", "D:\\New"));
    EXPECT_EQ(wide, readTextFile(settings));
}

TEST(ProfileCopy, MoveKeepsASourceWhoseCopyIsNotCompleteAndStopRemovesHalfCopies) {
    ScratchFolder root;
    std::string profiles = root.file("Orvanto 15.0\\Profiles");
    std::string source = root.file("Orvanto 12.0\\Profiles\\Inspect");
    makeFolders(source + "\\sub");
    writeTextFile(source + "\\a.opb", "new");
    writeTextFile(source + "\\sub\\b.png", "png");
    // The target already holds a differing file of that name: the move keeps the source.
    makeFolders(profiles + "\\Inspect");
    writeTextFile(profiles + "\\Inspect\\a.opb", "other");
    EXPECT_EQ(hnProfileOutcome::Kept,
              copyOrMoveProfile(source, profiles + "\\Inspect", profiles, true, nullptr));
    EXPECT_EQ("new", readTextFile(source + "\\a.opb"));
    EXPECT_EQ("other", readTextFile(profiles + "\\Inspect\\a.opb"));
    EXPECT_EQ("png", readTextFile(profiles + "\\Inspect\\sub\\b.png"));

    // Complete: every file is checked in the target before the source goes.
    ::DeleteFileA((profiles + "\\Inspect\\a.opb").c_str());
    EXPECT_EQ(hnProfileOutcome::Done,
              copyOrMoveProfile(source, profiles + "\\Inspect", profiles, true, nullptr));
    EXPECT_FALSE(fileExists(source));
    EXPECT_EQ("new", readTextFile(profiles + "\\Inspect\\a.opb"));

    // Stopped: the folder this run made goes again, the source stays.
    std::string second = root.file("Orvanto 12.0\\Profiles\\Second");
    makeFolders(second);
    writeTextFile(second + "\\c.opb", "c");
    hnStopBlock stop;
    stop.requestStop();
    EXPECT_EQ(hnProfileOutcome::Stopped,
              copyOrMoveProfile(second, profiles + "\\Second", profiles, true, &stop));
    EXPECT_FALSE(fileExists(profiles + "\\Second"));
    EXPECT_EQ("c", readTextFile(second + "\\c.opb"));

    // Into a version that has no data folder yet: the folders come with it.
    ScratchFolder other;
    std::string fresh = other.file("Orvanto 15.0\\Profiles");
    EXPECT_EQ(hnProfileOutcome::Done, copyOrMoveProfile(second, fresh + "\\Second", fresh, true, nullptr));
    EXPECT_EQ("c", readTextFile(fresh + "\\Second\\c.opb"));
    EXPECT_FALSE(fileExists(second));
}

TEST(ProfileCopy, TheDialogCountsProfilesThatStayInPlace) {
    ScratchFolder root;
    makeFolders(root.file("Orvanto 12.0\\Profiles\\Inspect"));
    writeTextFile(root.file("Orvanto 12.0\\Profiles\\Inspect\\a.opb"), "new");
    makeFolders(root.file("Orvanto 12.0\\Profiles\\Clean"));
    writeTextFile(root.file("Orvanto 12.0\\Profiles\\Clean\\c.opb"), "c");
    makeFolders(root.file("Orvanto 15.0\\Profiles\\Inspect"));
    writeTextFile(root.file("Orvanto 15.0\\Profiles\\Inspect\\a.opb"), "other");
    std::vector<versionProfiles> lists(1);
    lists[0].folderName = "Orvanto 12.0";
    for (const char* name : {"Inspect", "Clean"}) {
        hnProfileItem item;
        item.name = name;
        item.selected = true;
        lists[0].items.push_back(item);
    }
    DCopyMoveOrvantoProfiles dialog(lists, false, 2, root.path());
    ASSERT_TRUE(dialog.create(nullptr));
    ASSERT_TRUE(waitFor([&] { return !dialog.running(); }, 10000));
    EXPECT_EQ(1, dialog.failures());
    EXPECT_EQ("(100%) Processing finished with errors.", dialog.percentText());
    EXPECT_EQ(
        "Move selected Orvanto Profiles.\n1 of 2 Orvanto Profiles could not be moved completely and stay "
        "in their version.",
        dialog.messageText());
    EXPECT_EQ("new", readTextFile(root.file("Orvanto 12.0\\Profiles\\Inspect\\a.opb")));
    EXPECT_FALSE(fileExists(root.file("Orvanto 12.0\\Profiles\\Clean")));
    EXPECT_EQ("c", readTextFile(root.file("Orvanto 15.0\\Profiles\\Clean\\c.opb")));
    dialog.destroy();
}

TEST(ProfileCopy, LinkedProfilesAreNotProfilesAndLinksInsideKeepTheSource) {
    const std::string fixture = "C:\\orvanto-fixtures\\migration-links";
    if (!fileExists(fixture + "\\Orvanto 12.0\\Profiles\\Linked"))
        GTEST_SKIP() << "fixture missing: run tests/fixtures/prepare";
    versionProfiles version = readVersionProfiles(fixture, "Orvanto 12.0");
    ASSERT_EQ(1u, version.items.size()); // never ".", "..", nor the link
    EXPECT_EQ("Real", version.items[0].name);

    ScratchFolder scratch;
    std::string target = scratch.file("Profiles\\Real");
    makeFolders(scratch.file("Profiles"));
    EXPECT_EQ(hnProfileOutcome::Kept, copyOrMoveProfile(fixture + "\\Orvanto 12.0\\Profiles\\Real", target,
                                                        scratch.file("Profiles"), true, nullptr));
    EXPECT_TRUE(fileExists(fixture + "\\Orvanto 12.0\\Profiles\\Real\\plain\\a.txt"));
    EXPECT_TRUE(fileExists(fixture + "\\outside\\keep.txt"));
    // The target folder this move made goes again: the profile stays offered.
    EXPECT_FALSE(fileExists(target));
    // A copy keeps what it copied and counts the links it left out.
    int links = 0;
    EXPECT_EQ(hnProfileOutcome::Done, copyOrMoveProfile(fixture + "\\Orvanto 12.0\\Profiles\\Real", target,
                                                        scratch.file("Profiles"), false, nullptr, &links));
    EXPECT_EQ(2, links);
    EXPECT_EQ("profile\n", readTextFile(target + "\\plain\\a.txt"));
}

// Whatever the running version's "Profiles" holds under a name (a file, a
// link, a name the plain-name check refuses) takes that name.
TEST(ProfileCopy, EveryEntryOfTheRunningVersionTakesItsName) {
    ScratchFolder root;
    makeFolders(root.file("Orvanto 12.0\\Profiles\\Inspect"));
    makeFolders(root.file("Orvanto 12.0\\Profiles\\Other"));
    makeFolders(root.file("Orvanto 15.0\\Profiles"));
    writeTextFile(root.file("Orvanto 15.0\\Profiles\\INSPECT"), "a file, not a folder");
    std::vector<std::string> present = presentProfileNames(root.path(), "Orvanto 15.0");
    EXPECT_EQ(std::vector<std::string>{"INSPECT"}, present);
    versionProfiles older = readVersionProfiles(root.path(), "Orvanto 12.0", &present);
    ASSERT_EQ(1u, older.items.size());
    EXPECT_EQ("Other", older.items[0].name);
}

namespace {

// The profiles page on a scratch documents folder, hosted in a wizard; the
// copy dialog runs modeless until its worker ends.
struct ProfilesPage {
    explicit ProfilesPage(const std::string& root) : page("Test - Profiles", root) {
        page.runDialog = [this](DCopyMoveOrvantoProfiles& dialog, HWND owner) {
            ASSERT_TRUE(dialog.create(owner));
            waitFor([&] { return !dialog.running(); }, 30000);
            percent = hnWindowText(::GetDlgItem(dialog.hwnd(), IDC_MIGRATION_PERCENT));
            message = dialog.messageText();
            dialog.destroy();
        };
        host.reset(new PageHost(page));
    }
    HWND tree() const { return ::GetDlgItem(page.hwnd(), IDC_IMPORT_PROFILES_TREE); }
    std::vector<std::string> entries(HTREEITEM parent = TVI_ROOT) const {
        std::vector<std::string> texts;
        HTREEITEM child = parent == TVI_ROOT ? TreeView_GetRoot(tree()) : TreeView_GetChild(tree(), parent);
        for (; child; child = TreeView_GetNextSibling(tree(), child)) {
            char text[260] = {};
            TVITEMA item = {};
            item.mask = TVIF_TEXT;
            item.hItem = child;
            item.pszText = text;
            item.cchTextMax = sizeof(text);
            ::SendMessageA(tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            texts.push_back(text);
            for (const std::string& below : entries(child))
                texts.push_back("  " + below);
        }
        return texts;
    }
    // Checks an entry as a click on its box does, and lets the page follow.
    void check(HTREEITEM entry, bool checked) {
        TreeView_SetCheckState(tree(), entry, checked);
        ::PostMessageA(page.hwnd(), kdDInstallImportProfiles::kPropagateChecks, 0,
                       reinterpret_cast<LPARAM>(entry));
        pumpMessages();
    }
    ScriptedPrompter prompter;
    kdDInstallImportProfiles page;
    std::unique_ptr<PageHost> host;
    std::string percent, message;
};

} // namespace

TEST(ImportProfilesPage, ListsMissingProfilesAndCopiesTheCheckedOnesOnce) {
    ScratchFolder root;
    makeFolders(root.file("Orvanto 15.0\\Profiles\\Shared"));
    makeFolders(root.file("Orvanto 12.0\\Profiles\\SHARED"));
    makeFolders(root.file("Orvanto 12.0\\Profiles\\Alpha"));
    writeTextFile(root.file("Orvanto 12.0\\Profiles\\Alpha\\a.opb"), "twelve");
    makeFolders(root.file("Orvanto 9.2\\Profiles\\alpha"));
    writeTextFile(root.file("Orvanto 9.2\\Profiles\\alpha\\a.opb"), "nine");
    makeFolders(root.file("Orvanto 9.2\\Profiles\\Beta"));
    writeTextFile(root.file("Orvanto 9.2\\Profiles\\Beta\\b.opb"), "beta");
    writeTextFile(root.file("Orvanto 9.2\\Profiles\\loose.txt"), "not a profile");

    ProfilesPage open(root.path());
    EXPECT_EQ((std::vector<std::string>{"All", "  Orvanto 12.0", "    Alpha", "  Orvanto 9.2", "    alpha",
                                        "    Beta"}),
              open.entries());
    EXPECT_TRUE(controlVisible(open.page.hwnd(), IDC_IMPORT_PROFILES_COPY));

    // Checking the root checks everything; "alpha" is then chosen twice.
    open.check(TreeView_GetRoot(open.tree()), true);
    for (const versionProfiles& version : open.page.lists)
        for (const hnProfileItem& item : version.items)
            EXPECT_EQ(1u, TreeView_GetCheckState(open.tree(), item.treeItem)) << item.name;
    open.prompter.answer(IDYES);
    clickButton(open.page.hwnd(), IDC_IMPORT_PROFILES_COPY);
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ("Duplicate Selection", open.prompter.records[0].caption);
    EXPECT_EQ("(100%) Processing complete.", open.percent);
    EXPECT_EQ("Copy selected Orvanto Profiles.\nProcessing complete.", open.message);
    EXPECT_EQ("beta", readTextFile(root.file("Orvanto 15.0\\Profiles\\Beta\\b.opb")));
    EXPECT_FALSE(fileExists(root.file("Orvanto 15.0\\Profiles\\Alpha")));
    EXPECT_TRUE(fileExists(root.file("Orvanto 9.2\\Profiles\\Beta\\b.opb"))); // a copy keeps it
    // The copied profile dropped out of the rebuilt tree.
    EXPECT_EQ((std::vector<std::string>{"All", "  Orvanto 12.0", "    Alpha", "  Orvanto 9.2", "    alpha"}),
              open.entries());

    // Unchecking one child unchecks its version and the root.
    open.check(TreeView_GetRoot(open.tree()), true);
    HTREEITEM twelve = TreeView_GetChild(open.tree(), TreeView_GetRoot(open.tree()));
    open.check(TreeView_GetChild(open.tree(), twelve), false);
    EXPECT_EQ(0u, TreeView_GetCheckState(open.tree(), twelve));
    EXPECT_EQ(0u, TreeView_GetCheckState(open.tree(), TreeView_GetRoot(open.tree())));

    // Moving the 9.2 "alpha" after the question: its folder leaves 9.2.
    open.prompter.answer(IDYES);
    clickButton(open.page.hwnd(), IDC_IMPORT_PROFILES_MOVE);
    EXPECT_EQ("Confirmation - Move Orvanto Profile", open.prompter.records.back().caption);
    EXPECT_EQ("Move selected Orvanto Profiles.\nProcessing complete.", open.message);
    EXPECT_FALSE(fileExists(root.file("Orvanto 9.2\\Profiles\\alpha")));
    EXPECT_EQ("nine", readTextFile(root.file("Orvanto 15.0\\Profiles\\alpha\\a.opb")));
    EXPECT_EQ((std::vector<std::string>{"All", "  No Orvanto Profiles are available for copy / move"}),
              open.entries());
    EXPECT_FALSE(controlVisible(open.page.hwnd(), IDC_IMPORT_PROFILES_COPY));
    EXPECT_FALSE(controlVisible(open.page.hwnd(), IDC_IMPORT_PROFILES_MOVE));
}

TEST(ImportProfilesPage, NothingCheckedOrOnlyDuplicatesIsRefused) {
    ScratchFolder root;
    makeFolders(root.file("Orvanto 12.0\\Profiles\\Same"));
    makeFolders(root.file("Orvanto 10.1\\Profiles\\same"));
    ProfilesPage open(root.path());
    clickButton(open.page.hwnd(), IDC_IMPORT_PROFILES_COPY);
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ("At least one Orvanto Profile should be selected.\nUnable to start the processing.\n",
              open.prompter.records[0].text);
    EXPECT_EQ("Error", open.prompter.records[0].caption);

    open.check(TreeView_GetRoot(open.tree()), true);
    open.prompter.answer(IDYES);
    clickButton(open.page.hwnd(), IDC_IMPORT_PROFILES_COPY);
    ASSERT_EQ(3u, open.prompter.records.size());
    EXPECT_EQ("Duplicate Selection", open.prompter.records[1].caption);
    EXPECT_EQ("Error", open.prompter.records[2].caption);
    EXPECT_TRUE(open.message.empty()); // no dialog
}
