#pragma once
// What the two "Recommended Orvanto Extensions" pages share: the package sets
// of the server's list in a combo box, the chosen set's components in a list
// view with their status and installed versions (once "Validate Package" is
// checked), installation and removal of the whole set, the activation
// warnings and the interpreter's command prompt.
#include <memory>
#include <string>
#include <vector>

#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueSources.h"
#include "controls/ImageButton.h"
#include "pages/PipListingCheck.h"
#include "wizard/PropertyPageBase.h"

// One component a package set may name.
struct hnPipPackageComponent {
    const char* name;
    const char* fileName; // null: the name followed by ".whl"
    const char* serverFolder;
    const char* switches;
    const char* cacheFolder; // below the application folder
};

// The fixed differences between the Python 2.7 and 3.6 pages.
struct kdDPipPackagesVariant {
    const char* className; // debug lines
    const char* pageName;
    const char* uiDlgName; // the name the sheet navigates by
    CatalogueKind listKind;
    const char* category;
    const char* serverPath; // of the packages; "PaintDotNet" lies elsewhere
    std::vector<hnPipPackageComponent> components;
    // Elements of the page's own manager after the list element.
    std::vector<hnPipPackageComponent> ownComponents;
    bool (*interpreterFolder)(std::string& folder);
    int (*readSelection)(std::string* value);
    int (*storeSelection)(const char* value);
};

class kdDPipPackagesPageBase : public kdDPipListingPage {
public:
    kdDPipPackagesPageBase(UINT templateId, const std::string& title, kdDPipPackagesVariant variant);
    ~kdDPipPackagesPageBase() override;

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    // The list element, then the variant's own components.
    int initInstallationElements() override;

    // 1 when a list file was there and the sets were read from it.
    int refreshCatalogue(bool forceDownload, bool showMessages);
    void fillPackageCombo();
    void updateInstallationManagerPythonPackage();
    void refreshPackageListView();
    // Statuses and version details of the set's components.
    void refreshPackageStatuses();
    void showActivationWarnings();
    int launchPythonPrompt();
    // Install All Components / Uninstall All Components.
    int installAllComponents();
    int uninstallAllComponents();

    // The components of the sets by name; installed only with the status
    // "Installed" (a component's name holds its version).
    std::vector<hnPageItem> items() override;
    // Installs the chosen set when it holds the component, else the first set
    // that does (the chosen set is chosen again afterwards), as Validate
    // Package and Install All Components do. Removal goes by whole sets only:
    // removeItem is refused.
    bool installItem(const std::string& key) override;

    // The selected set's text, "No package available" when none.
    std::string selectedPackage() const;
    bool validateChecked() const;
    // While pip's listing is being read at activation (checking()): the
    // statuses stay empty, the set's rows show "Checking..." and no operation
    // runs.

    std::string hintText;
    std::string runtimeFolder;
    PackageTable packageTable;
    std::unique_ptr<hnInstallManagerBase> packageManager;
    std::unique_ptr<hnInstallManagerBase> componentManager;

protected:
    bool onInitDialog() override;
    bool onSetActive() override;
    bool onKillActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    void answered() override;
    // The list's info tip: why the row under the pointer shows its word.
    bool onNotify(int id, NMHDR* header, LRESULT& result) override;
    // Between the status refresh and the warnings of an activation.
    virtual void afterStatusRefresh() {}
    // What the page shows of its own while the listing is read.
    virtual void showChecking() {}
    // Whether the incomplete-installation warning is due although no element
    // reads a repair word.
    virtual bool incompleteWithoutRepairWord() const { return false; }
    void debugLine(const char* routine, const char* reason) const;

private:
    std::unique_ptr<hnInstallationElement> makeElement(const hnPipPackageComponent& component,
                                                       std::string* name, std::string* status,
                                                       std::string* progress) const;
    void buildComponents();
    void onPackageSelected();
    void enableActions(bool enabled);
    int runOverPackage(bool install);
    // The sets of the list file, without filling the combo box: fetched as
    // refreshCatalogue does, or from the cache as it is without any download.
    int readCatalogue(bool forceDownload, bool showMessages);
    int readCachedCatalogue();
    int readListFile(bool available);
    // The fresh copy of the list that the page's set-up fetches, on the
    // listing's worker.
    kdDPipListingCheck::Prelude listDownload() const;

    kdDPipPackagesVariant variant_;
    CatalogueList list_;
    std::string listName_, listStatus_, listProgress_;
    std::vector<std::string> ownNames_, ownStatus_, ownProgress_;
    std::vector<std::string> componentNames_, componentStatus_, componentProgress_;
    hnImageButton refreshButton_, installAllButton_, uninstallAllButton_, informationButton_;
    hnImageButton promptButton_, downloadButton_;
    // The window is new: its first activation fetches the list afresh.
    bool listDue_ = false;
    bool listFetched_ = false; // by the reading in progress
};
