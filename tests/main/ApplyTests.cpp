// The pieces of /apply: the account rule, the pages' choices, content and
// packages in a set, the started installers' exit codes, and the windows of
// /quiet and /passive.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include <commctrl.h>

#include "app/Dialog.h"
#include "app/FileHelpers.h"
#include "app/PleaseWaitDlg.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "catalogue/CatalogueSources.h"
#include "download/InstallationElement.h"
#include "main/ComponentSetFile.h"
#include "main/ExitCodes.h"
#include "main/InstallerApp.h"
#include "main/PassiveProgress.h"
#include "main/RunAccount.h"
#include "main/SetApply.h"
#include "main/SetExport.h"
#include "main/UnattendedPrompter.h"
#include "pages/PageTestSupport.h"
#include "process/ProcessLaunch.h"
#include "support/TestSupport.h"

namespace {

CComponentSet setOf(const std::string& text) {
    CComponentSet set;
    std::string error;
    EXPECT_EQ(0, hnParseComponentSet(text, set, error)) << error;
    return set;
}

const hnPageChoice* choiceOf(const std::vector<hnPageChoice>& choices, const std::string& key) {
    for (const hnPageChoice& choice : choices)
        if (choice.key == key)
            return &choice;
    return nullptr;
}

// Runs the stand-in setup with a script, as a downloaded installer is run.
void runStandInSetup(const ScratchFolder& folder, const std::string& script) {
    std::string setup = folder.file("setup.exe");
    ASSERT_TRUE(::CopyFileA((toolsFolder() + "\\standin.exe").c_str(), setup.c_str(), FALSE));
    ASSERT_TRUE(writeTextFile(setup + ".txt", script));
    runDownloadedInstaller(setup, "CopyEXEFullPath", false);
}

struct RunOutcomeInPlace {
    explicit RunOutcomeInPlace(hnRunOutcome& outcome) { theApp()->setRunOutcome(&outcome); }
    ~RunOutcomeInPlace() { theApp()->setRunOutcome(nullptr); }
};

} // namespace

TEST(RunAccount, SystemWithPerUserPartsNeedsADocumentsFolder) {
    const char* system = "S-1-5-18";
    const char* user = "S-1-5-21-1004336348-1177238915-682003330-1001";
    CComponentSet perUser =
        setOf("[Component Set]\nFormat=1\n[Python Selection]\nVersionName=Python 2.7.13\n");
    CComponentSet machineOnly = setOf("[Component Set]\nFormat=1\n[Components]\nPython 2.7.13=Installed\n");
    std::string message;

    EXPECT_EQ(exitcode::kBadSetFile, hnCheckDocumentsRule(perUser, system, "NT AUTHORITY\\SYSTEM", "",
                                                          "C:\\sys\\Documents", message));
    EXPECT_NE(std::string::npos, message.find("NT AUTHORITY\\SYSTEM")) << message;
    EXPECT_NE(std::string::npos, message.find("/documents")) << message;

    EXPECT_EQ(0, hnCheckDocumentsRule(perUser, system, "NT AUTHORITY\\SYSTEM", "D:\\Line 4\\Documents\\",
                                      "C:\\sys\\Documents", message));
    EXPECT_NE(std::string::npos, message.find("D:\\Line 4\\Documents\\")) << message;

    EXPECT_EQ(0, hnCheckDocumentsRule(machineOnly, system, "", "", "C:\\sys\\Documents", message));
    EXPECT_NE(std::string::npos, message.find(system)) << message; // the SID names an unnamed account
    EXPECT_EQ(0, hnCheckDocumentsRule(perUser, user, "PLANT\\engineer", "", "C:\\Users\\engineer\\Documents",
                                      message));
    EXPECT_NE(std::string::npos, message.find("C:\\Users\\engineer\\Documents")) << message;

    EXPECT_TRUE(hnIsSystemAccountSid("s-1-5-18"));
    EXPECT_FALSE(hnIsSystemAccountSid("S-1-5-18-1"));
    EXPECT_FALSE(hnIsSystemAccountSid(user));

    std::string sid, name;
    ASSERT_TRUE(hnProcessAccount(sid, name));
    EXPECT_EQ(0u, sid.find("S-1-")) << sid;
    EXPECT_FALSE(name.empty());
    // The account a test poses as is named as the process's own would be.
    EXPECT_TRUE(hnAccountNameOfSid(system, name));
    EXPECT_NE(std::string::npos, name.find("SYSTEM")) << name;
    EXPECT_FALSE(hnAccountNameOfSid("not a SID", name));
}

