#include <gtest/gtest.h>

#include <stdexcept>

#include <windows.h>
#include <commctrl.h>

#include "main/InstallerApp.h"
#include "app/ControlText.h"
#include "controls/ComponentInstallHeader.h"
#include "controls/ImageButton.h"
#include "controls/ImageStatic.h"
#include "install/ElementActions.h"
#include "download/StatusWords.h"
#include "pages_ids.h"
#include "support/TestSupport.h"
#include "wizard/PropertyPageBase.h"

namespace {

// Detects every element as installed and counts the detections; installing
// can be made to throw or to take its time.
class CountingActions : public hnElementActions {
public:
    int detections = 0;
    bool throwOnInstall = false;
    std::function<void()> duringInstall;

    bool isInstalled(hnInstallationElement&) override { return true; }
    bool getStatusWord(hnInstallationElement&, std::string& status) override {
        ++detections;
        status = kStatusInstalled;
        return true;
    }
    int installElement(hnInstallationElement&, int, int, bool, bool) override {
        if (throwOnInstall)
            throw std::runtime_error("broken installer");
        if (duringInstall)
            duringInstall();
        return 1;
    }
    int downloadElement(hnInstallationElement&, bool&, int, int) override { return 1; }
    int deleteOldDownload(int, hnInstallationElement&, int) override { return 1; }
    int uninstallElement(hnInstallationElement&, int, int, bool) override { return 1; }
    int repairElement(bool, hnInstallationElement&) override { return 1; }
    int updateStatusDetail(hnInstallationElement&) override { return 1; }
    hnDownloadErrorChoice askDownloadError(const std::string&) override {
        return hnDownloadErrorChoice::Abort;
    }
};

class TestPage : public kdDPropertyPageBase {
public:
    explicit TestPage(CountingActions& actions)
        : kdDPropertyPageBase(IDD_CORE_COMPONENTS, "Test - Components", "Test Components"),
          actions_(actions) {
        uiDlgName = "Test Components";
        bindText(IDC_STATUS_AREA, &status);
        bindText(IDC_PAGE_DESCRIPTION, &rowStatus[0]);
    }
    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return ++updates; }
    int setupControls() override { return ++setups; }
    int initInstallationElements() override {
        ++builds;
        hnInstallationElement first("Component A", "http://127.0.0.1/a.exe", "a.exe", "", "C:\\cache", false,
                                    0, false, &names[0], &rowStatus[0], &progress[0], kCategoryPrerequisites);
        hnInstallationElement second("Component B", "http://127.0.0.1/b.exe", "b.exe", "", "C:\\cache", false,
                                     0, false, &names[1], &rowStatus[1], &progress[1],
                                     kCategoryPrerequisites);
        hnInstallationElement* elements[] = {&first, &second};
        installManager->clearElements();
        installManager->setElements(2, elements);
        installManager->setActions(&actions_);
        return 1;
    }
    bool onSetActive() override {
        showDownloadButton(IDC_DOWNLOAD_INSTALLABLES);
        return kdDPropertyPageBase::onSetActive();
    }

    std::string status = "Please click on the 'Next' button to proceed";
    std::string names[2], rowStatus[2], progress[2];
    int updates = 0, setups = 0, builds = 0;

private:
    CountingActions& actions_;
};

class PlainPage : public kdDPropertyPageBase {
public:
    PlainPage() : kdDPropertyPageBase(IDD_HALVENOR_UTILITIES, "Test - Plain", "Plain") {}
    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override { return 1; }
    int initInstallationElements() override { return 1; }
};

struct PageHost {
    PageHost() : page(actions), sheet("Test sheet") {
        sheet.setWizardMode();
        sheet.addPage(&page);
        sheet.addPage(&other);
        created = sheet.create();
        waitFor([] { return false; }, 50);
    }
    CountingActions actions;
    TestPage page;
    PlainPage other;
    hnPropertySheet sheet;
    bool created;
};

