#pragma once
// Every message box and every question of the program goes through one
// prompter. Production shows real windows; tests script the answers and keep
// a record of what was asked.
#include <functional>
#include <windows.h>

class hnPrompter {
public:
    virtual ~hnPrompter() = default;

    // Same contract as MessageBoxA: returns IDOK, IDYES, IDNO, ...
    virtual int messageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;

    // A question asked through a dialog of our own (dialogId names it). `show`
    // runs the real dialog and returns its result.
    virtual INT_PTR question(int dialogId, HWND owner, const char* text, const std::function<INT_PTR(HWND)>& show) {
        (void)dialogId;
        (void)text;
        return show(owner);
    }
};

class hnWindowPrompter final : public hnPrompter {
public:
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) override {
        return ::MessageBoxA(owner, text, caption, type);
    }
};
