#pragma once
// Every message box and every question of the program goes through one
// prompter. Production shows real windows; the unattended mode answers from
// its table; tests script the answers and keep a record of what was asked.
#include <functional>
#include <windows.h>

// One message box or question, as a prompter receives it.
struct hnPrompt {
    HWND owner = nullptr;
    const char* text = nullptr;
    // A message box: its caption and MessageBoxA type.
    const char* caption = nullptr;
    UINT type = 0;
    // A question asked through a dialog of our own: the dialog's id, and
    // `show`, which runs the real dialog and returns its result.
    int dialogId = 0;
    const std::function<INT_PTR(HWND)>* show = nullptr;

    bool isQuestion() const { return show != nullptr; }
};

// The one prompter interface: every implementation answers `respond`; the
// program asks through messageBox and question.
class hnPrompter {
public:
    virtual ~hnPrompter() = default;

    // A message box's button (IDOK, IDYES, IDNO, ...) or a question's result.
    virtual INT_PTR respond(const hnPrompt& prompt) = 0;

    // Same contract as MessageBoxA.
    int messageBox(HWND owner, const char* text, const char* caption, UINT type) {
        hnPrompt prompt;
        prompt.owner = owner;
        prompt.text = text;
        prompt.caption = caption;
        prompt.type = type;
        return static_cast<int>(respond(prompt));
    }

    INT_PTR question(int dialogId, HWND owner, const char* text, const std::function<INT_PTR(HWND)>& show) {
        hnPrompt prompt;
        prompt.owner = owner;
        prompt.text = text;
        prompt.dialogId = dialogId;
        prompt.show = &show;
        return respond(prompt);
    }
};

// The button that declines a box of `type`: No, Cancel or Abort where the
// box has one, else OK.
inline int hnRefusingAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
        return IDNO;
    case MB_YESNOCANCEL:
    case MB_OKCANCEL:
    case MB_RETRYCANCEL:
    case MB_CANCELTRYCONTINUE:
        return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

// The wizard's prompter: real message boxes and the questions' own dialogs.
class hnWindowPrompter final : public hnPrompter {
public:
    INT_PTR respond(const hnPrompt& prompt) override {
        if (prompt.isQuestion())
            return (*prompt.show)(prompt.owner);
        return ::MessageBoxA(prompt.owner, prompt.text, prompt.caption, prompt.type);
    }
};
