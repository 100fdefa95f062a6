#include "controls/CheckTree.h"

HTREEITEM hnCheckTreeAdd(HWND tree, HTREEITEM parent, const std::string& text) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool hnCheckTreeIsChecked(HWND tree, HTREEITEM entry) {
    return TreeView_GetCheckState(tree, entry) == 1;
}

void hnCheckTreeSetChecked(HWND tree, HTREEITEM entry, bool checked) {
    TreeView_SetCheckState(tree, entry, checked ? TRUE : FALSE);
}

namespace {
void checkDescendants(HWND tree, HTREEITEM entry, bool checked) {
    for (HTREEITEM child = TreeView_GetChild(tree, entry); child; child = TreeView_GetNextSibling(tree, child)) {
        hnCheckTreeSetChecked(tree, child, checked);
        checkDescendants(tree, child, checked);
    }
}
} // namespace

void hnCheckTreePropagate(HWND tree, HTREEITEM entry, HTREEITEM root) {
    if (!entry)
        return;
    checkDescendants(tree, entry, hnCheckTreeIsChecked(tree, entry));
    if (root)
        hnCheckTreeSettleParents(tree, root);
}

bool hnCheckTreeSettleParents(HWND tree, HTREEITEM entry) {
    HTREEITEM child = TreeView_GetChild(tree, entry);
    if (!child)
        return hnCheckTreeIsChecked(tree, entry);
    bool all = true;
    for (; child; child = TreeView_GetNextSibling(tree, child))
        all = hnCheckTreeSettleParents(tree, child) && all;
    hnCheckTreeSetChecked(tree, entry, all);
    return all;
}

HTREEITEM hnCheckTreeToggledEntry(HWND tree, const NMHDR* header) {
    if (!header)
        return nullptr;
    if (header->code == NM_CLICK) {
        TVHITTESTINFO hit = {};
        DWORD position = ::GetMessagePos();
        hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ::ScreenToClient(tree, &hit.pt);
        HTREEITEM entry = TreeView_HitTest(tree, &hit);
        return entry && (hit.flags & TVHT_ONITEMSTATEICON) ? entry : nullptr;
    }
    if (header->code == TVN_KEYDOWN && reinterpret_cast<const NMTVKEYDOWN*>(header)->wVKey == VK_SPACE)
        return TreeView_GetSelection(tree);
    return nullptr;
}