TEST(RunAccount, DocumentsOfTheCommandLineReplaceTheUsersFolder) {
    std::string own;
    ASSERT_TRUE(hnDocumentsFolder(own));
    theApp()->setDocumentsFolderOverride("C:\\Plant Documents\\");
    std::string given;
    EXPECT_TRUE(hnDocumentsFolder(given));
    theApp()->setDocumentsFolderOverride("");
    EXPECT_EQ("C:\\Plant Documents", given);
    std::string back;
    EXPECT_TRUE(hnDocumentsFolder(back));
    EXPECT_EQ(own, back);
}

TEST(SetExport, SelectorsTheVariantAndTheControlModeAreThePagesChoices) {
    CPagesWithoutWindows pages;
    std::vector<hnPageChoice> choices = pages.choices();
    for (const char* key :
         {"MVS Version", "Basler Pylon SDK", "AVT Package", "TeamViewer Host", "3D Toolbox Build",
          "3D Toolbox Build (Python 36)", "Library Variant", "OPC Client Control Mode"}) {
        const hnPageChoice* choice = choiceOf(choices, key);
        ASSERT_NE(nullptr, choice) << key;
        EXPECT_FALSE(choice->members.empty()) << key;
        EXPECT_FALSE(choice->current.empty()) << key;
        EXPECT_TRUE(hnIsKnownSetKey(pages, kSetSelectorsSection, hnLowerCase(key))) << key;
    }
    EXPECT_FALSE(hnIsKnownSetKey(pages, kSetSelectorsSection, "Flux Capacitor"));
    // Only members the page offers: anything else refuses the set whole.
    const hnPageChoice* mode = choiceOf(choices, "OPC Client Control Mode");
    ASSERT_NE(nullptr, mode);
    std::string error;
    CComponentSet good = setOf(
        "[Component Set]\nFormat=1\n[Selectors]\nOPC Client Control Mode=" + mode->members.back() + "\n");
    EXPECT_EQ(0, hnCheckSetValues(pages, good, error)) << error;
    CComponentSet bad =
        setOf("[Component Set]\nFormat=1\n[Selectors]\n\nOPC Client Control Mode=Carrier Pigeon\n");
    EXPECT_EQ(exitcode::kBadSetFile, hnCheckSetValues(pages, bad, error));
    EXPECT_NE(std::string::npos, error.find("line 5")) << error;
    EXPECT_NE(std::string::npos, error.find("Carrier Pigeon")) << error;

    // What the export writes of them is a choice with a member chosen.
    CComponentSet set;
    hnDescribeThisPc(pages, set);
    const hnSetSection* selectors = set.section(kSetSelectorsSection);
    ASSERT_NE(nullptr, selectors);
    for (const hnSetEntry& entry : selectors->entries) {
        const hnPageChoice* choice = choiceOf(choices, entry.key);
        ASSERT_NE(nullptr, choice) << entry.key;
        EXPECT_EQ(choice->current, entry.value);
        EXPECT_NE("None", entry.value);
    }
}

TEST(UnattendedInstallers, StartedInstallersExitCodesCountAndMsiexecNeverRestarts) {
    ScratchFolder folder;
    hnRunOutcome outcome;
    {
        RunOutcomeInPlace inPlace(outcome);
        runStandInSetup(folder, "exit 3010\n");
        EXPECT_TRUE(outcome.restartNeeded);
        EXPECT_EQ(exitcode::kRestartNeeded, hnExitCodeOf(outcome));
        runStandInSetup(folder, "exit 1618\n");
        EXPECT_EQ(exitcode::kBusy, hnExitCodeOf(outcome));

        std::size_t mark = readTextFile(theApp()->sessionLog().path()).size();
        runDownloadedInstaller(folder.file("missing package.msi"), "/qn", true);
        std::string log = readTextFile(theApp()->sessionLog().path()).substr(mark);
        EXPECT_NE(std::string::npos, log.find("/qn REBOOT=ReallySuppress")) << log;
    }
    // Outside a run the wizard's installers are left as they always were.
    std::size_t mark = readTextFile(theApp()->sessionLog().path()).size();
    runDownloadedInstaller(folder.file("missing package.msi"), "/qn", true);
    EXPECT_EQ(std::string::npos, readTextFile(theApp()->sessionLog().path()).substr(mark).find("REBOOT="));
}

