// The two core component pages against element actions that answer from a
// table, with scripted message boxes.
#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "install/CheckInstallations.h"
#include "install/DetectionSupport.h"
#include "main/InstallerApp.h"
#include "pages/CoreComponentsPage.h"
#include "pages/CoreComponentsStatusPage.h"
#include "pages/PageTestSupport.h"
#include "pages_ids.h"
#include "python/PythonSelection.h"
#include "pages/InstallerPages.h"
#include "wizard/InstallerSheet.h"

namespace {

const char* const kRuntime = "Orvanto Version XV 15.0.0.774 Runtime";
const char* const kVision = "Orvanto Vision Software Version XV 15.0.0.774";
const char* const kSdkInstaller = "Orvanto Kadrix SDK XV 774 Installer";

template <typename Page> struct OpenCorePage {
    OpenCorePage() : OpenCorePage(std::map<std::string, std::string>()) {}
    explicit OpenCorePage(std::map<std::string, std::string> status) : page("Test - Core") {
        actions.status = status;
        page.installManager->setActions(&actions);
        host.reset(new PageHost(page));
        window = page.hwnd();
    }
    ScriptedPrompter prompter;
    TableActions actions;
    Page page;
    std::unique_ptr<PageHost> host;
    HWND window = nullptr;
};
using CorePage = OpenCorePage<kdDInstallCoreComponentsSoftware>;
using StatusPage = OpenCorePage<kdDInstallCoreComponentsSoftwareStatus>;

// The page opens folders into `opened` instead of the shell, which succeeds.
void recordOpenedFolders(kdDInstallCoreComponentsSoftware& page, std::vector<std::string>& opened) {
    page.openFolder = [&opened](const std::string& path) {
        opened.push_back(path);
        return static_cast<INT_PTR>(42);
    };
}

// Installing a name of `failing` fails with the step it names.
class FailingInstallActions : public TableActions {
public:
    std::set<std::string> failing;
    int installElement(hnInstallationElement& element, int position, int runLength, bool refresh,
                       bool stopOnErrors) override {
        if (!failing.count(element.name))
            return TableActions::installElement(element, position, runLength, refresh, stopOnErrors);
        element.setProgress(kProgressFailed, "the setup program ended with exit code 1603");
        return -1;
    }
};

std::string sdkCacheFolder() {
    return theApp()->appFolderPath + "\\_OrvantoInstallData\\KadrixSDKInstaller";
}

} // namespace

TEST(CoreComponentsPage, ElementsRowsAndButtons) {
    CorePage open(std::map<std::string, std::string>{{kRuntime, kStatusInstalled}});
    ASSERT_EQ(3u, open.page.installManager->count());
    const hnInstallationElement& sdk = *open.page.installManager->item(2);
    EXPECT_EQ(kSdkInstaller, sdk.name);
    EXPECT_EQ(theApp()->repositoryBaseUrl() + "/orvanto/files/InstallerDownloads/Orvanto15.0/774/"
                                              "OrvantoKadrixSDK_15_0_0_774_Installer_200831.exe",
              sdk.url);
    EXPECT_EQ(sdkCacheFolder(), sdk.downloadFolder);
    EXPECT_EQ(" ", sdk.switches);
    EXPECT_EQ("Core Components", sdk.category);

    EXPECT_EQ(kRuntime, controlText(open.window, IDC_CORE_RUNTIME_NAME));
    EXPECT_EQ("Installed", controlText(open.window, IDC_CORE_RUNTIME_STATUS));
    EXPECT_EQ("Not Installed", controlText(open.window, IDC_CORE_VISION_STATUS));
    EXPECT_FALSE(controlEnabled(open.window, IDC_CORE_RUNTIME_INSTALL));
    EXPECT_TRUE(controlEnabled(open.window, IDC_CORE_RUNTIME_UNINSTALL));
    EXPECT_TRUE(controlEnabled(open.window, IDC_CORE_VISION_INSTALL));
    EXPECT_FALSE(controlEnabled(open.window, IDC_CORE_VISION_UNINSTALL));
    EXPECT_EQ(
        0u, controlText(open.window, IDC_CORE_SDK_DESCRIPTION).find("Orvanto Kadrix is an advanced ActiveX"));
    EXPECT_FALSE(open.host->nextEnabled());
    EXPECT_EQ("Cancel", open.host->cancelText());
    expectTidyLayout(open.window,
                     {IDC_CORE_RUNTIME_NAME, IDC_CORE_RUNTIME_UNINSTALL, IDC_CORE_VISION_STATUS,
                      IDC_CORE_VISION_INSTALL, IDC_CORE_SDK_DESCRIPTION, IDC_CORE_SDK_DOWNLOAD},
                     {IDC_DOWNLOAD_INSTALLABLES});
}

