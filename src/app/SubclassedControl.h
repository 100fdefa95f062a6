#pragma once
// Base of the program's own controls: a window of a system class (button,
// static) whose messages pass through a virtual procedure first. The control
// either creates its window or takes over one that a dialog template made.
#include <string>
#include <windows.h>

// Offset of the messages that a dialog reflects back to the child control
// that caused them (owner drawing, colour requests): kReflectBase + WM_...
constexpr UINT kReflectBase = 0x2000;

class hnSubclassedControl {
public:
    hnSubclassedControl() = default;
    virtual ~hnSubclassedControl();
    hnSubclassedControl(const hnSubclassedControl&) = delete;
    hnSubclassedControl& operator=(const hnSubclassedControl&) = delete;

    // Takes over an existing control; false when it is missing or taken.
    bool subclass(HWND control);
    bool subclassItem(HWND dialog, int id) { return subclass(::GetDlgItem(dialog, id)); }
    // Creates the window as a child of `parent` and takes it over.
    bool createWindow(const char* className, const char* text, DWORD style, const RECT& rect, HWND parent,
                      int id);
    void destroyWindow();

    HWND hwnd() const { return hwnd_; }

    // Invalidates the control and the part of its parent under it, so that a
    // transparent control is painted on a fresh background.
    void invalidateWithParent();

protected:
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
        return defaultProc(message, wParam, lParam);
    }
    virtual void onAttached() {}
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void detach();

    HWND hwnd_ = nullptr;
};

// A dialog's answer to a reflectable message: sends it to the child that
// caused it. True when the child handled it, with its answer in `result`.
bool hnReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