TEST(QuietRun, DialogsStayHiddenWhileTheProgramRunsWithoutWindows) {
    theApp()->setWindowsHidden(true);
    {
        DPleaseWaitDlg wait;
        ASSERT_TRUE(wait.create(nullptr));
        wait.showForWait();
        ::ShowWindow(wait.hwnd(), SW_SHOWNORMAL);
        EXPECT_FALSE(::IsWindowVisible(wait.hwnd()));
    }
    theApp()->setWindowsHidden(false);
    DPleaseWaitDlg wait;
    ASSERT_TRUE(wait.create(nullptr));
    ::ShowWindow(wait.hwnd(), SW_SHOW);
    EXPECT_TRUE(::IsWindowVisible(wait.hwnd()));
}

TEST(PassiveRun, ProgressWindowShowsTheStepAndCancelEndsTheRun) {
    CPassiveProgress progress;
    ASSERT_TRUE(progress.create("Passive test"));
    EXPECT_TRUE(::IsWindowVisible(progress.hwnd()));
    progress.show("Installing PerformanceTest 8.0", 3, 4);
    HWND label = ::GetWindow(progress.hwnd(), GW_CHILD);
    EXPECT_EQ("Installing PerformanceTest 8.0", hnWindowText(label));
    HWND bar = ::GetWindow(label, GW_HWNDNEXT);
    EXPECT_EQ(750, static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0)));
    EXPECT_FALSE(progress.cancelled());
    ::SendMessageA(progress.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(progress.cancelled());

    hnRunOutcome outcome;
    outcome.cancelled = true;
    outcome.restartNeeded = true;
    EXPECT_EQ(exitcode::kCancelled, hnExitCodeOf(outcome));
}

namespace {

// The pages of the hidden sheet read and change the machine through the
// application's element actions: here a status table that records what was
// asked, so the driver is seen without a server.
class AppliedWithTable {
public:
    explicit AppliedWithTable(std::map<std::string, std::string> status) {
        actions.status = std::move(status);
        theApp()->setElementActions(&actions);
        previous_ = theApp()->setPrompter(&prompter_);
        theApp()->setWindowsHidden(true);
    }
    ~AppliedWithTable() {
        theApp()->setWindowsHidden(false);
        theApp()->setPrompter(previous_);
        theApp()->setElementActions(nullptr);
    }
    int apply(const std::string& text, bool exact) {
        CComponentSet set = setOf(text);
        hnApplyOptions options;
        options.exact = exact;
        outcome_ = hnRunOutcome();
        hnApplyComponentSet(set, options, outcome_, prompter_);
        return hnExitCodeOf(outcome_);
    }
    TableActions actions;

private:
    hnRunOutcome outcome_;
    hnUnattendedPrompter prompter_{outcome_};
    hnPrompter* previous_ = nullptr;
};

const char* const kRuntime = "Orvanto Version XV 15.0.0.774 Runtime";
const char* const kWatchdog = "Orvanto Watchdog 3.0.0.11";
const char* const kPerformanceTest = "PerformanceTest 8.0";

} // namespace

TEST(ApplyDriver, ListedMissingRowsComeThroughTheirPagesInOrderAndExactRemovesOnlyOptionalRows) {
    AppliedWithTable machine({{kWatchdog, kStatusInstalled}, {"Tera Term 4.88", kStatusInstalled}});
    std::string set = std::string("[Component Set]\nFormat=1\n[Components]\n") + kPerformanceTest +
                      "=Installed\n" + kRuntime + "=Installed\nTera Term 4.88=Installed\n";
    EXPECT_EQ(exitcode::kDone, machine.apply(set, false));
    EXPECT_EQ((std::vector<std::string>{kRuntime, kPerformanceTest}), machine.actions.callsOf("install"));
    EXPECT_TRUE(machine.actions.callsOf("uninstall").empty());

    // Again: nothing to do. With /exact the optional row the set leaves out
    // goes, and nothing of the prerequisites or the core.
    machine.actions.calls.clear();
    machine.actions.status["Orvanto Vision Software Version XV 15.0.0.774"] = kStatusInstalled;
    EXPECT_EQ(exitcode::kDone, machine.apply(set, false));
    EXPECT_TRUE(machine.actions.calls.empty()) << machine.actions.calls.front();
    EXPECT_EQ(exitcode::kDone, machine.apply(set, true));
    EXPECT_EQ((std::vector<std::string>{kWatchdog}), machine.actions.callsOf("uninstall"));
    EXPECT_TRUE(machine.actions.callsOf("install").empty());
}

