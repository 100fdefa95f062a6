#pragma once
// What the two "Optional Orvanto Extensions" pages share: one row per pip
// package with the version the row wants, an Install button that replaces
// another installed version and an Uninstall button shown only while pip
// knows the package, and the button that opens the interpreter's scripts.
#include <memory>
#include <string>
#include <vector>

#include "controls/ImageButton.h"
#include "pages/PipListingCheck.h"
#include "wizard/PropertyPageBase.h"

// One package: its element is "<prefix><package>"; the file lies in
// "<server path><serverFolder>/".
struct hnPipExtension {
    const char* package;
    const char* fileName;
    const char* serverFolder;
    const char* version; // the version the row wants
    const char* switches;
};

// The fixed differences between the Python 2.7 and 3.6 pages.
struct kdDPipExtensionsVariant {
    const char* className; // debug lines
    const char* pageName;
    const char* uiDlgName;     // the name the sheet navigates by
    const char* elementPrefix; // "Python 27 extension - "
    const char* category;
    const char* cacheFolder;
    const char* serverPath;
    int exploreButton;
    std::vector<hnPipExtension> extensions; // element order
    std::vector<int> rowOrder;              // element of each row slot, top to bottom
    // The interpreter's folder (with its separator) and pip's answer for a package.
    bool (*interpreterFolder)(std::string& folder);
    bool (*installedVersion)(std::string* version, const char* package, bool* found);
    int python = 27; // the interpreter the wheels must fit: 27 or 36
};

class kdDPipExtensionsPageBase : public kdDPipListingPage {
public:
    kdDPipExtensionsPageBase(UINT templateId, const std::string& title, kdDPipExtensionsVariant variant);
    ~kdDPipExtensionsPageBase() override;

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    // The rows' buttons follow pip's answers, not the status words.
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override;

    // Asks pip about every row behind a please-wait dialog.
    void updateAllRows();
    // While pip's listing is being read at activation (checking()): each row
    // shows "Checking...", its buttons refuse, the elements' status stays empty.
    // One row (its slot, top to bottom) from pip's answer.
    void updateStateForSingleElement(int slot);
    int explorePythonScripts();
    // Replaces whatever version is installed with the row's; the installed
    // version stays when the new one cannot be fetched.
    void onInstallRow(int slot);
    void onUninstallRow(int slot);

    // The rows' packages by element name, with pip's version and the row's.
    std::vector<hnPageItem> items() override;
    // Through the row's own Install (Uninstall) button.
    bool installItem(const std::string& key) override;
    bool removeItem(const std::string& key) override;

    struct RowState {
        std::string nameLabel, versionLabel;
        bool installEnabled = true;
        bool uninstallShown = false;
    };
    const RowState& rowState(int slot) const { return rowStates_[static_cast<std::size_t>(slot)]; }
    const kdDPipExtensionsVariant& variant() const { return variant_; }

    std::string statusText; // the hint line

protected:
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    void answered() override;

private:
    void debugLine(const char* routine, const char* reason) const;
    // The button of the row showing element `key`; 0 when no row does.
    int rowButtonOf(const std::string& key, bool install) const;
    void showRow(int slot);
    void fillRows();
    void showChecking();

    kdDPipExtensionsVariant variant_;
    std::vector<RowState> rowStates_;
    // The elements' own strings: the rows show pip's answers instead.
    std::vector<std::string> elementNames_, elementStatus_, elementProgress_;
    std::vector<std::unique_ptr<hnImageButton>> installButtons_, uninstallButtons_;
    hnImageButton downloadButton_, exploreButton_;
};