// The control's own visibility (the test sheet itself stays hidden).
bool shown(HWND control) { return (::GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT rectIn(HWND parent, HWND child) {
    RECT r = {};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

TEST(PropertyPageBase, ElementsAreBuiltOnceAndRedetectedAtEveryActivation) {
    PageHost host;
    ASSERT_TRUE(host.created);
    EXPECT_EQ(1, host.page.builds);
    EXPECT_EQ(1, host.page.setups);
    EXPECT_EQ(2, host.actions.detections);
    EXPECT_EQ(kStatusInstalled, hnWindowText(host.page.item(IDC_PAGE_DESCRIPTION)));
    EXPECT_EQ("Please click on the 'Next' button to proceed", hnWindowText(host.page.item(IDC_STATUS_AREA)));
    EXPECT_EQ("Test - Components", hnWindowText(host.sheet.hwnd()));

    ASSERT_TRUE(host.sheet.setActivePage(1));
    ASSERT_TRUE(host.sheet.setActivePage(0));
    EXPECT_EQ(1, host.page.builds);
    EXPECT_EQ(4, host.actions.detections);
    EXPECT_GE(host.page.updates, 2);
}

// Every transfer of the row strings shows the reasons beside them: the
// status reason on the status label, a failed operation's reason (and only
// while its word shows) in one text with it for a list cell.
TEST(PropertyPageBase, TransfersShowTheReasonsBesideTheWords) {
    PageHost host;
    ASSERT_TRUE(host.created);
    HWND label = host.page.item(IDC_PAGE_DESCRIPTION);
    auto tip = [&] { return toolTipText(host.page.toolTip, host.page.hwnd(), label); };
    EXPECT_EQ("", tip());
    const hnInstallationElement& first = *host.page.installManager->item(0);
    first.setStatusReason("product {X} found version 1.0");
    host.page.transferToControls();
    EXPECT_EQ("Product {X} found version 1.0", tip()); // shown as a sentence
    EXPECT_EQ("Product {X} found version 1.0", hnRowReasons(first));
    first.setStatusReason("product {X} not installed");
    host.page.transferToControls();
    EXPECT_EQ("Product {X} not installed", tip());

    first.setProgress(kProgressUninstallError, "the uninstaller ended with exit code 5");
    EXPECT_EQ("the uninstaller ended with exit code 5", hnFailureReason(first));
    EXPECT_EQ("Product {X} not installed\r\nUninstall Error: the uninstaller ended with exit code 5",
              hnRowReasons(first));
    first.setProgress(kProgressOk);
    EXPECT_EQ("", hnFailureReason(first));
    first.setStatusReason("");
    host.page.transferToControls();
    EXPECT_EQ("", tip());
}

// Counts the texts set on a control.
static LRESULT CALLBACK countTextSets(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
    if (message == WM_SETTEXT)
        ++*reinterpret_cast<int*>(data);
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

// A transfer sets only the texts that differ from what the controls show:
// a page refreshing many rows costs a window-server trip per changed label.
TEST(PropertyPageBase, TransfersSetOnlyChangedTexts) {
    PageHost host;
    ASSERT_TRUE(host.created);
    HWND label = host.page.item(IDC_PAGE_DESCRIPTION);
    HWND status = host.page.item(IDC_STATUS_AREA);
    int labelSets = 0, statusSets = 0;
    ASSERT_TRUE(::SetWindowSubclass(label, countTextSets, 1, reinterpret_cast<DWORD_PTR>(&labelSets)));
    ASSERT_TRUE(::SetWindowSubclass(status, countTextSets, 1, reinterpret_cast<DWORD_PTR>(&statusSets)));
    host.page.transferToControls();
    EXPECT_EQ(0, labelSets);
    EXPECT_EQ(0, statusSets);

    // The same length, another text; then a shorter one; then none.
    std::string sameLength(host.page.rowStatus[0].size(), 'x');
    for (const std::string& text : {sameLength, std::string("Short"), std::string()}) {
        host.page.rowStatus[0] = text;
        host.page.transferToControls();
        EXPECT_EQ(text, hnWindowText(label));
    }
    EXPECT_EQ(3, labelSets);
    EXPECT_EQ(0, statusSets);
    EXPECT_FALSE(hnSetTextIfChanged(label, ""));
    EXPECT_TRUE(hnSetTextIfChanged(label, "Installed"));
    EXPECT_FALSE(hnSetTextIfChanged(nullptr, "Installed"));
    ::RemoveWindowSubclass(label, countTextSets, 1);
    ::RemoveWindowSubclass(status, countTextSets, 1);
}

TEST(PropertyPageBase, HeaderAndSidePanelFrameThePage) {
    PageHost host;
    ASSERT_TRUE(host.created);
    HWND page = host.page.hwnd();
    RECT client;
    ::GetClientRect(page, &client);
    ::UpdateWindow(page);
    RECT header = rectIn(page, ::GetDlgItem(page, 9702));
    RECT side = rectIn(page, ::GetDlgItem(page, 9703));
    EXPECT_EQ((RECT{0, 0, client.right, 70}).right, header.right);
    EXPECT_EQ(0, header.top);
    EXPECT_EQ(70, header.bottom);
    EXPECT_EQ(70, side.top);
    EXPECT_EQ(165, side.right);
    EXPECT_EQ("Test Components", host.page.headerCtrl->title());
    host.sheet.destroy();
    EXPECT_EQ(nullptr, host.page.headerCtrl->hwnd());
}

TEST(PropertyPageBase, ExceptionInAnOperationShowsUnexpectedError101Once) {
    PageHost host;
    ASSERT_TRUE(host.created);
    ScriptedPrompter prompter;
    host.actions.throwOnInstall = true;
    host.page.rowStatus[0] = kStatusNotInstalled;
    int detectionsBefore = host.actions.detections, updatesBefore = host.page.updates;

    EXPECT_EQ(0, host.page.runInstallRange(0, 1, false));
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Unexpected Error 101", prompter.records[0].text);
    EXPECT_EQ("", prompter.records[0].caption);
    EXPECT_EQ(host.page.hwnd(), prompter.records[0].owner);
    EXPECT_FALSE(::KillTimer(host.page.hwnd(), kdDPropertyPageBase::kRefreshTimerId)); // already stopped
    EXPECT_EQ(detectionsBefore + 2, host.actions.detections);
    EXPECT_EQ(updatesBefore + 1, host.page.updates);
    EXPECT_EQ(kStatusInstalled, hnWindowText(host.page.item(IDC_PAGE_DESCRIPTION)));

    host.actions.throwOnInstall = false;
    EXPECT_EQ(1, host.page.runUninstallRange(0, 1));
    EXPECT_EQ(1u, prompter.records.size());
    EXPECT_EQ(-1, host.page.runDownloadAllOf(nullptr, nullptr));
}

TEST(PropertyPageBase, RefreshTimerUpdatesTheRowsWhileAnOperationRuns) {
    PageHost host;
    ASSERT_TRUE(host.created);
    ScriptedPrompter prompter;
    host.page.rowStatus[0] = kStatusNotInstalled;
    bool refreshedDuringRun = false;
    host.actions.duringInstall = [&] {
        // Modal dialogs of real operations dispatch messages; so does this wait.
        int before = host.page.updates;
        refreshedDuringRun = waitFor([&] { return host.page.updates > before; }, 4000);
    };
    EXPECT_EQ(1, host.page.runInstallRange(0, 0, false));
    EXPECT_TRUE(refreshedDuringRun);
    EXPECT_FALSE(::KillTimer(host.page.hwnd(), kdDPropertyPageBase::kRefreshTimerId));
}

TEST(PropertyPageBase, DownloadButtonFollowsTheWritableApplicationFolder) {
    PageHost host;
    ASSERT_TRUE(host.created);
    bool writable = theApp()->appFolderWritable;
    theApp()->appFolderWritable = false;
    host.sheet.setActivePage(1);
    host.sheet.setActivePage(0);
    EXPECT_FALSE(shown(host.page.item(IDC_DOWNLOAD_INSTALLABLES)));
    theApp()->appFolderWritable = true;
    host.sheet.setActivePage(1);
    host.sheet.setActivePage(0);
    EXPECT_TRUE(shown(host.page.item(IDC_DOWNLOAD_INSTALLABLES)));
    theApp()->appFolderWritable = writable;
}

TEST(PropertyPageBase, RowLayoutPlacesButtonsLabelsAndAdvice) {
    PageHost host;
    ASSERT_TRUE(host.created);
    HWND page = host.page.hwnd();
    hnImageButton removeButton, installButton;
    hnImageStatic advice;
    ASSERT_TRUE(removeButton.create(page, 2001, RECT{300, 150, 320, 170}));
    ASSERT_TRUE(installButton.create(page, 2002, RECT{10, 10, 30, 30}));
    ASSERT_TRUE(advice.create(page, 2003, RECT{10, 10, 20, 20}));
    HWND labels[3];
    for (int i = 0; i < 3; ++i)
        labels[i] =
            ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, page,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(2004 + i)), nullptr, nullptr);
    host.page.layoutComponentRow(removeButton, installButton, &advice, "Connect the camera first", labels[0],
                                 labels[1], labels[2]);
    EXPECT_EQ((RECT{811, 150, 835, 174}).left, rectIn(page, removeButton.hwnd()).left);
    EXPECT_EQ(150, rectIn(page, removeButton.hwnd()).top);
    EXPECT_EQ(785, rectIn(page, installButton.hwnd()).left);
    EXPECT_EQ(150, rectIn(page, installButton.hwnd()).top);
    EXPECT_EQ(24, installButton.width());
    EXPECT_EQ(200, rectIn(page, advice.hwnd()).left);
    RECT name = rectIn(page, labels[0]), status = rectIn(page, labels[1]), progress = rectIn(page, labels[2]);
    EXPECT_EQ(226, name.left);
    EXPECT_EQ(415, name.right - name.left);
    EXPECT_EQ(154, name.top);
    EXPECT_EQ(643, status.left);
    EXPECT_EQ(82, status.right - status.left);
    EXPECT_EQ(727, progress.left);
    EXPECT_EQ(56, progress.right - progress.left);
    EXPECT_EQ(3, ::SendMessageA(host.page.toolTip, TTM_GETTOOLCOUNT, 0, 0));

    host.page.layoutDriverRow(installButton, nullptr, labels[0]);
    EXPECT_EQ(643, rectIn(page, installButton.hwnd()).left);
}