TEST(CoreComponentsPage, VisionSoftwareBringsTheRuntimeAlongAndFinishReplacesCancel) {
    CorePage open;
    clickButton(open.window, IDC_CORE_VISION_INSTALL);
    EXPECT_EQ(
        (std::vector<std::string>{"download " + std::string(kRuntime), "download " + std::string(kVision),
                                  "install " + std::string(kRuntime), "install " + std::string(kVision)}),
        open.actions.calls);
    EXPECT_EQ("Installed", controlText(open.window, IDC_CORE_VISION_STATUS));
    EXPECT_TRUE(open.host->nextEnabled());
    EXPECT_EQ("Finish", open.host->cancelText());

    // With the runtime in place only the vision software runs.
    clickButton(open.window, IDC_CORE_VISION_UNINSTALL);
    EXPECT_EQ("Cancel", open.host->cancelText());
    EXPECT_FALSE(open.host->nextEnabled());
    open.actions.calls.clear();
    clickButton(open.window, IDC_CORE_VISION_INSTALL);
    EXPECT_EQ((std::vector<std::string>{kVision}), open.actions.callsOf("install"));
    EXPECT_EQ("Finish", open.host->cancelText());

    clickButton(open.window, IDC_CORE_RUNTIME_UNINSTALL);
    EXPECT_EQ("Not Installed", controlText(open.window, IDC_CORE_RUNTIME_STATUS));
    EXPECT_EQ("Cancel", open.host->cancelText());
    open.actions.calls.clear();
    clickButton(open.window, IDC_CORE_RUNTIME_INSTALL);
    EXPECT_EQ((std::vector<std::string>{kRuntime}), open.actions.callsOf("install"));
    EXPECT_EQ("Finish", open.host->cancelText());
}

// Fetch first: an installable that cannot be downloaded stops the run before
// anything is repaired or installed, and the user reads what is installed.
TEST(CoreComponentsPage, AFailedDownloadChangesNothingAndSaysWhatIsInstalled) {
    CorePage open(std::map<std::string, std::string>{{kRuntime, kStatusVersionMismatch}});
    open.actions.unreachable = {kVision};
    clickButton(open.window, IDC_CORE_VISION_INSTALL);
    EXPECT_EQ(
        (std::vector<std::string>{"download " + std::string(kRuntime), "download " + std::string(kVision)}),
        open.actions.calls);
    ASSERT_EQ(1u, open.prompter.records.size()) << describeRecords(open.prompter);
    EXPECT_EQ(std::string(kVision) + " could not be downloaded, so nothing was changed; installed now: " +
                  kRuntime + " (Version Mismatch).",
              open.prompter.records[0].text);
    EXPECT_EQ("Version Mismatch", controlText(open.window, IDC_CORE_RUNTIME_STATUS));
    EXPECT_EQ("Not Installed", controlText(open.window, IDC_CORE_VISION_STATUS));
}

TEST(CoreComponentsPage, SdkInstallerDownloadTellsTheOutcome) {
    std::string folder = sdkCacheFolder();
    std::string file = folder + "\\OrvantoKadrixSDK_15_0_0_774_Installer_200831.exe";
    ::DeleteFileA(file.c_str());
    {
        // The server cannot be reached: nothing arrives in the cache.
        CorePage open;
        std::vector<std::string> opened;
        recordOpenedFolders(open.page, opened);
        clickButton(open.window, IDC_CORE_SDK_DOWNLOAD);
        EXPECT_EQ((std::vector<std::string>{kSdkInstaller}), open.actions.callsOf("install"));
        ASSERT_EQ(1u, open.prompter.records.size());
        EXPECT_EQ("Error: Unable to download.\nPlease try again.", open.prompter.records[0].text);
        EXPECT_EQ("Error", open.prompter.records[0].caption);
        EXPECT_TRUE(opened.empty());
    }
    ASSERT_TRUE(makeFolders(folder));
    ASSERT_TRUE(writeTextFile(file, "sdk"));
    {
        CorePage open;
        std::vector<std::string> opened;
        recordOpenedFolders(open.page, opened);
        clickButton(open.window, IDC_CORE_SDK_DOWNLOAD);
        ASSERT_EQ(1u, open.prompter.records.size());
        EXPECT_EQ(
            "Download successful.\nPlease click on the 'OK' button to view the downloaded file in Windows "
            "Explorer.",
            open.prompter.records[0].text);
        EXPECT_EQ("Success", open.prompter.records[0].caption);
        EXPECT_EQ((std::vector<std::string>{folder}), opened);

        // The shell cannot open it.
        open.page.openFolder = [](const std::string&) { return static_cast<INT_PTR>(2); };
        clickButton(open.window, IDC_CORE_SDK_DOWNLOAD);
        ASSERT_EQ(3u, open.prompter.records.size());
        EXPECT_EQ("Unable to browse the folder. Error code - 2", open.prompter.records[2].text);
        EXPECT_EQ("Error", open.prompter.records[2].caption);
    }
    std::string cache = theApp()->appFolderPath + "\\_OrvantoInstallData";
    deleteFolderTree(cache.c_str(), "_OrvantoInstallData");
}

