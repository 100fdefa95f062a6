#pragma once
// The wizard: a property sheet in wizard mode, the program's only main
// window. It owns every page, keeps the page list that fits the chosen
// Python version, adds the navigation row, serves each page's help document,
// checks for a newer installer in the background and hands over to one.
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "app/ScopedHandle.h"
#include "controls/PictureCache.h"
#include "wizard/PropertySheet.h"
#include "wizard/UpgradeCheckControl.h"

class CUpgradeInfo;
class hnInstallManagerBase;
struct hnInstallationElement;
class kdDPropertyPageBase;

// The page objects of the sheet. The page layer builds them
// (createInstallerPages); the sheet owns them and lays them out.
class kdDSheetPages {
public:
    virtual ~kdDSheetPages() = default;
    // Every page object, listed or not, in the order of construction.
    virtual std::vector<kdDPropertyPageBase*> all() const = 0;
    // Listed from the start, welcome page to the core status page.
    virtual std::vector<kdDPropertyPageBase*> head() const = 0;
    // What follows the head for Python 2.7 (0) or Python 3.6 (1).
    virtual std::vector<kdDPropertyPageBase*> tail(int version) const = 0;
    // Managers whose elements an installer copy gathers besides the pages'
    // own (the alternative VC++ redistributable of the prerequisites page).
    virtual std::vector<hnInstallManagerBase*> extraManagers() const = 0;
    // Pages may be built after the sheet has shown the first one: each call
    // builds one more; false once every page exists. The lists above hold
    // only pages that are built.
    virtual bool buildNext() { return false; }
    virtual bool complete() const { return true; }
};

// The sheet's calls into the Python settings and upkeep, the self-update
// check, the help window and the link opener. Each area that owns one of
// them plugs its routine in here; tests replace them.
struct kdDSheetHooks {
    // 1 and the stored interpreter choice, or below 1 when none is stored.
    std::function<int(std::string&)> getPythonVersionSelection;
    std::function<int(const std::string&)> setPythonVersionSelection;
    std::function<void()> ifRequiredSetSelectionForPy27Extensions;
    std::function<void()> ifRequiredSetSelectionForPy36Extensions;
    // The runtime's Python upkeep steps for the chosen interpreter, in order.
    std::function<void()> python27Upkeep;
    std::function<void()> python36Upkeep;
    // Fetches one channel's upgrade record on the worker thread; true when it
    // offers a newer version. Must register its internet handles.
    std::function<bool(CUpgradeInfo&, hnUpgradeCheckControl&)> checkUpgradeChannel;
    // Shows a page's help document modally.
    std::function<void(hnInstallationElement&, HWND)> showHelpDocument;
    // Opens a link; above 0 on success, otherwise `code` tells why.
    std::function<int(const std::string& address, const char* linkName, HWND owner, int& code)>
        openResourceLink;
};

// The shipped hooks.
kdDSheetHooks defaultSheetHooks();

extern const char* const kProductName; // "Orvanto Vision Software XV 774"
extern const char* const kWebHelpAddress;
extern const char* const kHelpFilesServerFolder;

class kdDKadrixSDKInstallerSheet : public hnPropertySheet {
public:
    explicit kdDKadrixSDKInstallerSheet(std::unique_ptr<kdDSheetPages> pages,
                                        const kdDSheetHooks& hooks = defaultSheetHooks());
    ~kdDKadrixSDKInstallerSheet() override;

    bool extensionsOnlyMode = false;
    std::string helpRowTexts[3];
    HWND navButtons[8] = {};
    hnScopedGdi<HFONT> navFont;
    HANDLE upgradeCheckThread = nullptr;
    std::unique_ptr<hnInstallManagerBase> helpManager;
    // The resource pictures of the pages' buttons, decoded once for all pages.
    hnPictureCache pictures;

    // 0 = Python 2.7, 1 = Python 3.6.
    int updateWizardPagesForPythonVersion(int version);
    int removeAllPagesAfterPage(hnPropertyPage* page);
    // Index of the page activated, or -1 when none is left.
    int gotoPreviousPage();
    int gotoNextPage();
    int launchInstallerFile(const std::string& path, HWND owner);
    static int getUIDlgTitleStrFromUIDlgName(const char* uiDlgName, std::string* title);
    // The folder the installed runtime product registered as "InstallPath";
    // false when the runtime is not installed or its key does not open.
    static bool getInstalledRuntimeFolder(std::string& folder);
    // Builds the help-document element of a page (owned by the caller).
    std::unique_ptr<hnInstallationElement> createHelpElement(const std::string& uiDlgName);
    // The help-document elements of every page that has one, in order, with
    // `rowTexts` (three strings the caller keeps) as their row texts.
    static std::vector<std::unique_ptr<hnInstallationElement>> createHelpElements(std::string* rowTexts);

    // Opens nothing while the help window or another modal window of the
    // sheet is open (F1 in it reaches the sheet too).
    void showPageHelp();
    int openWebHelp();
    int installPendingInstaller();
    int reactivateCurrentPage();
    // Activates the first page whose UI dialog name is one of the two.
    bool navigateTo(const char* uiDlgName, const char* alternative = nullptr);

    void onHelp() override { showPageHelp(); }

    kdDPropertyPageBase* pageBase(int index) const;
    // Every page object, listed or not, in the order of construction.
    std::vector<kdDPropertyPageBase*> allPageObjects() const;
    // Copies of the elements of every page object (each page's elements are
    // built first when they are not yet), then the help documents, then the
    // alternative VC++ redistributable of the prerequisites page, into
    // `into`; a page whose own manager is `into` is left out. The count.
    int collectAllInstallationElements(hnInstallManagerBase& into);

    static constexpr UINT kMsgInstallPendingInstaller = 0x407;
    static constexpr UINT kMsgReactivateCurrentPage = 0x408;
    static constexpr WPARAM kReactivateParameter = 101;
    static constexpr DWORD kWorkerWaitMs = 5000;

    kdDSheetPages& pages() const { return *pages_; }
    // Pages made welcome page first (see kdDSheetPages::buildNext): until the
    // steps after the first paint are done, only the welcome page is listed,
    // the Python settings are not applied and the first page has shown
    // without its set-up work. finishBuilding() does what is left at once;
    // whatever needs the other pages calls it first.
    bool building() const { return building_; }
    void finishBuilding();
    // The page listed last before the Python-dependent part.
    kdDPropertyPageBase* lastHeadPage() const;
    // The page title "<caption> - <name>".
    static std::string pageTitleOf(const char* pageName);

protected:
    bool onInitSheet() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onSheetDestroy() override;
    bool stepAfterFirstPaint() override;

private:
    void listLaterPages();
    void startUpgradeCheck();
    void initPages();
    void createNavigationButtons();
    bool navigationLabelsFit(HFONT font) const;
    void stopUpgradeCheck();
    static DWORD WINAPI upgradeCheckWorker(LPVOID share);
    bool passesOver(int index) const;
    hnInstallManagerBase* managerOf(int index) const;
    static std::unique_ptr<hnInstallationElement> helpElement(const std::string& uiDlgName,
                                                              std::string* rowTexts);

    std::unique_ptr<kdDSheetPages> pages_;
    kdDSheetHooks hooks_;
    // What the upgrade check's worker uses, shared with it: a worker that
    // does not end in time is left to finish and releases its share itself.
    struct UpgradeCheck;
    std::shared_ptr<UpgradeCheck> upgradeCheck_;
    bool comStarted_ = false;
    bool helpShowing_ = false;
    bool building_ = false;
    bool laterPagesListed_ = false;
    std::size_t picturesDecoded_ = 0;
};
