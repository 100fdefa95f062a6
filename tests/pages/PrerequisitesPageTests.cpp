// The prerequisites page against element actions that answer from a table,
// the real settings file and scripted message boxes.
#include <gtest/gtest.h>

#include <cstring>

#include "main/InstallerApp.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "pages/PageTestSupport.h"
#include "pages/PreRequisitesPage.h"
#include "pages_ids.h"
#include "pages/InstallerPages.h"
#include "wizard/InstallerSheet.h"

namespace {

const char* const kVc2017 = "MS VC++ 2017 Redist 14.15.26706";
const char* const kVc2019 = "MS VC++ 2015-2019 Redist (x86) 14.26.28720";
const char* const kRedistributables[] = {"MS VC++ 2005 SP1 Redist", "MS VC++ 2008 SP1 Redist",
                                         "MS VC++ 2010 SP1 Redist", "Microsoft .Net 2.0.50727.42 Redist",
                                         "Windows Installer 3.1",   kVc2019};
const char* const kRepairQuestion =
    "Errors are observed in existing installations. \nDo you want to repair "
    "these components?\n\nClick 'Yes' to repair and proceed.\nClick 'No' to abort "
    "the installation.";

// The VC++ 2017 Uninstall entry, removed again at the end.
class Vc2017Entry {
public:
    Vc2017Entry(HKEY root, const char* displayName) : root_(root) {
        hnScopedKey key;
        if (hnRegCreateKey(root_, kKey, KEY_WRITE, key.put()) == ERROR_SUCCESS)
            ::RegSetValueExA(key.get(), "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(displayName),
                             static_cast<DWORD>(std::strlen(displayName) + 1));
    }
    ~Vc2017Entry() {
        hnScopedKey parent;
        if (hnRegOpenKey(root_, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", KEY_ALL_ACCESS,
                         parent.put()) == ERROR_SUCCESS)
            ::RegDeleteKeyExA(parent.get(), "{7e9fae12-5bbf-47fb-b944-09c49e75c061}", hnRegistryView(), 0);
    }

private:
    static constexpr const char* kKey =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{7e9fae12-5bbf-47fb-b944-09c49e75c061}";
    HKEY root_;
};

// What the page asked of the interpreter routines, in order.
struct PythonCalls {
    std::vector<std::string> calls;
    kdDPrerequisitePythonHooks hooks() {
        kdDPrerequisitePythonHooks h;
        auto record = [this](const char* what) {
            return [this, what] {
                calls.push_back(what);
                return true;
            };
        };
        h.applyPython27Integration = record("apply 27");
        h.applyPython36Integration = record("apply 36");
        h.removePython27Integration = record("remove 27");
        h.removePython36Integration = record("remove 36");
        h.uninstallAllPython27Products = record("uninstall all 27");
        h.repairAllPython36Products = record("repair all 36");
        h.reinstallProduct = [this](const char* code) {
            calls.push_back(std::string("reinstall ") + code);
            return 0u;
        };
        return h;
    }
};

// An open page with every redistributable installed unless told otherwise.
struct OpenPage {
    explicit OpenPage(const char* stored, std::map<std::string, std::string> status = {},
                      bool redistributablesInstalled = true)
        : selection(stored), page("Test - Prerequisite Installation", python.hooks()) {
        if (redistributablesInstalled)
            for (const char* name : kRedistributables)
                actions.status[name] = kStatusInstalled;
        for (auto& entry : status)
            actions.status[entry.first] = entry.second;
        page.installManager->setActions(&actions);
        host.reset(new PageHost(page));
        window = page.hwnd();
    }
    std::string comboText() const {
        std::string text;
        page.comboSelection(text);
        return text;
    }
    std::vector<std::string> questions() const {
        std::vector<std::string> texts;
        for (auto& record : prompter.records)
            texts.push_back(record.text);
        return texts;
    }

