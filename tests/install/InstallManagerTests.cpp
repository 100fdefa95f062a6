#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "main/InstallerApp.h"
#include "install/ElementActions.h"
#include "install/FetchFirst.h"
#include "install/InstallManager.h"
#include "download/StatusWords.h"
#include "support/TestSupport.h"

namespace {

// Records every call the manager makes and answers from per-name scripts.
class RecordedActions : public hnElementActions {
public:
    std::vector<std::string> calls;
    std::map<std::string, std::string> detected; // name -> status word the detector reports
    std::map<std::string, int> installResult, uninstallResult, downloadResult, deleteResult;
    std::map<std::string, std::string> repairTo; // status a repair leaves behind
    // Words that successive repairs leave behind in turn; the last one stays.
    std::map<std::string, std::deque<std::string>> repairSequence;
    std::deque<hnDownloadErrorChoice> choices;
    bool abortDownloads = false;
    int downloadAttempts = 0;
    hnDetectionMemo* shared = nullptr;
    std::vector<hnDetectionMemo*> memoSeen; // the shared memo at each detection and install

    hnDetectionMemo* shareDetection(hnDetectionMemo* memo) override {
        std::swap(shared, memo);
        return memo;
    }
    bool isInstalled(hnInstallationElement& e) override {
        memoSeen.push_back(shared);
        auto it = detected.find(e.name);
        return it != detected.end() && it->second != kStatusNotInstalled;
    }
    bool getStatusWord(hnInstallationElement& e, std::string& status) override {
        status = detected[e.name];
        return status == kStatusInstalled;
    }
    int installElement(hnInstallationElement& e, int position, int runLength, bool refresh, bool) override {
        memoSeen.push_back(shared);
        calls.push_back("install " + e.name + " " + std::to_string(position) + "/" +
                        std::to_string(runLength) + (refresh ? " refresh" : ""));
        int result = installResult.count(e.name) ? installResult[e.name] : 1;
        e.setProgress(result > 0 ? kProgressOk : kProgressFailed);
        if (result > 0)
            detected[e.name] = kStatusInstalled;
        return result;
    }
    int downloadElement(hnInstallationElement& e, bool& aborted, int position, int runLength) override {
        ++downloadAttempts;
        calls.push_back("download " + e.name + " " + std::to_string(position) + "/" +
                        std::to_string(runLength));
        aborted = abortDownloads;
        return downloadResult.count(e.name) ? downloadResult[e.name] : 1;
    }
    int deleteOldDownload(int position, hnInstallationElement& e, int runLength) override {
        calls.push_back("delete " + e.name + " " + std::to_string(position) + "/" +
                        std::to_string(runLength));
        return deleteResult.count(e.name) ? deleteResult[e.name] : 1;
    }
    int uninstallElement(hnInstallationElement& e, int position, int runLength, bool) override {
        calls.push_back("uninstall " + e.name + " " + std::to_string(position) + "/" +
                        std::to_string(runLength));
        return uninstallResult.count(e.name) ? uninstallResult[e.name] : 1;
    }
    int repairElement(bool, hnInstallationElement& e) override {
        if (!hnInstallManagerBase::needsRepair(e))
            return 1;
        calls.push_back("repair " + e.name);
        if (repairTo.count(e.name))
            detected[e.name] = repairTo[e.name];
        auto sequence = repairSequence.find(e.name);
        if (sequence != repairSequence.end() && !sequence->second.empty()) {
            detected[e.name] = sequence->second.front();
            if (sequence->second.size() > 1)
                sequence->second.pop_front();
        }
        return 1;
    }
    int updateStatusDetail(hnInstallationElement& e) override {
        e.statusDetail = "detail of " + e.name;
        return 1;
    }
    hnDownloadErrorChoice askDownloadError(const std::string& text) override {
        calls.push_back("ask " + text);
        hnDownloadErrorChoice choice = choices.empty() ? hnDownloadErrorChoice::Abort : choices.front();
        if (!choices.empty())
            choices.pop_front();
        return choice;
    }
};

// A page's rows: strings the elements point to, and a manager over them.
struct Page {
    explicit Page(int rows) : names(rows), statuses(rows), progress(rows) {
        std::vector<std::unique_ptr<hnInstallationElement>> built;
        std::vector<hnInstallationElement*> pointers;
        for (int i = 0; i < rows; ++i) {
            std::string name = "Component " + std::to_string(i);
            progress[i] = "stale";
            built.emplace_back(new hnInstallationElement(name.c_str(), "http://127.0.0.1/x",
                                                         ("file" + std::to_string(i) + ".msi").c_str(),
                                                         " /q ", "C:\\cache", true, 0, i % 2 == 0, &names[i],
                                                         &statuses[i], &progress[i], kCategoryPrerequisites));
            pointers.push_back(built.back().get());
        }
        manager.setElements(static_cast<unsigned>(rows), pointers.data());
        manager.setActions(&actions);
    }
    std::vector<std::string> names, statuses, progress;
    RecordedActions actions;
    hnInstallManagerBase manager;
};

} // namespace

