#include "controls/ComponentInstallHeader.h"

#include <algorithm>

#include "artwork_ids.h"

hnComponentInstallHeader::hnComponentInstallHeader(const std::string& title, const std::string& subtitle,
                                                   UINT bitmapId)
    : title_(title), subtitle_(subtitle),
      font_(::CreateFontA(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma")),
      pen_(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))),
      bitmap_(static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR))) {}

hnComponentInstallHeader::~hnComponentInstallHeader() {
    destroyWindow();
}

bool hnComponentInstallHeader::create(HWND parent, int id, const RECT& rect) {
    if (!createWindow("STATIC", "", WS_VISIBLE, rect, parent, id))
        return false;
    updateWindowText();
    return true;
}

std::unique_ptr<hnComponentInstallHeader>
hnComponentInstallHeader::createDialogBanner(HWND dialog, const std::string& title,
                                             const std::string& subtitle) {
    std::unique_ptr<hnComponentInstallHeader> banner(
        new hnComponentInstallHeader(title, subtitle, IDB_DIALOG_BANNER));
    if (!banner->create(dialog, kDialogBannerId, RECT{10, 10, 200, 100}))
        return nullptr;
    banner->placeAsDialogBanner();
    return banner;
}

void hnComponentInstallHeader::placeAsDialogBanner() {
    HWND parent = hwnd() ? ::GetParent(hwnd()) : nullptr;
    RECT client, now;
    if (!parent || !::GetClientRect(parent, &client) || !::GetWindowRect(hwnd(), &now))
        return;
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    // Only a real change moves it: painting must not cause more painting.
    if (now.left != 0 || now.top != 0 || now.right != client.right || now.bottom != kDialogBannerHeight)
        ::SetWindowPos(hwnd(), nullptr, 0, 0, client.right, kDialogBannerHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void hnComponentInstallHeader::updateWindowText() {
    if (!hwnd())
        return;
    std::string text = subtitle_.empty() ? title_ : title_ + "\r\n" + subtitle_;
    ::SetWindowTextA(hwnd(), text.c_str());
    ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void hnComponentInstallHeader::setTitle(const std::string& title) {
    title_ = title;
    updateWindowText();
}

void hnComponentInstallHeader::setSubtitle(const std::string& subtitle) {
    subtitle_ = subtitle;
    updateWindowText();
}

SIZE hnComponentInstallHeader::bitmapSize() const {
    BITMAP info = {};
    if (!bitmap_ || !::GetObjectA(bitmap_.get(), sizeof(info), &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void hnComponentInstallHeader::paint(HDC dc) {
    SIZE size = bitmapSize();
    if (size.cx > 0 && size.cy > 0) {
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ previous = ::SelectObject(source, bitmap_.get());
        ::BitBlt(dc, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
        // A control larger than its bitmap continues the bitmap's last column
        // and row instead of showing whatever was there before.
        RECT client = {};
        if (hwnd())
            ::GetClientRect(hwnd(), &client);
        if (client.right > size.cx)
            ::StretchBlt(dc, size.cx, 0, client.right - size.cx, std::max(client.bottom, size.cy), source,
                         size.cx - 1, 0, 1, size.cy, SRCCOPY);
        if (client.bottom > size.cy)
            ::StretchBlt(dc, 0, size.cy, size.cx, client.bottom - size.cy, source, 0, size.cy - 1, size.cx, 1,
                         SRCCOPY);
        ::SelectObject(source, previous);
        ::DeleteDC(source);

        HGDIOBJ oldPen = ::SelectObject(dc, pen_.get());
        ::MoveToEx(dc, 0, 0, nullptr);
        ::LineTo(dc, 0, size.cy);
        ::LineTo(dc, size.cx, size.cy);
        ::LineTo(dc, size.cx, 0);
        ::LineTo(dc, 0, 0);
        ::SelectObject(dc, oldPen);
    }
    HGDIOBJ oldFont = ::SelectObject(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::TextOutA(dc, 20, 15, title_.c_str(), static_cast<int>(title_.size()));
    ::TextOutA(dc, 20, 35, subtitle_.c_str(), static_cast<int>(subtitle_.size()));
    ::SelectObject(dc, oldFont);
}

LRESULT hnComponentInstallHeader::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd(), &ps);
        paint(dc);
        ::EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // the bitmap covers the control
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}