TEST(CoreComponentsPage, NextOffersTheDataImportBeforeMovingOn) {
    CorePage open(
        std::map<std::string, std::string>{{kRuntime, kStatusInstalled}, {kVision, kStatusInstalled}});
    std::vector<HWND> offered;
    open.page.importOlderVersionData = [&](HWND owner) { offered.push_back(owner); };
    open.host->pressNext();
    EXPECT_EQ((std::vector<HWND>{open.window}), offered);
    EXPECT_TRUE(open.host->onSecondPage());
}

TEST(CoreComponentsStatusPage, PassedOverOnlyWhileBothAreInstalled) {
    StatusPage both(
        std::map<std::string, std::string>{{kRuntime, kStatusInstalled}, {kVision, kStatusInstalled}});
    EXPECT_TRUE(both.page.isPageSkipped());
    EXPECT_EQ("Finish", both.host->cancelText());
    EXPECT_TRUE(both.host->nextEnabled());
    EXPECT_EQ(0u, controlText(both.window, IDC_STATUS_AREA)
                      .find("The Orvanto Vision Software core components are "
                            "installed."));

    both.actions.status[kVision] = kStatusVersionMismatch;
    EXPECT_FALSE(both.page.isPageSkipped());

    // Removing the runtime here closes the way on.
    both.actions.status[kVision] = kStatusInstalled;
    clickButton(both.window, IDC_CORE_RUNTIME_UNINSTALL);
    EXPECT_EQ((std::vector<std::string>{kRuntime}), both.actions.callsOf("uninstall"));
    EXPECT_EQ(
        "Core components are not installed successfully. Please click on the 'Back' button to try again",
        controlText(both.window, IDC_STATUS_AREA));
    EXPECT_FALSE(both.host->nextEnabled());
    EXPECT_FALSE(controlEnabled(both.window, IDC_CORE_RUNTIME_UNINSTALL));
    EXPECT_TRUE(controlEnabled(both.window, IDC_CORE_VISION_UNINSTALL));
    EXPECT_FALSE(both.page.isPageSkipped());
    expectTidyLayout(both.window,
                     {IDC_CORE_RUNTIME_NAME, IDC_CORE_VISION_PROGRESS, IDC_CORE_VISION_UNINSTALL},
                     {IDC_DOWNLOAD_INSTALLABLES});
}

TEST(CoreComponentsStatusPage, WizardPassesOverItBothWays) {
    StoredSelection stored("Python 2.7.9");
    ScriptedPrompter prompter;
    TableActions actions;
    actions.status = {{kRuntime, kStatusInstalled}, {kVision, kStatusInstalled}};
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages());
    installerPages(sheet).coreComponentsPage->installManager->setActions(&actions);
    installerPages(sheet).coreStatusPage->installManager->setActions(&actions);
    sheet.setWizardMode();
    ASSERT_TRUE(sheet.create());
    pumpMessages();
    ASSERT_TRUE(sheet.navigateTo("Core Installation"));
    pumpMessages();
    EXPECT_EQ("Finish", hnWindowText(::GetDlgItem(sheet.hwnd(), IDCANCEL)));
    PropSheet_PressButton(sheet.hwnd(), PSBTN_NEXT);
    pumpMessages();
    EXPECT_EQ("Recommended Extensions", sheet.pageBase(sheet.activeIndex())->uiDlgName);
    PropSheet_PressButton(sheet.hwnd(), PSBTN_BACK);
    pumpMessages();
    EXPECT_EQ("Core Installation", sheet.pageBase(sheet.activeIndex())->uiDlgName);

    actions.status[kVision] = kStatusNotInstalled;
    PropSheet_PressButton(sheet.hwnd(), PSBTN_NEXT);
    pumpMessages();
    EXPECT_EQ("CoreComponents", sheet.pageBase(sheet.activeIndex())->uiDlgName);
    EXPECT_EQ("Cancel", hnWindowText(::GetDlgItem(sheet.hwnd(), IDCANCEL)));
}