TEST(InstallationElement, BuildingWritesNameAndClearsProgressAndCopiesShareStrings) {
    std::string name, status = "Installed", progress = "Failed";
    hnInstallationElement element("Python 2.7.9", nullptr, "python-2.7.9.msi", nullptr, "C:\\x", true, 7,
                                  true, &name, &status, &progress, nullptr);
    EXPECT_EQ("Python 2.7.9", name);
    EXPECT_EQ("", progress);
    EXPECT_EQ("Installed", status);
    EXPECT_EQ("", element.url);
    EXPECT_EQ("", element.category);
    EXPECT_EQ(0, element.reserved);
    hnInstallationElement copy(element);
    copy.setProgress(kProgressInstalling);
    EXPECT_EQ("Installing...", progress);
}

TEST(InstallManager, RefreshStatusesWritesWordsAndReportsIncompleteRanges) {
    Page page(3);
    page.actions.detected = {{"Component 0", kStatusInstalled}, {"Component 1", kStatusVersionMismatch}};
    EXPECT_EQ(-1, page.manager.refreshStatuses(0, 2));
    EXPECT_EQ("Installed", page.statuses[0]);
    EXPECT_EQ("Version Mismatch", page.statuses[1]);
    EXPECT_EQ("Not Installed", page.statuses[2]);
    EXPECT_EQ(1, page.manager.refreshStatuses(0, 0));
    EXPECT_EQ(-1, page.manager.refreshStatuses(2, 2));
}

TEST(InstallManager, RowsOfARefreshShareOneMemoThatAnActivationKeepsUntilAChange) {
    Page page(3);
    page.actions.detected = {{"Component 0", kStatusInstalled}, {"Component 2", kStatusInstalled}};
    page.manager.refreshStatuses(0, 2);
    ASSERT_EQ(3u, page.actions.memoSeen.size());
    EXPECT_NE(nullptr, page.actions.memoSeen[0]);
    EXPECT_EQ(page.actions.memoSeen[0], page.actions.memoSeen[2]);
    EXPECT_EQ(nullptr, page.actions.shared); // lent for the refresh only

    page.actions.memoSeen.clear();
    {
        hnInstallManagerBase::hnDetectOnce once(&page.manager);
        page.manager.refreshStatuses(0, 0);
        page.manager.refreshStatuses(1, 1);
        // An install changes the machine: it runs without a memo, and the
        // refresh after it must not reuse what was read before.
        EXPECT_EQ(1, page.manager.installRange(1, 1, false, false, false));
        page.manager.refreshStatuses(2, 2);
        ASSERT_EQ(4u, page.actions.memoSeen.size());
        EXPECT_NE(nullptr, page.actions.memoSeen[0]);
        EXPECT_EQ(page.actions.memoSeen[0], page.actions.memoSeen[1]);
        EXPECT_EQ(nullptr, page.actions.memoSeen[2]);
        EXPECT_NE(nullptr, page.actions.memoSeen[3]);
    }
    EXPECT_EQ(nullptr, page.actions.shared);
}

TEST(InstallManager, RepairWordsAreExactAndCaseSensitive) {
    Page page(1);
    hnInstallationElement& e = *page.manager.item(0);
    for (const char* word :
         {kStatusReinstallNeeded, kStatusVersionMismatch, kStatusMultipleVersions, kStatusIncompleteModule}) {
        page.statuses[0] = word;
        EXPECT_TRUE(hnInstallManagerBase::needsRepair(e)) << word;
    }
    for (const char* word : {"version mismatch", "Version Mismatch ", "Installed", "Not Installed", ""}) {
        page.statuses[0] = word;
        EXPECT_FALSE(hnInstallManagerBase::needsRepair(e)) << word;
    }
}