TEST(ApplyDriver, ARowThatDoesNotComeFailsTheRunWithItsNameAndAddress) {
    AppliedWithTable machine({});
    std::size_t mark = readTextFile(theApp()->sessionLog().path()).size();
    // The watchdog row is answered as installed but never found afterwards.
    BrokenNamesActions broken;
    broken.broken.insert(kWatchdog);
    theApp()->setElementActions(&broken);
    std::string set = std::string("[Component Set]\nFormat=1\n[Components]\n") + kWatchdog +
                      "=Installed\nTera Term 4.88=Installed\n";
    EXPECT_EQ(exitcode::kFailed, machine.apply(set, false));
    std::string log = readTextFile(theApp()->sessionLog().path()).substr(mark);
    EXPECT_NE(std::string::npos, log.find(std::string(kWatchdog) + " failed")) << log;
    EXPECT_NE(std::string::npos, log.find("Orvanto_Watchdog_3_0_0_11_200130_Beta.exe")) << log;
    // The run stops at the failed row: the next page's row is never asked for.
    EXPECT_EQ((std::vector<std::string>{kWatchdog}), broken.callsOf("install"));
}

namespace {

// The content lists as the cache holds them, written for a test and put back
// afterwards, so that no page fetches a list.
class CachedLists {
public:
    CachedLists() {
        for (CatalogueKind kind :
             {CatalogueKind::DemoProfiles, CatalogueKind::DemoProfilesPy36, CatalogueKind::Templates,
              CatalogueKind::TemplatesPy36, CatalogueKind::Tutorials}) {
            const CatalogueSource& source = catalogueSource(kind);
            std::string folder = cacheFolder(source.cacheFolder), path = folder + "\\" + source.fileName;
            bool present = fileExists(path);
            saved_.push_back({kind, path, present ? readTextFile(path) : std::string(), present});
            makeFolders(folder);
            writeTextFile(path, "");
        }
    }
    ~CachedLists() {
        for (const Saved& saved : saved_) {
            if (saved.present)
                writeTextFile(saved.path, saved.text);
            else
                ::DeleteFileA(saved.path.c_str());
        }
    }
    void write(CatalogueKind kind, const std::string& text) {
        for (const Saved& saved : saved_)
            if (saved.kind == kind)
                writeTextFile(saved.path, text);
    }

private:
    struct Saved {
        CatalogueKind kind;
        std::string path, text;
        bool present;
    };
    std::vector<Saved> saved_;
};

struct DocumentsInPlace {
    explicit DocumentsInPlace(const std::string& folder) { theApp()->setDocumentsFolderOverride(folder); }
    ~DocumentsInPlace() { theApp()->setDocumentsFolderOverride(""); }
};

const hnPageItem* itemOf(const std::vector<hnPageItem>& items, const std::string& key) {
    for (const hnPageItem& item : items)
        if (item.key == key)
            return &item;
    return nullptr;
}

int checkedNames(CPagesWithoutWindows& pages, const std::string& text, std::string& error) {
    CComponentSet set;
    int parsed = hnParseComponentSet(text, set, error);
    if (parsed != 0)
        return parsed;
    return hnCheckComponentSetKeys(
        set,
        [&pages](const std::string& section, const std::string& key) {
            return hnIsKnownSetKey(pages, section, key);
        },
        error);
}

} // namespace