    StoredSelection selection;
    ScriptedPrompter prompter;
    TableActions actions;
    PythonCalls python;
    kdDInstallPreRequisites page;
    std::unique_ptr<PageHost> host;
    HWND window = nullptr;
};

std::string oneVersionQuestion(const char* version) {
    return std::string(
               "Only one Python 2.7 version can be installed on a computer.\n\nDo you want to un-install "
               "existing Python 2.7 version and install ") +
           version + "?\n\nPlease click on 'Yes' button to proceed and install " + version +
           ".\nPlease click on 'No' to abort and to continue using existing Python version.\n";
}

} // namespace

TEST(PrerequisitesPage, ElementsFollowTheTableAndTheVcRowFollowsThe2017Entry) {
    {
        kdDInstallPreRequisites page("Test", PythonCalls().hooks());
        ASSERT_EQ(9u, page.installManager->count());
        EXPECT_EQ(kVc2019, page.installManager->item(5)->name);
        EXPECT_EQ("VC_14.26.28720.3_redist_x86.exe", page.installManager->item(5)->fileName);
        ASSERT_EQ(1u, page.alternativeManager->count());
        EXPECT_EQ(kVc2017, page.alternativeManager->item(0)->name);
        EXPECT_EQ(kVc2019, page.rowNames[5]);

        const hnInstallationElement& vc2010 = *page.installManager->item(2);
        EXPECT_EQ(
            theApp()->repositoryBaseUrl() +
                "/orvanto/files/InstallerDownloads/_Installers3rdParty/Microsoft/vc2010sp1 - redist_x86.exe",
            vc2010.url);
        EXPECT_EQ(" /q:a ", vc2010.switches);
        EXPECT_EQ(theApp()->appFolderPath + "\\_OrvantoInstallData\\Prerequisites", vc2010.downloadFolder);
        const hnInstallationElement& py2713 = *page.installManager->item(7);
        EXPECT_TRUE(py2713.isMsiPackage);
        EXPECT_EQ("/passive ALLUSERS=1", py2713.switches);
        const hnInstallationElement& py36 = *page.installManager->item(8);
        EXPECT_FALSE(py36.isMsiPackage);
        EXPECT_EQ(theApp()->appFolderPath + "\\_OrvantoInstallData\\ExtensionsPY36\\Python2D",
                  py36.downloadFolder);
        EXPECT_EQ("Prerequisites", py36.category);
    }
    {
        Vc2017Entry entry(HKEY_LOCAL_MACHINE,
                          "Microsoft Visual C++ 2017 Redistributable (x86) - 14.15.26706");
        kdDInstallPreRequisites page("Test", PythonCalls().hooks());
        EXPECT_EQ(kVc2017, page.installManager->item(5)->name);
        EXPECT_EQ(kVc2017, page.rowNames[5]);
        EXPECT_EQ(kVc2019, page.alternativeManager->item(0)->name);
    }
    {
        Vc2017Entry entry(HKEY_CURRENT_USER, "Microsoft Visual C++ 2017 Redistributable (x86) - 14.15.26706");
        kdDInstallPreRequisites page("Test", PythonCalls().hooks());
        EXPECT_EQ(kVc2017, page.installManager->item(5)->name);
    }
    {
        // Another build of 2017 is not the one the row stands for.
        Vc2017Entry entry(HKEY_LOCAL_MACHINE,
                          "Microsoft Visual C++ 2017 Redistributable (x86) - 14.16.27012");
        kdDInstallPreRequisites page("Test", PythonCalls().hooks());
        EXPECT_EQ(kVc2019, page.installManager->item(5)->name);
    }
}

TEST(PrerequisitesPage, DownloadOfEverythingGathersBothVcRedistributables) {
    StoredSelection selection("Python 2.7.9");
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages());
    hnInstallManagerBase gathered;
    int count = sheet.collectAllInstallationElements(gathered);
    ASSERT_EQ(static_cast<int>(gathered.count()), count);
    int vc2017 = 0, vc2019 = 0;
    for (unsigned i = 0; i < gathered.count(); ++i) {
        vc2017 += gathered.item(i)->name == kVc2017;
        vc2019 += gathered.item(i)->name == kVc2019;
    }
    EXPECT_EQ(1, vc2017);
    EXPECT_EQ(1, vc2019);
    EXPECT_EQ(kVc2017, gathered.item(gathered.count() - 1)->name); // the alternative comes last
    EXPECT_NE(nullptr, gathered.findElementByName("Orvanto Kadrix SDK XV 774 Installer"));
}