TEST(InstallManager, InstallRangeAsksBeforeRepairAndNoLeavesEverythingUnchanged) {
    Page page(3);
    ScriptedPrompter prompter;
    prompter.answer(IDNO);
    page.statuses = {"Not Installed", "Installed", "Version Mismatch"};
    page.progress = {"", "", ""};

    EXPECT_EQ(-1, page.manager.installRange(0, 0, true, true, true));
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ(
        "Errors are observed in existing installations. \nDo you want to repair these components?\n\nClick "
        "'Yes' to repair and proceed.\nClick 'No' to abort the installation.",
        prompter.records[0].text);
    EXPECT_EQ(kInstallerCaption, prompter.records[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), prompter.records[0].type & 0xF);
    EXPECT_TRUE(page.actions.calls.empty());
    EXPECT_EQ((std::vector<std::string>{"Not Installed", "Installed", "Version Mismatch"}), page.statuses);
    EXPECT_EQ((std::vector<std::string>{"", "", ""}), page.progress);
}

TEST(InstallManager, InstallRangeYesRepairsWholeListThenInstallsOnlyTheChosenRow) {
    Page page(3);
    ScriptedPrompter prompter;
    prompter.answer(IDYES);
    page.statuses = {"Not Installed", "Installed", "Version Mismatch"};
    page.actions.detected = {{"Component 1", kStatusInstalled}, {"Component 2", kStatusVersionMismatch}};
    page.actions.repairTo["Component 2"] = kStatusInstalled;

    EXPECT_EQ(1, page.manager.installRange(0, 0, true, true, true));
    EXPECT_EQ((std::vector<std::string>{"repair Component 2", "install Component 0 1/1"}),
              page.actions.calls);
    EXPECT_EQ("Installed", page.statuses[2]);
    EXPECT_EQ((std::vector<std::string>{"Ok", "", ""}), page.progress);
}

// Without the question a repair that leaves a state of the run behind again
// ends it: one that changes nothing after the first pass, and one that
// alternates between two words after the second.
TEST(InstallManager, InstallRangeWithoutQuestionEndsARepairThatReturnsToAnEarlierState) {
    for (int alternating = 0; alternating < 2; ++alternating) {
        Page page(2);
        ScriptedPrompter prompter;
        DebugCapture debug;
        page.statuses = {"Reinstall Needed", "Not Installed"};
        page.actions.detected = {{"Component 0", kStatusReinstallNeeded}};
        // Each repair leaves the other word behind; after twenty the
        // alternation settles, so a manager that does not catch it still ends.
        std::deque<std::string>& words = page.actions.repairSequence["Component 0"];
        for (int i = 0; alternating && i < 20; ++i)
            words.push_back(i % 2 == 0 ? kStatusVersionMismatch : kStatusReinstallNeeded);

        EXPECT_EQ(-1, page.manager.installRange(0, 1, false, false, false));
        EXPECT_TRUE(prompter.records.empty());
        EXPECT_EQ(std::vector<std::string>(alternating ? 2 : 1, "repair Component 0"), page.actions.calls);
        EXPECT_EQ("Reinstall Needed", page.statuses[0]);
        EXPECT_TRUE(debug.contains(
            "hnInstallManagerBase::installRange - repair returned the installations to an earlier state\n"));
    }
}

TEST(InstallManager, InstallRangeMarksTheRunAndStopsAtTheFirstFailure) {
    Page page(4);
    page.actions.installResult["Component 2"] = -1;
    EXPECT_EQ(-1, page.manager.installRange(1, 3, false, true, true));
    EXPECT_EQ((std::vector<std::string>{"install Component 1 1/3", "install Component 2 2/3"}),
              page.actions.calls);
    EXPECT_EQ((std::vector<std::string>{"", "Ok", "Failed", "Pending"}), page.progress);
    Page empty(0);
    EXPECT_EQ(-1, empty.manager.installRange(0, 0, true, true, true));
}

