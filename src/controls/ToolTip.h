#pragma once
// The tooltip of a page or tab dialog: always shown, 50 ms until it appears
// and between tools, at most 400 pixels wide, in the owner's font. Mouse
// messages reach it by relaying (TTM_RELAYEVENT) from the owner's message
// pre-translation.
#include <string>
#include <windows.h>

// Null when the window could not be created.
HWND hnCreateToolTip(HWND owner, HFONT font);
// Adds (or replaces) the tool of `control`, which belongs to `owner`.
void hnAddToolTip(HWND toolTip, HWND owner, HWND control, const char* text);
// Removes the tool of `control` (before the control is destroyed, so that
// rebuilt rows do not pile up tools of windows that are gone).
void hnRemoveToolTip(HWND toolTip, HWND owner, HWND control);
// `text` as a tooltip shows it: a sentence, its first letter in upper case
// (reasons are written to follow other text in the session log).
std::string hnTipSentence(std::string text);
// Shows `text` as the tool of `control` (updated in place when the tool is
// there; as a sentence), or removes the tool when `text` is empty. A static control is made
// to notify, so that the pointer over it reaches the tooltip.
void hnSetToolTipText(HWND toolTip, HWND owner, HWND control, const std::string& text);