// The pages answer for their content and packages: the installed demo
// profiles, templates and tutorials with their versions go to [Content], the
// package pages' packages to [Python Packages] (and no longer to
// [Components]); a name no page offers refuses the set with 87.
TEST(SetItems, ContentAndPackagesAreThePagesItemsAndUnknownNamesGive87) {
    ScratchFolder documents;
    DocumentsInPlace inPlace(documents.path());
    CachedLists lists;
    lists.write(CatalogueKind::DemoProfiles,
                "[2D]\nName=Blob "
                "Test\nClassName=BlobTest\nVersionLabel=1.0.0.2\nURL=http://127.0.0.1/p/BlobTest.zip\n"
                "\n[3D]\nName=Gauge\nVersionLabel=1.0.0.0\nURL=http://127.0.0.1/p/Gauge.zip\n");
    lists.write(
        CatalogueKind::Templates,
        "[2D]\nName=Edge Tool\nClassName=EdgeTool\nVersionLabel=1.0.0.5\nURL=http://127.0.0.1/t/E.zip\n");
    lists.write(CatalogueKind::Tutorials,
                "[Tutorial1 Getting Started]\nCaption=Intro Tutorial\nName=Intro\n"
                "ProfileName=IntroProfile\nPDFName=intro.pdf\nURL=http://127.0.0.1/u/i.zip\n");
    std::string content = documents.path() + "\\Orvanto 15.0\\";
    ASSERT_TRUE(makeFolders(content + "Profiles\\BlobTest"));
    writeTextFile(content + "Profiles\\BlobTest\\Orvanto.Opb", "profile");
    writeTextFile(content + "Profiles\\BlobTest\\General.Ini",
                  "[Identification]\r\nVersionLabel=1.0.0.3\r\n");
    ASSERT_TRUE(makeFolders(content + "Templates\\EdgeTool_1.0.0.5"));
    ASSERT_TRUE(makeFolders(content + "Tutorials\\Intro"));
    writeTextFile(content + "Tutorials\\Intro\\intro.pdf", "pdf");
    ASSERT_TRUE(makeFolders(content + "Profiles\\IntroProfile"));
    writeTextFile(content + "Profiles\\IntroProfile\\Orvanto.Opb", "profile");

    CPagesWithoutWindows pages;
    const std::vector<hnPageItem>& items = pages.items();
    const hnPageItem* blob = itemOf(items, "Demo Profile: Blob Test");
    ASSERT_NE(nullptr, blob);
    EXPECT_EQ("1.0.0.3", blob->installed);
    EXPECT_EQ("1.0.0.2", blob->offered);
    ASSERT_NE(nullptr, itemOf(items, "Demo Profile: Gauge"));
    EXPECT_EQ("", itemOf(items, "Demo Profile: Gauge")->installed);
    const hnPageItem* six = itemOf(items, "Python 27 extension - six");
    ASSERT_NE(nullptr, six);
    EXPECT_EQ(hnPageItem::Package, six->kind);
    EXPECT_EQ("1.12.0", six->offered);
    EXPECT_EQ("six", six->package);
    ASSERT_NE(nullptr, itemOf(items, "numpy-1.16.4+mkl-cp27-cp27m-win32"));

    CComponentSet set;
    hnDescribeThisPc(pages, set);
    const hnSetSection* listed = set.section(kSetContentSection);
    ASSERT_NE(nullptr, listed);
    std::vector<std::string> lines;
    for (const hnSetEntry& entry : listed->entries)
        lines.push_back(entry.key + "=" + entry.value);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ((std::vector<std::string>{"Demo Profile: Blob Test=1.0.0.3", "Template: Edge Tool=1.0.0.5",
                                        "Tutorial: Intro=Installed"}),
              lines);
    ASSERT_NE(nullptr, set.section(kSetPackagesSection));
    for (const hnSetEntry& entry : set.section(kSetComponentsSection)->entries)
        EXPECT_EQ(nullptr, itemOf(items, entry.key)) << entry.key;

    // What the export writes reads back and passes the name check.
    std::string text, error;
    ASSERT_TRUE(hnFormatComponentSet(set, text, error)) << error;
    EXPECT_EQ(0, checkedNames(pages, text, error)) << error << "\n" << text;
    std::string header = "[Component Set]\nFormat=1\n";
    EXPECT_EQ(0, checkedNames(pages,
                              header + "[Content]\nDemo Profile: Gauge=1.0.0.0\n[Python Packages]\n"
                                       "Python 27 extension - six=1.12.0\n",
                              error))
        << error;
    const struct {
        std::string text;
        const char* message;
    } bad[] = {
        {"[Content]\nDemo Profile: Flux Capacitor=1.0\n",
         "line 4: unknown name \"Demo Profile: Flux Capacitor\""},
        {"[Content]\nBlob Test=1.0.0.2\n", "unknown name \"Blob Test\" in [Content]"},
        {"[Content]\n\nDemo Profile: Blob Test\n", "line 5: malformed line"},
        {"[Python Packages]\nPython 27 extension - flux=1.0\n", "in [Python Packages]"},
        {"[Python Packages]\nsix=1.12.0\n", "unknown name \"six\""},
        {"[Components]\nPython 27 extension - six=1.12.0\n", "in [Components]"},
        {"[Python Packages]\nDemo Profile: Blob Test=1.0.0.3\n", "in [Python Packages]"},
    };
    for (const auto& one : bad) {
        EXPECT_EQ(exitcode::kBadSetFile, checkedNames(pages, header + one.text, error)) << one.text;
        EXPECT_NE(std::string::npos, error.find(one.message)) << error;
    }
}