// Install All fetches what is not installed, the range and every row with a
// repair word, before the repair; a fetch that fails leaves every row as it
// was and the sentence for the user says what is installed now.
TEST(InstallManager, InstallAllFetchesFirstAndAFailedFetchChangesNothing) {
    Page page(4);
    ScriptedPrompter prompter;
    prompter.fallback = IDYES;
    page.statuses = {"Installed", "Version Mismatch", "Not Installed", "Reinstall Needed"};
    page.actions.detected = {{"Component 0", kStatusInstalled},
                             {"Component 1", kStatusVersionMismatch},
                             {"Component 3", kStatusReinstallNeeded}};
    page.actions.repairTo["Component 1"] = kStatusNotInstalled;
    page.actions.repairTo["Component 3"] = kStatusInstalled;
    page.actions.downloadResult["Component 2"] = -1;
    std::string told;
    EXPECT_EQ(-2, installAllFetchedFirst(page.manager, 0, 2, true, false, told));
    EXPECT_EQ((std::vector<std::string>{"download Component 1 1/3", "download Component 2 2/3"}),
              page.actions.calls);
    EXPECT_TRUE(prompter.records.empty());
    EXPECT_EQ("Version Mismatch", page.statuses[1]);
    EXPECT_EQ("Component 2 could not be downloaded, so nothing was changed; installed now: Component 0, "
              "Component 1 (Version Mismatch), Component 3 (Reinstall Needed).",
              told);

    page.actions.calls.clear();
    page.actions.downloadResult.clear();
    EXPECT_EQ(1, installAllFetchedFirst(page.manager, 0, 2, true, false, told));
    EXPECT_EQ((std::vector<std::string>{"download Component 1 1/3", "download Component 2 2/3",
                                        "download Component 3 3/3", "repair Component 1",
                                        "repair Component 3", "install Component 0 1/3",
                                        "install Component 1 2/3", "install Component 2 3/3"}),
              page.actions.calls);

    // A stopped download changes nothing either; with nothing there the
    // sentence says so.
    Page empty(2);
    empty.actions.abortDownloads = true;
    EXPECT_EQ(-2, installAllFetchedFirst(empty.manager, 0, 1, false, false, told));
    EXPECT_EQ((std::vector<std::string>{"download Component 0 1/2"}), empty.actions.calls);
    EXPECT_EQ("The download of Component 0 was stopped, so nothing was changed; none of these components is "
              "installed.",
              told);
}

TEST(InstallManager, InstallSelectionInstallsInSelectionOrderWithRefreshFlag) {
    Page page(4);
    int indices[] = {3, 1};
    EXPECT_EQ(1, page.manager.installSelection(indices, 2, true, false));
    EXPECT_EQ(
        (std::vector<std::string>{"install Component 3 1/2 refresh", "install Component 1 2/2 refresh"}),
        page.actions.calls);
    EXPECT_EQ((std::vector<std::string>{"", "Ok", "", "Ok"}), page.progress);
    EXPECT_EQ(-1, page.manager.installSelection(nullptr, 2, false, false));
    EXPECT_EQ(-1, page.manager.installSelection(indices, 0, false, false));
}

TEST(InstallManager, InstallSelectionRepairsOnlySelectedRowsUnlessWholeList) {
    Page page(3);
    ScriptedPrompter prompter;
    page.statuses = {"Multiple Versions", "Not Installed", "Incomplete Module"};
    page.actions.detected = {{"Component 0", kStatusMultipleVersions},
                             {"Component 2", kStatusIncompleteModule}};
    page.actions.repairTo = {{"Component 2", kStatusInstalled}};
    int selected[] = {2};
    prompter.answer(IDYES);
    EXPECT_EQ(1, page.manager.installSelection(selected, 1, false, false));
    EXPECT_EQ((std::vector<std::string>{"repair Component 2", "install Component 2 1/1"}),
              page.actions.calls);
    EXPECT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Multiple Versions", page.statuses[0]); // not selected, not touched
}

TEST(InstallManager, UninstallRangeRunsBackwardsWithPositions) {
    Page page(6);
    EXPECT_EQ(1, page.manager.uninstallRange(2, 4, true));
    EXPECT_EQ((std::vector<std::string>{"uninstall Component 4 1/3", "uninstall Component 3 2/3",
                                        "uninstall Component 2 3/3"}),
              page.actions.calls);
    EXPECT_EQ((std::vector<std::string>{"", "", "Pending", "Pending", "Pending", ""}), page.progress);
    page.actions.calls.clear();
    page.actions.uninstallResult["Component 3"] = 0;
    EXPECT_EQ(-1, page.manager.uninstallRange(2, 4, true));
    EXPECT_EQ(2u, page.actions.calls.size());
}