TEST(PrerequisitesPage, StoredChoiceSelectsTheInterpreterAndItsStatusLine) {
    {
        OpenPage open("Python 2.7.13", {{"Python 2.7.13", kStatusInstalled}});
        EXPECT_EQ("Python 2.7.13", open.comboText());
        EXPECT_EQ("Python 2.7.13", open.page.currentPython);
        EXPECT_EQ("Status: Installed", controlText(open.window, IDC_PREREQ_PYTHON_STATUS));
        EXPECT_TRUE(controlVisible(open.window, IDC_PREREQ_PYTHON_REPAIR));
        EXPECT_TRUE(open.host->nextEnabled());
        EXPECT_FALSE(controlVisible(open.window, IDC_PREREQ_INSTALL_ALL));
        EXPECT_EQ("Please click on the 'Next' button to proceed", controlText(open.window, IDC_STATUS_AREA));
        EXPECT_EQ("Cancel", open.host->cancelText());
        // Rows show their element's strings; the removable ones can be removed.
        EXPECT_EQ("MS VC++ 2008 SP1 Redist", controlText(open.window, IDC_PREREQ_VC2008_NAME));
        EXPECT_EQ("Installed", controlText(open.window, IDC_PREREQ_MSI31_STATUS));
        EXPECT_EQ(kVc2019, controlText(open.window, IDC_PREREQ_VC14_NAME));
        EXPECT_TRUE(controlEnabled(open.window, IDC_PREREQ_VC14_UNINSTALL));
        expectTidyLayout(open.window,
                         {IDC_PREREQ_VC2005_NAME, IDC_PREREQ_VC2005_UNINSTALL, IDC_PREREQ_MSI31_PROGRESS,
                          IDC_PREREQ_PYTHON_LABEL, IDC_PREREQ_PYTHON_COMBO, IDC_PREREQ_PYTHON_STATUS,
                          IDC_PREREQ_PYTHON_REPAIR},
                         {IDC_PREREQ_INSTALL_ALL, IDC_PREREQ_DOWNLOAD_INSTALLABLES});
    }
    {
        // A text that is none of the three marks 2.7.9 for reinstallation.
        OpenPage open("Python 3.7", {{"Python 2.7.9", kStatusInstalled}});
        EXPECT_EQ("Reinstall Needed", open.page.pythonStatus[0]);
        EXPECT_EQ("Python 2.7.9", open.page.currentPython);
        EXPECT_EQ("Status: Reinstall Needed", controlText(open.window, IDC_PREREQ_PYTHON_STATUS));
        EXPECT_FALSE(controlVisible(open.window, IDC_PREREQ_PYTHON_REPAIR));
        EXPECT_FALSE(open.host->nextEnabled());
    }
    {
        // Nothing stored: 2.7.9, here missing, with a redistributable missing too.
        OpenPage open(nullptr, {{"MS VC++ 2008 SP1 Redist", kStatusNotInstalled}});
        EXPECT_EQ("Python 2.7.9", open.comboText());
        EXPECT_EQ("Status: Not Installed", controlText(open.window, IDC_PREREQ_PYTHON_STATUS));
        EXPECT_FALSE(controlEnabled(open.window, IDC_PREREQ_VC2008_UNINSTALL));
        EXPECT_TRUE(controlEnabled(open.window, IDC_PREREQ_VC2005_UNINSTALL));
        EXPECT_FALSE(open.host->nextEnabled());
        EXPECT_TRUE(controlVisible(open.window, IDC_PREREQ_INSTALL_ALL));
        EXPECT_EQ("Please click on the 'Install All Pre-requisite Components' button to install the Orvanto "
                  "pre-requisite components",
                  controlText(open.window, IDC_STATUS_AREA));
    }
}

