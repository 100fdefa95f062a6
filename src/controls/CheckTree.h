#pragma once
// A tree view with check boxes where a parent is checked exactly when all its
// children are, and checking an entry checks everything below it.
#include <string>
#include <windows.h>

#include <commctrl.h>

HTREEITEM hnCheckTreeAdd(HWND tree, HTREEITEM parent, const std::string& text);
bool hnCheckTreeIsChecked(HWND tree, HTREEITEM entry);
void hnCheckTreeSetChecked(HWND tree, HTREEITEM entry, bool checked);
// Gives the entries below `entry` its own mark, then settles every parent
// below `root`.
void hnCheckTreePropagate(HWND tree, HTREEITEM entry, HTREEITEM root);
// Recomputes the parents below `entry` and `entry` itself; returns its mark.
bool hnCheckTreeSettleParents(HWND tree, HTREEITEM entry);
// The entry whose mark the notification is about to toggle (a click on its
// check box or the space bar), or null. The control toggles the mark only
// after the notification, so callers post themselves a message and
// propagate then.
HTREEITEM hnCheckTreeToggledEntry(HWND tree, const NMHDR* header);