TEST(InstallManager, DownloadErrorChoicesRetryIgnoreAndAbort) {
    Page page(3);
    ScriptedPrompter prompter;
    bool skipAll = false;
    page.actions.downloadResult = {{"Component 0", -1}, {"Component 2", -1}};
    page.actions.choices = {hnDownloadErrorChoice::Retry, hnDownloadErrorChoice::Ignore,
                            hnDownloadErrorChoice::Abort};
    EXPECT_EQ(-1, page.manager.downloadAll(true, &skipAll));
    EXPECT_EQ((std::vector<std::string>{
                  "download Component 0 1/3", "ask Error - Unable to download the component 'file0.msi'",
                  "download Component 0 1/3", "ask Error - Unable to download the component 'file0.msi'",
                  "download Component 1 2/3", "download Component 2 3/3",
                  "ask Error - Unable to download the component 'file2.msi'"}),
              page.actions.calls);
    EXPECT_TRUE(prompter.records.empty()); // no summary after Abort
    EXPECT_FALSE(skipAll);
}

TEST(InstallManager, IgnoreAllIsSharedAcrossRunsAndTheSummaryStillShows) {
    Page page(3);
    ScriptedPrompter prompter;
    bool skipAll = false;
    page.actions.downloadResult = {{"Component 0", -1}, {"Component 1", -1}};
    page.actions.choices = {hnDownloadErrorChoice::IgnoreAll};
    EXPECT_EQ(1, page.manager.downloadAll(true, &skipAll));
    EXPECT_TRUE(skipAll);
    EXPECT_EQ(1, page.manager.downloadAll(false, &skipAll));
    int asks = 0;
    for (auto& call : page.actions.calls)
        asks += call.rfind("ask ", 0) == 0;
    EXPECT_EQ(1, asks);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Successfully downloaded the files.\nDownload directory - " + theApp()->appFolderPath +
                  "\\_OrvantoInstallData",
              prompter.records[0].text);
    EXPECT_EQ(-1, page.manager.downloadSelection(nullptr, 1, false, &skipAll));
    int one[] = {0};
    EXPECT_EQ(-1, page.manager.downloadSelection(one, 1, false, nullptr));
}

TEST(InstallManager, UserAbortInTheProgressDialogEndsTheRunWithoutAQuestion) {
    Page page(2);
    bool skipAll = false;
    page.actions.downloadResult = {{"Component 0", -1}};
    page.actions.abortDownloads = true;
    EXPECT_EQ(-1, page.manager.downloadAll(false, &skipAll));
    EXPECT_EQ((std::vector<std::string>{"download Component 0 1/2"}), page.actions.calls);
}

TEST(InstallManager, DeleteOldDownloadsOnlyRefreshableAndSummary) {
    Page page(4);
    ScriptedPrompter prompter;
    EXPECT_EQ(1, page.manager.deleteOldDownloads(true, true));
    EXPECT_EQ((std::vector<std::string>{"delete Component 0 1/4", "delete Component 2 3/4"}),
              page.actions.calls);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Successfully deleted the old downloads.\nFrom directory - " + theApp()->appFolderPath +
                  "\\_OrvantoInstallData",
              prompter.records[0].text);
    page.actions.calls.clear();
    page.actions.deleteResult["Component 1"] = -1;
    EXPECT_EQ(-1, page.manager.deleteOldDownloads(false, true));
    EXPECT_EQ(2u, page.actions.calls.size());
    EXPECT_EQ(1u, prompter.records.size());
}

TEST(InstallManager, AllAndNoneInstalledAndLookups) {
    Page empty(0);
    EXPECT_FALSE(empty.manager.allInstalled());
    EXPECT_TRUE(empty.manager.noneInstalled());

    Page page(2);
    page.statuses = {"Installed", "Installed"};
    EXPECT_TRUE(page.manager.allInstalled());
    EXPECT_FALSE(page.manager.noneInstalled());
    page.statuses = {"Not Installed", "Not Installed"};
    EXPECT_TRUE(page.manager.noneInstalled());
    page.statuses[1] = "not installed";
    EXPECT_FALSE(page.manager.noneInstalled());

    EXPECT_EQ(page.manager.item(1), page.manager.findElementByName("Component 1"));
    EXPECT_EQ(nullptr, page.manager.findElementByName("component 1"));
    EXPECT_EQ(1, page.manager.refreshVersionDetails(0));
    EXPECT_EQ("detail of Component 0", page.manager.item(0)->statusDetail);
    EXPECT_EQ("", page.manager.item(1)->statusDetail);
}

TEST(InstallManager, RepairRangeStopsAtFirstFailure) {
    Page page(3);
    EXPECT_EQ(1, page.manager.repairRange(true, 0, 2));
    page.manager.clearElements();
    EXPECT_EQ(0u, page.manager.count());
}