TEST(PrerequisitesPage, SwitchingToPython36AsksFirstAndNoRestoresTheSavedChoice) {
    OpenPage open("Python 2.7.9", {{"Python 2.7.9", kStatusInstalled}});
    open.prompter.answer(IDNO);
    ASSERT_TRUE(chooseItem(open.window, IDC_PREREQ_PYTHON_COMBO, "Python 3.6.6"));
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ(
        "You have selected to switch to Python 3.6.6.\n\nPlease note that-\n(a) Python 3.6.6 is in "
        "beta,\n(b) "
        "Legacy Python 2.7 profiles must be converted before running on Python 3.6,\n\nDo you want to switch "
        "to Python 3.6.6?\nPlease click on 'Yes' button to proceed.\nPlease click on 'No' button to abort "
        "and "
        "to continue using currently selected python version.\n",
        open.prompter.records[0].text);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer", open.prompter.records[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), open.prompter.records[0].type & 0xF);
    EXPECT_EQ("Python 2.7.9", open.comboText());
    EXPECT_TRUE(open.python.calls.empty());
    EXPECT_TRUE(open.actions.calls.empty());
    EXPECT_EQ("Python 2.7.9", StoredSelection::read());

    // Yes: the 2.7 files go, the interpreter is installed and integrated, the choice saved.
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_PREREQ_PYTHON_COMBO, "Python 3.6.6"));
    EXPECT_EQ((std::vector<std::string>{"remove 27", "remove 36", "apply 36"}), open.python.calls);
    EXPECT_EQ((std::vector<std::string>{"Python 3.6.6"}), open.actions.callsOf("install"));
    EXPECT_EQ("Python 3.6.6", StoredSelection::read());
    EXPECT_EQ("Python 3.6.6", open.page.currentPython);
    EXPECT_EQ("Status: Installed", controlText(open.window, IDC_PREREQ_PYTHON_STATUS));
}

TEST(PrerequisitesPage, OnlyOnePython27VersionAndTheInstalledOneIsKeptOnNo) {
    OpenPage open("Python 2.7.9", {{"Python 2.7.9", kStatusInstalled}});
    open.prompter.answer(IDNO);
    ASSERT_TRUE(chooseItem(open.window, IDC_PREREQ_PYTHON_COMBO, "Python 2.7.13"));
    EXPECT_EQ((std::vector<std::string>{oneVersionQuestion("Python 2.7.13")}), open.questions());
    EXPECT_TRUE(open.python.calls.empty());
    EXPECT_TRUE(open.actions.calls.empty());
    EXPECT_EQ("Python 2.7.9", StoredSelection::read());
    EXPECT_EQ("Python 2.7.9", open.comboText()); // the page went back to the saved choice
    EXPECT_EQ("Status: Installed", controlText(open.window, IDC_PREREQ_PYTHON_STATUS));

    open.prompter.answer(IDYES);
    open.actions.status["Python 2.7.9"] = kStatusNotInstalled; // what the removal of all 2.7 products leaves
    ASSERT_TRUE(chooseItem(open.window, IDC_PREREQ_PYTHON_COMBO, "Python 2.7.13"));
    EXPECT_EQ((std::vector<std::string>{"uninstall all 27", "remove 36", "apply 27"}), open.python.calls);
    EXPECT_EQ((std::vector<std::string>{"Python 2.7.13"}), open.actions.callsOf("install"));
    EXPECT_EQ("Python 2.7.13", StoredSelection::read());
}

