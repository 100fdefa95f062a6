#include "catalogue/DynamicHyperlink.h"

#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "catalogue/CatalogueSources.h"
#include "install/SelfUpdateOffer.h"

bool DDynamicHyperlink::create(const char* text, DWORD style, const RECT& rect, HWND parent,
                               const std::string& link, const LOGFONTA& font, int id) {
    url = link;
    LOGFONTA underlined = font;
    underlined.lfUnderline = TRUE;
    linkFont.reset(::CreateFontIndirectA(&underlined));
    return createWindow("STATIC", text, style | SS_NOTIFY | WS_CHILD, rect, parent, id);
}

void DDynamicHyperlink::onAttached() {
    if (linkFont)
        ::SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont.get()), FALSE);
    sizeToText();
    if (!handCursor)
        handCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
}

void DDynamicHyperlink::setText(const std::string& text) {
    ::SetWindowTextA(hwnd(), text.c_str());
    sizeToText();
}

void DDynamicHyperlink::sizeToText() {
    HWND window = hwnd();
    HWND parent = window ? ::GetParent(window) : nullptr;
    if (!parent)
        return;
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    ::GetWindowTextA(window, &text[0], static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    HDC dc = ::GetDC(window);
    HGDIOBJ previous = ::SelectObject(dc, linkFont ? static_cast<HGDIOBJ>(linkFont.get())
                                                   : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    RECT client;
    ::GetClientRect(window, &client);
    int width = extent.cx + (rect.right - rect.left) - client.right;
    int height = extent.cy + (rect.bottom - rect.top) - client.bottom;
    LONG style = ::GetWindowLongA(window, GWL_STYLE);
    int left = rect.left, top = rect.top;
    if ((style & SS_TYPEMASK) == SS_CENTER)
        left = (rect.left + rect.right - width) / 2;
    else if ((style & SS_TYPEMASK) == SS_RIGHT)
        left = rect.right - width;
    if (style & SS_CENTERIMAGE)
        top = (rect.top + rect.bottom - height) / 2;
    ::SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT DDynamicHyperlink::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        if (handCursor) {
            ::SetCursor(handCursor);
            return TRUE;
        }
        break;
    case kReflectBase + WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, linkColour);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    }
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case kReflectBase + WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED) {
            onClicked();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return hnSubclassedControl::windowProc(message, wParam, lParam);
}

std::string DDynamicHyperlink::shellErrorReason(int code) {
    static const struct {
        int code;
        const char* reason;
    } reasons[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30,
         "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
    };
    for (const auto& row : reasons)
        if (row.code == code)
            return row.reason;
    return hnFormatText("Unknown Error (%d) occurred.", code);
}

void DDynamicHyperlink::onClicked() {
    INT_PTR shell = openWebLink(url, hwnd());
    if (shell > 32)
        return;
    hnAppBase::current()->prompter().messageBox(
        hwnd(), ("Unable to open hyperlink:\n\n" + shellErrorReason(static_cast<int>(shell))).c_str(),
        kInstallerCaption, MB_OK);
}

void DDynamicHyperlinkNewVersionAvailable::onClicked() {
    hnInstallerServices* services = installerServices();
    if (CUpgradeInfo* info = services ? services->upgradeRecord(!isReleaseChannel) : nullptr)
        offerUpgrade(*info);
}
