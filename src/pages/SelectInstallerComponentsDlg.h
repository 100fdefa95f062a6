#pragma once
// The components of an installer copy: the wizard's elements grouped by
// category, each with a selected flag, and the dialog with the check-box
// tree in which the user picks them.
#include <string>
#include <vector>
#include <windows.h>

#include <commctrl.h>

#include "app/Dialog.h"

class hnInstallManagerBase;

struct InstallerComponentItem {
    int elementIndex = -1; // in the manager the tree was built from
    bool selected = true;
    std::string name;
    HTREEITEM entry = nullptr;
};

struct InstallerComponentGroup {
    std::string name; // an element category
    std::vector<InstallerComponentItem> items;
    HTREEITEM entry = nullptr;
};

class hnInstallerComponentTree {
public:
    static constexpr std::size_t kMaxGroups = 64;
    static constexpr std::size_t kMaxItems = 64; // per group

    // One group per category (first appearance, names without regard to
    // case), one selected item per element; more than the limits are dropped.
    void buildComponentTree(const hnInstallManagerBase& manager);
    void clear() { groups.clear(); }
    // The group of that name (without regard to case), or null.
    const InstallerComponentGroup* findGroup(const std::string& name) const;
    // Whether the group holds a selected item of that name.
    bool isSelected(const std::string& group, const std::string& item) const;
    // Indices of the selected items, group by group, at most `limit` of them.
    std::vector<int> selectedIndices(unsigned limit) const;

    std::vector<InstallerComponentGroup> groups;
};

// Dialog 173: "All", the groups and their items with check marks. "Select"
// stores the marks into the items' selected flags; it needs at least one.
class DSelectInstallerComponents : public hnDialog {
public:
    explicit DSelectInstallerComponents(hnInstallerComponentTree& tree);

    // Gives `entry`'s check state to its descendants, then checks each parent
    // exactly when all its children are checked.
    void applyCheckChange(HTREEITEM entry);
    HWND treeWindow() const { return item(IDC_TREE); }

    static constexpr UINT kMsgCheckChanged = 0x470; // lParam: the entry

protected:
    bool onInitDialog() override;
    bool onNotify(int id, NMHDR* header, LRESULT& result) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onOK() override;

private:
    static constexpr int IDC_TREE = 1174;

    hnInstallerComponentTree& tree_;
};