TEST(PrerequisitesPage, ChoosingTheInstalledInterpreterAgainDoesNothing) {
    OpenPage open("Python 2.7.13", {{"Python 2.7.13", kStatusInstalled}});
    ASSERT_TRUE(chooseItem(open.window, IDC_PREREQ_PYTHON_COMBO, "Python 2.7.13"));
    EXPECT_TRUE(open.prompter.records.empty());
    EXPECT_TRUE(open.python.calls.empty());
    EXPECT_TRUE(open.actions.calls.empty());

    // Not correctly installed: removed and installed again.
    open.actions.status["Python 2.7.13"] = kStatusVersionMismatch;
    EXPECT_FALSE(open.page.arePrerequisitesInstalled());
    EXPECT_EQ("Status: Version Mismatch", controlText(open.window, IDC_PREREQ_PYTHON_STATUS));
    ASSERT_TRUE(chooseItem(open.window, IDC_PREREQ_PYTHON_COMBO, "Python 2.7.13"));
    EXPECT_EQ((std::vector<std::string>{"uninstall Python 2.7.13", "install Python 2.7.13"}),
              open.actions.calls);
    EXPECT_EQ((std::vector<std::string>{"apply 27"}), open.python.calls);
}

TEST(PrerequisitesPage, RepairReinstallsTheChosenInterpreter) {
    {
        OpenPage open("Python 2.7.9", {{"Python 2.7.9", kStatusInstalled}});
        clickButton(open.window, IDC_PREREQ_PYTHON_REPAIR);
        EXPECT_EQ((std::vector<std::string>{"reinstall {79F081BF-7454-43DB-BD8F-9EE596813232}", "apply 27"}),
                  open.python.calls);
    }
    {
        OpenPage open("Python 2.7.13", {{"Python 2.7.13", kStatusInstalled}});
        clickButton(open.window, IDC_PREREQ_PYTHON_REPAIR);
        EXPECT_EQ("reinstall {4A656C6C-D24A-473F-9747-3A8D00907A03}", open.python.calls.at(0));
    }
    {
        OpenPage open("Python 3.6.6", {{"Python 3.6.6", kStatusInstalled}});
        clickButton(open.window, IDC_PREREQ_PYTHON_REPAIR);
        EXPECT_EQ((std::vector<std::string>{"repair all 36", "apply 36"}), open.python.calls);
    }
}

TEST(PrerequisitesPage, InstallAllLeavesTheInterpretersNotChosenAlone) {
    // 2.7.13 was chosen once and left damaged; 2.7.9 is the choice now.
    OpenPage open("Python 2.7.9", {{"MS VC++ 2005 SP1 Redist", kStatusVersionMismatch},
                                   {"Windows Installer 3.1", kStatusNotInstalled},
                                   {"Python 2.7.9", kStatusReinstallNeeded},
                                   {"Python 2.7.13", kStatusVersionMismatch}});
    clickButton(open.window, IDC_PREREQ_INSTALL_ALL);
    EXPECT_EQ((std::vector<std::string>{"MS VC++ 2005 SP1 Redist", "Python 2.7.9"}),
              open.actions.callsOf("repair"));
    EXPECT_EQ((std::vector<std::string>{"MS VC++ 2005 SP1 Redist", "Windows Installer 3.1", "Python 2.7.9"}),
              open.actions.callsOf("install"));
    EXPECT_TRUE(open.actions.callsOf("uninstall").empty());
    EXPECT_EQ((std::vector<std::string>{"apply 27"}), open.python.calls);
    for (const std::string& text : open.questions())
        EXPECT_NE(kRepairQuestion, text);
    EXPECT_EQ(kStatusVersionMismatch, open.actions.statusOf("Python 2.7.13")); // still there for its owner
    EXPECT_EQ("Status: Installed", controlText(open.window, IDC_PREREQ_PYTHON_STATUS));
    EXPECT_EQ("Python 2.7.9", StoredSelection::read());
    EXPECT_TRUE(open.host->nextEnabled());
    EXPECT_FALSE(controlVisible(open.window, IDC_PREREQ_INSTALL_ALL));
}

TEST(PrerequisitesPage, InstallAllWithOnlyTheInterpreterMissingInstallsOnlyIt) {
    OpenPage open("Python 2.7.13");
    EXPECT_FALSE(open.host->nextEnabled());
    clickButton(open.window, IDC_PREREQ_INSTALL_ALL);
    EXPECT_EQ((std::vector<std::string>{"download Python 2.7.13", "install Python 2.7.13"}),
              open.actions.calls);
    EXPECT_TRUE(open.actions.callsOf("repair").empty());
    EXPECT_TRUE(open.host->nextEnabled());
}

