#pragma once
// Links of the resources tab and the welcome page: an underlined static in
// the hyperlink colour that opens its address when clicked, and the routine
// behind it, which opens web pages directly and fetches documents and
// pictures into the resources cache first.
#include <functional>
#include <string>
#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/SubclassedControl.h"

class CUpgradeInfo;

// Opens a link. A target ending in ".pdf" or ".png" (any case) is downloaded
// into the resources cache folder (download dialog, owned by `owner`) and the
// local copy opened; any other target must be a web link and is opened by the
// shell. 1 when opened; -1 otherwise with `code`: the shell's result, -1 no
// file name in the address, -2 the download did not end with OK, -3 the
// downloaded file is missing. A refused address gives the shell's "access
// denied" (5).
int openResourceLink(const std::string& url, const std::string& linkName, int* code, HWND owner);

// A target that is fetched into the resources cache before it is opened: its
// last four characters are ".pdf" or ".png" (any case).
bool isDownloadedResource(const std::string& url);

// The user's reason for a shell error code ("Unknown Error (%d) occurred."
// for codes without one).
std::string shellErrorReason(int code);

// The standard hyperlink text colour: the system's hot-tracking colour, or a
// link blue where the system's is too pale to read on a dialog.
COLORREF hyperlinkColour();

// A parent's answer to a click of one of its links: sends the WM_COMMAND of
// STN_CLICKED back to the link as kReflectBase + WM_COMMAND. True when the
// control handled it.
bool reflectClickToControl(WORD code, HWND control);

class DDynamicHyperlink : public hnSubclassedControl {
public:
    DDynamicHyperlink();
    ~DDynamicHyperlink() override;

    // Creates the link with `text` and `style` (SS_NOTIFY is added) at the
    // rectangle's top left, sized to its text in the underlined `font`. The
    // parent must reflect the click (reflectClickToControl).
    bool create(const char* text, DWORD style, const RECT& rect, HWND parent, const std::string& address,
                LOGFONTA font, int id);
    // New text, and the window sized to it.
    void setText(const std::string& text);

    COLORREF linkColour;
    std::string url;
    hnScopedGdi<HFONT> linkFont;
    hnScopedCursor handCursor;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The click: opens `url`; a failure the user was not told about yet shows
    // "Unable to open hyperlink:" with the reason.
    virtual void onClick();

private:
    void fitToText();
    void loadHandCursor();
};

// The welcome page's new-version link: a click offers the newer installer of
// its channel (the release channel's record when `isReleaseChannel`, else the
// beta channel's) through `offerUpgrade`, instead of opening an address.
class DDynamicHyperlinkNewVersionAvailable : public DDynamicHyperlink {
public:
    bool isReleaseChannel = true;
    std::function<int(CUpgradeInfo&)> offerUpgrade;

protected:
    void onClick() override;
};
