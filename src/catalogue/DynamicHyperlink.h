#pragma once
// A text link made at run time: an underlined static in the link colour with
// the hand cursor, sized to its text. A click opens its web link; the
// new-version link instead offers the upgrade of its channel.
#include <string>
#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/SubclassedControl.h"

class DDynamicHyperlink : public hnSubclassedControl {
public:
    DDynamicHyperlink() = default;

    // Creates the link (notify style added) with the underlined form of `font`.
    bool create(const char* text, DWORD style, const RECT& rect, HWND parent, const std::string& url,
                const LOGFONTA& font, int id);
    // New text, and the window sized to it.
    void setText(const std::string& text);
    // What a click does; the owner dialog calls it on the link's STN_CLICKED.
    virtual void onClicked();

    COLORREF linkColour = RGB(0, 0, 255);
    std::string url;
    hnScopedGdi<HFONT> linkFont;
    HCURSOR handCursor = nullptr;

    // The reason shown for a shell error code of a failed open.
    static std::string shellErrorReason(int code);

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onAttached() override;

private:
    void sizeToText();
};

// The link that announces a newer installer of one channel.
class DDynamicHyperlinkNewVersionAvailable : public DDynamicHyperlink {
public:
    bool isReleaseChannel = true;
    void onClicked() override;
};
