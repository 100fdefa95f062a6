#pragma once
// What the demo-profile and template pages share: the server's list as
// tabs of rows, the list element, the refresh flow with its remembered tab,
// the content elements for a download of everything, and the rule that
// nothing rebuilds the tabs while an operation of the page or of a row runs.
#include <memory>
#include <string>
#include <vector>

#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueSources.h"
#include "catalogue/CatalogueTabCtrl.h"
#include "catalogue/FreshList.h"
#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Which tab dialog a catalogue page shows.
enum class CatalogueTabs { Profiles, Templates, Tutorials, Resources };

// The fixed differences between the catalogue pages.
struct kdDCataloguePageVariant {
    CatalogueKind kind;
    bool templates; // template rows and the install-all button; else profile rows
    const char* installHint;
    const char* runHint;
    const char* refreshTooltip;
    const char* usingDefaultMessage;
    CatalogueTabs tabs;
    // A standard INI list: the tabs are named after its sections.
    bool iniList;
    // The "using default list" message also when the user did not ask.
    bool alwaysTellsDefault;
};

// The demo-profile and template variants, for the Python 2.7 or 3.6 list.
kdDCataloguePageVariant demoProfilesVariant(CatalogueKind kind);
kdDCataloguePageVariant templatesVariant(CatalogueKind kind);
kdDCataloguePageVariant tutorialsVariant();
kdDCataloguePageVariant resourcesVariant();

class kdDCataloguePageBase : public kdDPropertyPageBase {
public:
    kdDCataloguePageBase(UINT templateId, const std::string& title, const std::string& headerText,
                         const kdDCataloguePageVariant& variant);
    ~kdDCataloguePageBase() override;

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int updateButtons() override { return -1; }
    int setupControls() override;
    // The list element, as the manager's only element (also without a window).
    int initInstallationElements() override;

    // 1 when a list file was available and the page was rebuilt from it, -1
    // otherwise (also when it had to wait for a running operation). A
    // download here ends a fetch of the fresh list still on its way.
    int refreshCatalogue(bool forceDownload, bool showMessages);
    // One element per list entry with a download address; works without a
    // window. -1 without manager or list file.
    virtual int buildContentElements(hnInstallManagerBase* manager);
    // The catalogue's own elements, with each one's folder name.
    int buildNamedContentElements(hnInstallManagerBase* manager, std::vector<std::string>* folderNames);
    // Downloads every template of the list and extracts it.
    int installAllTemplates();

    // The list's demo profiles, templates or tutorials ("Demo Profile: ",
    // "Template: ", "Tutorial: " and the row's name), each name once.
    std::vector<hnPageItem> items() override;
    // Through the row's own Install (Uninstall) button, on its tab.
    bool installItem(const std::string& key) override;
    bool removeItem(const std::string& key) override;

    bool preTranslateMessage(MSG* msg) override;

    hnCatalogueTabCtrl& tabCtrl() const { return *tabCtrl_; }
    // True while the page or one of its rows works: activations wait.
    bool operationRunning() const;
    // While the fresh list, fetched once per window at its first activation,
    // is on its way: the cached list shows, and Refresh, Install All, the
    // rows' buttons and installItem are refused until it answers.
    bool fetchingList() const { return freshList_.fetching(); }
    const hnFreshList& freshList() const { return freshList_; }

    std::string statusText; // the hint line
    std::string installHintText;
    std::string runHintText;
    std::string listNameText, listStatusText, listProgressText; // shown nowhere
    std::string contentNameText, contentStatusText, contentProgressText;
    CatalogueList list;
    hnImageButton refreshButton;
    hnImageButton installAllButton;

    // Posted to the page when an activation had to wait for an operation.
    static constexpr UINT kMsgDeferredActivation = WM_APP + 12;

protected:
    // Runs after a list file was fetched and before the tabs are rebuilt.
    virtual void prepareContent(const std::string& listPath) { (void)listPath; }
    // Rebuilds the tabs from the cached list keeping the selected one, or at
    // the next activation while an operation runs.
    void showListWhenFree();

    bool onInitDialog() override;
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    bool onNotify(int id, NMHDR* header, LRESULT& result) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onKillActive() override;
    bool onQueryCancel() override;
    void onDestroy() override;

private:
    class OperationScope;
    // An item of the list with the tab and row name that show it.
    struct ListedItem {
        hnPageItem item;
        std::string tab;
        std::string name;
    };
    std::vector<ListedItem> listedItems();
    bool pressItemRow(const std::string& key, bool install);
    void runDeferredActivation();
    // What an activation shows: the answer of the fresh list when one waits,
    // else the cached list, fetching the fresh one when it is due.
    void showActivation();
    // The fresh list has answered: in place of the cached one when it
    // arrived, then the tabs rebuilt keeping the selected one; waits while an
    // operation runs.
    void applyFreshList();
    // Rebuilds the tabs from the list file when `available`, else shows none.
    int showList(bool available);

    kdDCataloguePageVariant variant_;
    int tabControlId_;
    int refreshButtonId_;
    std::unique_ptr<hnCatalogueTabCtrl> tabCtrl_;
    int operationDepth_ = 0;
    bool activationPending_ = false;
    hnFreshList freshList_{"kdDCataloguePageBase"};
    // The fresh list answered while an operation ran.
    bool answerPending_ = false;
};
