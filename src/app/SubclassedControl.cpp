#include "app/SubclassedControl.h"

#include <commctrl.h>

namespace {
const UINT_PTR kSubclassId = 0x686E; // one subclass of ours per window
}

hnSubclassedControl::~hnSubclassedControl() {
    detach();
}

bool hnSubclassedControl::subclass(HWND control) {
    if (!control || hwnd_)
        return false;
    if (!::SetWindowSubclass(control, subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = control;
    onAttached();
    return true;
}

bool hnSubclassedControl::createWindow(const char* className, const char* text, DWORD style, const RECT& rect,
                                       HWND parent, int id) {
    HWND control =
        ::CreateWindowExA(0, className, text, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          ::GetModuleHandleA(nullptr), nullptr);
    if (!control)
        return false;
    if (!subclass(control)) {
        ::DestroyWindow(control);
        return false;
    }
    return true;
}

void hnSubclassedControl::destroyWindow() {
    if (HWND control = hwnd_) {
        detach();
        ::DestroyWindow(control);
    }
}

void hnSubclassedControl::detach() {
    if (hwnd_) {
        ::RemoveWindowSubclass(hwnd_, subclassProc, kSubclassId);
        hwnd_ = nullptr;
    }
}

void hnSubclassedControl::invalidateWithParent() {
    if (!hwnd_)
        return;
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    if (HWND parent = ::GetParent(hwnd_)) {
        RECT rect;
        ::GetWindowRect(hwnd_, &rect);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        ::InvalidateRect(parent, &rect, TRUE);
    }
}

LRESULT hnSubclassedControl::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK hnSubclassedControl::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR, DWORD_PTR selfData) {
    auto* self = reinterpret_cast<hnSubclassedControl*>(selfData);
    if (message == WM_NCDESTROY) {
        self->detach();
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
    try {
        return self->windowProc(message, wParam, lParam);
    } catch (...) {
        // A paint or mouse handler must not take the message loop down.
        return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

bool hnReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (message) {
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    if (!child)
        return false;
    result = ::SendMessageA(child, kReflectBase + message, wParam, lParam);
    return result != 0;
}
