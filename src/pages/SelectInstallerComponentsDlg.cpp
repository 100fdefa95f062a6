#include "pages/SelectInstallerComponentsDlg.h"

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "install/InstallManager.h"
#include "pages_ids.h"

static_assert(IDC_INSTALLER_COMPONENT_TREE == 1174, "the tree of dialog 173");

void hnInstallerComponentTree::build(const hnInstallManagerBase& manager) {
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

namespace {

HTREEITEM insertEntry(HWND tree, HTREEITEM parent, const std::string& text) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool isChecked(HWND tree, HTREEITEM entry) {
    return TreeView_GetCheckState(tree, entry) == 1;
}

void setChecked(HWND tree, HTREEITEM entry, bool checked) {
    TreeView_SetCheckState(tree, entry, checked ? TRUE : FALSE);
}

} // namespace

bool DSelectInstallerComponents::onInitDialog() {
    HWND tree = treeWindow();
    // Switching the check boxes on here makes the control set up their
    // images now; set up later (at the first paint) they would clear the
    // marks given below.
    LONG style = ::GetWindowLongA(tree, GWL_STYLE);
    ::SetWindowLongA(tree, GWL_STYLE, style & ~TVS_CHECKBOXES);
    ::SetWindowLongA(tree, GWL_STYLE, style | TVS_CHECKBOXES);
    TreeView_DeleteAllItems(tree);
    HTREEITEM root = insertEntry(tree, TVI_ROOT, "All");
    for (InstallerComponentGroup& group : tree_.groups) {
        group.entry = nullptr;
        if (group.items.empty())
            continue;
        group.entry = insertEntry(tree, root, group.name);
        for (InstallerComponentItem& item : group.items)
            item.entry = insertEntry(tree, group.entry, item.name);
    }
    for (InstallerComponentGroup& group : tree_.groups) {
        if (!group.entry)
            continue;
        for (InstallerComponentItem& item : group.items)
            setChecked(tree, item.entry, item.selected);
        TreeView_Expand(tree, group.entry, TVE_EXPAND);
    }
    TreeView_Expand(tree, root, TVE_EXPAND);
    updateParents(root);
    return true;
}

bool DSelectInstallerComponents::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (id == IDC_TREE && header) {
        HWND tree = treeWindow();
        HTREEITEM entry = nullptr;
        if (header->code == NM_CLICK) {
            TVHITTESTINFO hit = {};
            DWORD position = ::GetMessagePos();
            hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
            ::ScreenToClient(tree, &hit.pt);
            entry = TreeView_HitTest(tree, &hit);
            if (!(hit.flags & TVHT_ONITEMSTATEICON))
                entry = nullptr;
        } else if (header->code == TVN_KEYDOWN && reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey == VK_SPACE) {
            entry = TreeView_GetSelection(tree);
        }
        // The control toggles the mark after this notification: act later.
        if (entry)
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

void DSelectInstallerComponents::setSubtree(HTREEITEM entry, bool checked) {
    HWND tree = treeWindow();
    for (HTREEITEM child = TreeView_GetChild(tree, entry); child;
         child = TreeView_GetNextSibling(tree, child)) {
        setChecked(tree, child, checked);
        setSubtree(child, checked);
    }
}

// Recomputes the parents below `entry` (and `entry` itself): checked exactly
// when every child is. Returns `entry`'s state.
bool DSelectInstallerComponents::updateParents(HTREEITEM entry) {
    HWND tree = treeWindow();
    HTREEITEM child = TreeView_GetChild(tree, entry);
    if (!child)
        return isChecked(tree, entry);
    bool all = true;
    for (; child; child = TreeView_GetNextSibling(tree, child))
        all = updateParents(child) && all;
    setChecked(tree, entry, all);
    return all;
}

void DSelectInstallerComponents::applyCheckChange(HTREEITEM entry) {
    HWND tree = treeWindow();
    if (!entry)
        return;
    setSubtree(entry, isChecked(tree, entry));
    if (HTREEITEM root = TreeView_GetRoot(tree))
        updateParents(root);
}

void DSelectInstallerComponents::onOK() {
    HWND tree = treeWindow();
    int count = 0;
    for (const InstallerComponentGroup& group : tree_.groups)
        for (const InstallerComponentItem& item : group.items)
            if (item.entry ? isChecked(tree, item.entry) : item.selected)
                ++count;
    if (count == 0) { // the choice so far stays as it was
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Please select at least one component to download.", kInstallerCaption, MB_OK);
        return;
    }
    for (InstallerComponentGroup& group : tree_.groups)
        for (InstallerComponentItem& item : group.items)
            if (item.entry)
                item.selected = isChecked(tree, item.entry);
    endDialog(IDOK);
}
