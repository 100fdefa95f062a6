#pragma once
// The release notes and the help documents: rich-text files fetched from the
// repository server into the download cache and shown read-only; the cached
// copy stands in when the server cannot be reached. The help window is
// resizable and remembers its place in "settings.ini".
#include <string>
#include <windows.h>

#include "app/Dialog.h"
#include "download/InstallationElement.h"

// Makes the rich-edit 2.0 window class available (before a template that
// holds one is created).
void ensureRichEditLoaded();

// Fetches `element` (component 1 of 1, download-only, refresh and messages as
// given) and shows the local copy in `richEdit`. `usingCopyMessage` when the
// download did not end with OK but a copy is there and messages are on;
// `errorText` stands in the control when there is no copy; a copy too large
// or unreadable is told about in the control and kept. True when shown.
bool loadRichTextDocument(hnInstallationElement& element, HWND richEdit, bool refresh, bool showMessages,
                          const char* usingCopyMessage, const char* errorText, HWND owner);
// The local copy of `element` in `richEdit`, without any download; without a
// copy `errorText` stands in the control (when given). True when shown.
bool showRichTextDocument(const hnInstallationElement& element, HWND richEdit, const char* errorText);

// The help window of one page's document.
class DHelp2 : public hnDialog {
public:
    DHelp2(const std::string& title, const hnInstallationElement& element);

    bool loadHelpDocument(bool refresh, bool showMessages);

    // "settings.ini" in the documents sub-folder "OrvantoInstaller" (made
    // when missing). 1, or -2 without a documents folder.
    static int helpSettingsPath(std::string* path);
    // 1 saved, -1 no settings path.
    int saveHelpWindowPosition();
    // 1 moved (onto the nearest monitor's work area, and clamped to it, when
    // the whole title bar was not on a work area); -1 no settings path,
    // -2 nothing saved, -3 left >= right, -4
    // top >= bottom, -5 the rectangle lies on no monitor (a window closed
    // while minimised).
    int restoreHelpWindowPosition();
    void layoutHelpControls();

    static constexpr int kMinWidth = 500;
    static constexpr int kMinHeight = 400;

    hnInstallationElement element;
    std::string title = "Information";

protected:
    bool onInitDialog() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onOK() override;
    void onCancel() override;

private:
    std::string nameText_, statusText_, progressText_;
};

// The sheet's help command: shows the page's document modally.
void showHelpDocument(hnInstallationElement& element, HWND owner);
