#include "pages/SelectInstallerComponentsDlg.h"

#include "controls/CheckTree.h"

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "install/InstallManager.h"
#include "pages_ids.h"

static_assert(IDC_INSTALLER_COMPONENT_TREE == 1174, "the tree of dialog 173");

void hnInstallerComponentTree::buildComponentTree(const hnInstallManagerBase& manager) {
    groups.clear();
    for (unsigned i = 0; i < manager.count(); ++i) {
        const hnInstallationElement& element = *manager.item(i);
        InstallerComponentGroup* group = nullptr;
        for (InstallerComponentGroup& candidate : groups)
            if (hnEqualsNoCase(candidate.name, element.category))
                group = &candidate;
        if (!group) {
            if (groups.size() >= kMaxGroups)
                continue;
            groups.push_back(InstallerComponentGroup{element.category, {}, nullptr});
            group = &groups.back();
        }
        if (group->items.size() < kMaxItems)
            group->items.push_back(InstallerComponentItem{static_cast<int>(i), true, element.name, nullptr});
    }
}

const InstallerComponentGroup* hnInstallerComponentTree::findGroup(const std::string& name) const {
    for (const InstallerComponentGroup& group : groups)
        if (hnEqualsNoCase(group.name, name))
            return &group;
    return nullptr;
}

bool hnInstallerComponentTree::isSelected(const std::string& groupName, const std::string& itemName) const {
    const InstallerComponentGroup* group = findGroup(groupName);
    if (group)
        for (const InstallerComponentItem& item : group->items)
            if (item.selected && item.name == itemName)
                return true;
    return false;
}

std::vector<int> hnInstallerComponentTree::selectedIndices(unsigned limit) const {
    std::vector<int> indices;
    for (const InstallerComponentGroup& group : groups)
        for (const InstallerComponentItem& item : group.items)
            if (item.selected && indices.size() < limit)
                indices.push_back(item.elementIndex);
    return indices;
}

// ---------------------------------------------------------------- dialog 173

DSelectInstallerComponents::DSelectInstallerComponents(hnInstallerComponentTree& tree)
    : hnDialog(IDD_SELECT_INSTALLER_COMPONENTS), tree_(tree) {}

bool DSelectInstallerComponents::onInitDialog() {
    HWND tree = treeWindow();
    // Switching the check boxes on here makes the control set up their
    // images now; set up later (at the first paint) they would clear the
    // marks given below.
    LONG style = ::GetWindowLongA(tree, GWL_STYLE);
    ::SetWindowLongA(tree, GWL_STYLE, style & ~TVS_CHECKBOXES);
    ::SetWindowLongA(tree, GWL_STYLE, style | TVS_CHECKBOXES);
    TreeView_DeleteAllItems(tree);
    HTREEITEM root = hnCheckTreeAdd(tree, TVI_ROOT, "All");
    for (InstallerComponentGroup& group : tree_.groups) {
        group.entry = nullptr;
        if (group.items.empty())
            continue;
        group.entry = hnCheckTreeAdd(tree, root, group.name);
        for (InstallerComponentItem& item : group.items)
            item.entry = hnCheckTreeAdd(tree, group.entry, item.name);
    }
    for (InstallerComponentGroup& group : tree_.groups) {
        if (!group.entry)
            continue;
        for (InstallerComponentItem& item : group.items)
            hnCheckTreeSetChecked(tree, item.entry, item.selected);
        TreeView_Expand(tree, group.entry, TVE_EXPAND);
    }
    TreeView_Expand(tree, root, TVE_EXPAND);
    hnCheckTreeSettleParents(tree, root);
    return true;
}

bool DSelectInstallerComponents::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (id == IDC_TREE && header) {
        // The control toggles the mark after this notification: act later.
        if (HTREEITEM entry = hnCheckTreeToggledEntry(treeWindow(), header))
            ::PostMessageA(hwnd(), kMsgCheckChanged, 0, reinterpret_cast<LPARAM>(entry));
        result = 0;
        return false;
    }
    return hnDialog::onNotify(id, header, result);
}

bool DSelectInstallerComponents::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kMsgCheckChanged) {
        applyCheckChange(reinterpret_cast<HTREEITEM>(lParam));
        result = 0;
        return true;
    }
    return hnDialog::onMessage(message, wParam, lParam, result);
}

void DSelectInstallerComponents::applyCheckChange(HTREEITEM entry) {
    HWND tree = treeWindow();
    hnCheckTreePropagate(tree, entry, TreeView_GetRoot(tree));
}

void DSelectInstallerComponents::onOK() {
    HWND tree = treeWindow();
    int count = 0;
    for (const InstallerComponentGroup& group : tree_.groups)
        for (const InstallerComponentItem& item : group.items)
            if (item.entry ? hnCheckTreeIsChecked(tree, item.entry) : item.selected)
                ++count;
    if (count == 0) { // the choice so far stays as it was
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Please select at least one component to download.", kInstallerCaption, MB_OK);
        return;
    }
    for (InstallerComponentGroup& group : tree_.groups)
        for (InstallerComponentItem& item : group.items)
            if (item.entry)
                item.selected = hnCheckTreeIsChecked(tree, item.entry);
    endDialog(IDOK);
}
