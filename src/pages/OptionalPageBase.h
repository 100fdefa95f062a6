#pragma once
// What the pages of optional components share: elements built from tables
// (own and other bitness chosen by the system's answers), rows with their
// own Install and Remove buttons, the page's Download button and the version
// selectors, combo boxes over a family of products of which only one may be
// installed on a computer.
#include <memory>
#include <string>
#include <vector>

#include "controls/ImageButton.h"
#include "controls/ImageStatic.h"
#include "wizard/PropertyPageBase.h"

// What the pages ask of the system: the 64-bit flag and the short name
// ("Windows 7"). Pages take them at construction, so that tests can give
// either answer.
struct hnSystemFacts {
    bool is64Bit = false;
    std::string shortName;
};
// queryOSVersion; is64BitWindows for the flag when it cannot name the system.
hnSystemFacts querySystemFacts();

// The warning an activation shows for a repair word; null for other words.
const char* repairWarningFor(const std::string& status);

// A component with a 64-bit and a 32-bit variant (name32 null: one variant).
struct hnBitnessVariant {
    const char* name64;
    const char* name32;
    const char* file64;
    const char* file32;
};

// One element of a page, resolved for the system.
struct hnOptionalComponent {
    std::string name;
    std::string fileName;
    std::string switches;
    std::string serverPath; // below the repository server, ending with "/"
    bool isMsiPackage = false;
    const char* cacheFolder = nullptr;
    const char* category = nullptr;
    bool refreshBeforeCopy = false;
};

// A variant of `variant`: the own one (`own`) or the other one.
hnOptionalComponent variantComponent(const hnBitnessVariant& variant, bool is64Bit, bool own,
                                     const char* switches, const char* serverPath, bool isMsiPackage,
                                     const char* cacheFolder, const char* category);

// A row of a page: its element and its controls (0: none).
struct hnOptionalRow {
    int element;
    int name, status, progress;
    int install, remove;
    int advice = 0; // advice picture
    const char* adviceText = nullptr;
    bool driverRow = false; // Install only, always enabled
};

// A version selector's table.
struct hnSelectorDefinition {
    const char* className; // debug lines: "<class>::<operation> - <text>\n"
    const char* processOperation;
    const char* installOperation;
    int combo;
    int statusLabel;
    std::vector<int> entries;    // elements in list order; "None" follows
    std::vector<int> foundOrder; // elements asked in turn; the first installed is shown
    // Elements that stand for an entry's element (the other bitness of a product).
    std::vector<std::pair<int, int>> aliases;
    const char* question; // formatted with the new entry twice
    std::string setName;  // the selector's name in a component set
};

class kdDOptionalPageBase;

// One combo box of mutually exclusive products plus "None", showing the
// member found installed.
class hnVersionSelector {
public:
    hnVersionSelector(kdDOptionalPageBase& page, hnSelectorDefinition definition);

    void fill();
    // Selects the member found installed and shows its status.
    int refreshVersionSelector();
    // The text of the first member of foundOrder detected installed, "None"
    // without one; asks the machine, needs no window.
    std::string installedMember() const;
    // The combo's selection changed: 1 when the selector must be refreshed,
    // -1 when nothing was to be done.
    int processNewSelection();
    int installNewSelection();

    // The element an entry text names, or -1 ("None", unknown texts).
    int elementOf(const std::string& text) const;
    const hnSelectorDefinition& definition() const { return definition_; }

    std::string currentSelection = "None";
    std::string selectorStatus;

private:
    bool selectedText(std::string& text) const;
    void debugLine(const char* operation, const char* text) const;
    // The switch to another member once the user agreed: the new member is
    // fetched first, the old one removed and found gone, then the new one
    // installed. 1 installed, -1 stopped (the old member stays, or the row
    // of a removal that failed shows it).
    int switchMembers(int oldElement, int newElement);

    kdDOptionalPageBase& page_;
    hnSelectorDefinition definition_;
};

class kdDOptionalPageBase : public kdDPropertyPageBase {
public:
    struct Layout {
        const char* removeTooltip;   // "Remove" or "Uninstall"
        const char* downloadTooltip; // tooltip of the page's Download button
        bool componentRows;          // rows placed by layoutComponentRow, else buttons moved to the columns
    };

    kdDOptionalPageBase(UINT templateId, const std::string& title, const std::string& pageName,
                        const char* hint, std::vector<hnOptionalComponent> elements,
                        std::vector<hnOptionalRow> rows, const Layout& layout);
    ~kdDOptionalPageBase() override;

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override;
    int setupControls() override;
    int initInstallationElements() override;

    // Status string of an element ("" for an index without one).
    const std::string& statusOf(int element) const;
    // Re-detects one element now.
    bool isElementInstalled(int element) const;
    // Shows the first repair word of the page's elements (skipping `skipName`)
    // in one message box.
    void showRepairWarning(const char* skipName = nullptr);
    // Whether a row is shown on this system (all rows unless overridden).
    virtual bool rowShown(const hnOptionalRow&) const { return true; }

    // Installs the member `element` of a selector; above 0 on success. One
    // element unless a page installs a member with more.
    virtual int installSelectorMember(int element);

    void onInstallRow(int element);
    void onUninstallRow(int element);

    int installControlOf(int element) const override;
    int removeControlOf(int element) const override;
    // The version selectors, by their set names.
    std::vector<hnPageChoice> choices() override;
    bool choose(const std::string& key, const std::string& member) override;
    void onDownloadInstallables();

    hnVersionSelector& addSelector(hnSelectorDefinition definition);
    hnVersionSelector* selector(std::size_t index) {
        return index < selectors.size() ? selectors[index].get() : nullptr;
    }

    const std::vector<hnOptionalComponent> componentTable;
    const std::vector<hnOptionalRow> rows;
    std::vector<std::string> rowNames, rowStatus, rowProgress; // by element, sized once
    std::string statusText;                                    // the hint line
    hnImageButton downloadButton;

protected:
    bool onInitDialog() override;
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    // The page's own refreshes after the base activation.
    virtual void afterActivation();
    // After a row button's operation.
    virtual void afterRowCommand(int) {}

private:
    Layout layout_;
    std::vector<std::unique_ptr<hnImageButton>> installButtons_, removeButtons_;
    std::vector<std::unique_ptr<hnImageStatic>> advices_;
    std::vector<std::unique_ptr<hnVersionSelector>> selectors;
};