TEST(CoreComponentsStatusPage, OneActivationDetectsEachRowOnce) {
    // The skip test, the navigation, the page refresh and the buttons all read
    // the rows: one Next detects them once, a second activation again.
    StoredSelection stored("Python 2.7.9");
    ScriptedPrompter prompter;
    TableActions coreActions, statusActions;
    coreActions.status =
        statusActions.status = {{kRuntime, kStatusInstalled}, {kVision, kStatusNotInstalled}};
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages());
    installerPages(sheet).coreComponentsPage->installManager->setActions(&coreActions);
    installerPages(sheet).coreStatusPage->installManager->setActions(&statusActions);
    sheet.setWizardMode();
    ASSERT_TRUE(sheet.create());
    pumpMessages();
    ASSERT_TRUE(sheet.navigateTo("Core Installation"));
    pumpMessages();
    EXPECT_EQ(1, coreActions.detections[kRuntime]);
    PropSheet_PressButton(sheet.hwnd(), PSBTN_NEXT);
    pumpMessages();
    ASSERT_EQ("CoreComponents", sheet.pageBase(sheet.activeIndex())->uiDlgName);
    EXPECT_EQ(1, statusActions.detections[kRuntime]);
    EXPECT_EQ(1, statusActions.detections[kVision]);
    EXPECT_EQ("Cancel", hnWindowText(::GetDlgItem(sheet.hwnd(), IDCANCEL)));

    // A removal on the page detects afresh.
    clickButton(sheet.activePage()->hwnd(), IDC_CORE_RUNTIME_UNINSTALL);
    pumpMessages();
    EXPECT_GT(statusActions.detections[kRuntime], 1);
}

// The runtime installed without any Python 2.7 interpreter: the pointer over
// its status label shows why it needs a reinstall, naming the interpreter
// that is missing and where to install it.
TEST(CoreComponentsPage, PointerOverTheStatusShowsWhyTheRuntimeNeedsAReinstall) {
    for (const char* interpreter :
         {"{79F081BF-7454-43DB-BD8F-9EE596813232}", "{4A656C6C-D24A-473F-9747-3A8D00907A03}"})
        runMsiexec(std::string("/x ") + interpreter + " /qn"); // none may be there
    InstalledPackage runtime("runtime", kRuntimeProductCode);
    ASSERT_TRUE(runtime.installed());
    ScriptedPrompter prompter;
    kdDInstallCoreComponentsSoftware page("Test - Core");
    PageHost host(page);
    HWND window = page.hwnd();
    ASSERT_EQ("Reinstall Needed", controlText(window, IDC_CORE_RUNTIME_STATUS));
    EXPECT_NE(std::string::npos, tipOf(page, IDC_CORE_RUNTIME_STATUS).find("no Python 2.7 interpreter"));

    // The pointer over the label reaches the label itself (not the page
    // behind it), and the tooltip shown is the label's, with the reason.
    HWND under = nullptr;
    std::string text =
        hoverTip(page, host.sheetWindow(), IDC_CORE_RUNTIME_STATUS, &under, "core_runtime_reason_tooltip");
    EXPECT_EQ(::GetDlgItem(window, IDC_CORE_RUNTIME_STATUS), under);
    EXPECT_NE(std::string::npos, text.find("no Python 2.7 interpreter")) << text;
    EXPECT_NE(std::string::npos, text.find("install Python 2.7.13 on the prerequisites page first")) << text;
}

// A failed install says why on its progress label; the status label says
// what detection found; words without a reason carry no tooltip, and the
// buttons keep theirs.
TEST(CoreComponentsPage, ProgressLabelOfAFailedInstallSaysWhy) {
    ShownTablePage<kdDInstallCoreComponentsSoftware, FailingInstallActions> open(
        std::map<std::string, std::string>{});
    open.actions.failing.insert(kRuntime);
    EXPECT_EQ("", tipOf(open.page, IDC_CORE_RUNTIME_PROGRESS));
    clickButton(open.window, IDC_CORE_RUNTIME_INSTALL);
    EXPECT_EQ("Failed", controlText(open.window, IDC_CORE_RUNTIME_PROGRESS));
    EXPECT_EQ("The setup program ended with exit code 1603", tipOf(open.page, IDC_CORE_RUNTIME_PROGRESS));
    EXPECT_EQ("Install", tipOf(open.page, IDC_CORE_RUNTIME_INSTALL));

    // The next success takes the failure's tooltip away.
    open.actions.failing.clear();
    clickButton(open.window, IDC_CORE_RUNTIME_INSTALL);
    EXPECT_EQ("Ok", controlText(open.window, IDC_CORE_RUNTIME_PROGRESS));
    EXPECT_EQ("", tipOf(open.page, IDC_CORE_RUNTIME_PROGRESS));
}