TEST(PrerequisitesPage, InstallAllFetchesEverythingFirstAndAFailedDownloadChangesNothing) {
    OpenPage open("Python 2.7.9", {{"MS VC++ 2005 SP1 Redist", kStatusVersionMismatch},
                                   {"Windows Installer 3.1", kStatusNotInstalled}});
    open.actions.unreachable = {"Python 2.7.9"};
    clickButton(open.window, IDC_PREREQ_INSTALL_ALL);
    EXPECT_EQ((std::vector<std::string>{"MS VC++ 2005 SP1 Redist", "Windows Installer 3.1", "Python 2.7.9"}),
              open.actions.callsOf("download"));
    EXPECT_TRUE(open.actions.callsOf("repair").empty());
    EXPECT_TRUE(open.actions.callsOf("install").empty());
    EXPECT_TRUE(open.python.calls.empty());
    ASSERT_FALSE(open.prompter.records.empty());
    const std::string& told = open.prompter.records.back().text;
    EXPECT_EQ(
        0u, told.find("Python 2.7.9 could not be downloaded, so nothing was changed; installed now: MS VC++ "
                      "2005 SP1 Redist (Version Mismatch), MS VC++ 2008 SP1 Redist"))
        << told;
    EXPECT_EQ(kStatusVersionMismatch, open.actions.statusOf("MS VC++ 2005 SP1 Redist"));

    // With the file there again the same click repairs and installs.
    open.actions.unreachable.clear();
    clickButton(open.window, IDC_PREREQ_INSTALL_ALL);
    EXPECT_EQ((std::vector<std::string>{"MS VC++ 2005 SP1 Redist", "Windows Installer 3.1", "Python 2.7.9"}),
              open.actions.callsOf("install"));
}

TEST(PrerequisitesPage, NextAsksForConfirmationWhilePrerequisitesAreMissing) {
    OpenPage open("Python 2.7.9", {{"Python 2.7.9", kStatusNotInstalled}});
    open.prompter.answer(IDNO);
    open.host->pressNext();
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ("Confirmation", open.prompter.records[0].caption);
    EXPECT_EQ("One or more 'Pre-requisite Components' are not installed.\nIt is recommended to install all "
              "'Pre-requisite Components' before proceeding.\n\nDo you want to continue proceeding to next "
              "page?\nPlease click on 'Yes' button to proceed.\nPlease click on 'No' button to abort.",
              open.prompter.records[0].text);
    EXPECT_FALSE(open.host->onSecondPage());

    open.prompter.answer(IDYES);
    open.host->pressNext();
    EXPECT_TRUE(open.host->onSecondPage());
}

TEST(PrerequisitesPage, NextWithEverythingInstalledAsksNothing) {
    OpenPage open("Python 2.7.9", {{"Python 2.7.9", kStatusInstalled}});
    open.host->pressNext();
    EXPECT_TRUE(open.prompter.records.empty());
    EXPECT_TRUE(open.host->onSecondPage());
}

TEST(PrerequisitesPage, UninstallRowRemovesThatElementOnly) {
    OpenPage open("Python 2.7.9", {{"Python 2.7.9", kStatusInstalled}});
    clickButton(open.window, IDC_PREREQ_VC14_UNINSTALL);
    EXPECT_EQ((std::vector<std::string>{kVc2019}), open.actions.callsOf("uninstall"));
    EXPECT_EQ("Not Installed", controlText(open.window, IDC_PREREQ_VC14_STATUS));
    EXPECT_FALSE(controlEnabled(open.window, IDC_PREREQ_VC14_UNINSTALL));
    EXPECT_FALSE(open.host->nextEnabled());
    EXPECT_TRUE(controlVisible(open.window, IDC_PREREQ_INSTALL_ALL));
}
