#include "controls/ImageButton.h"

#include <gdiplus.h>
#include <uxtheme.h>

namespace hnPictureControl {

LRESULT transparentBackground(HDC dc) {
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

void fitWindowToImage(HWND hwnd, int width, int height) {
    if (hwnd && width > 0 && height > 0)
        ::SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void paintParentBackground(HWND hwnd, HDC dc, const RECT& rect) {
    // Pictures have soft, partly transparent edges: without a fresh
    // background under every paint they would darken with each repaint.
    RECT area = rect;
    ::DrawThemeParentBackground(hwnd, dc, &area);
}

} // namespace hnPictureControl

hnImageButton::hnImageButton()
    : framePen_(new Gdiplus::Pen(Gdiplus::Color(kFrameColor), 1.0f)),
      backgroundBrush_(new Gdiplus::SolidBrush(Gdiplus::Color(0x00000000))) {}

hnImageButton::~hnImageButton() { destroyWindow(); }

bool hnImageButton::create(HWND parent, int id, const RECT& rect, const char* text) {
    return createWindow("BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect, parent, id);
}

void hnImageButton::onAttached() {
    LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
}

int hnImageButton::setImageFromResource(UINT id) {
    width_ = height_ = 0;
    int result = image_.loadResource(id);
    adoptImageSize(result);
    return result;
}

int hnImageButton::setImageFromFile(const std::string& path) {
    width_ = height_ = 0;
    int result = image_.loadFile(path);
    adoptImageSize(result);
    return result;
}

void hnImageButton::adoptImageSize(int loadResult) {
    if (loadResult == 1) {
        width_ = image_.width();
        height_ = image_.height();
        hnPictureControl::fitWindowToImage(hwnd(), width_, height_);
    }
    if (hwnd())
        invalidateWithParent();
}

void hnImageButton::paint(HDC dc, const RECT& rect) {
    if (width_ <= 0 || height_ <= 0)
        return;
    hnPictureControl::paintParentBackground(hwnd(), dc, rect);
    Gdiplus::Graphics graphics(dc);
    if (!hovered_)
        graphics.FillRectangle(backgroundBrush_.get(), static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                               static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
    bool enabled = !hwnd() || ::IsWindowEnabled(hwnd());
    image_.draw(graphics, rect.left, rect.top, !enabled);
    if (hovered_)
        graphics.DrawRectangle(framePen_.get(), 2, 2, width_ - 5, height_ - 5);
}

LRESULT hnImageButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd(), &ps);
        RECT client;
        ::GetClientRect(hwnd(), &client);
        paint(dc, client);
        ::EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // painted with the picture
    case kReflectBase + WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        paint(item->hDC, item->rcItem);
        return TRUE;
    }
    case kReflectBase + WM_CTLCOLORBTN:
    case kReflectBase + WM_CTLCOLORSTATIC:
        return hnPictureControl::transparentBackground(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, hwnd(), 1};
            tracking_ = ::TrackMouseEvent(&track) != FALSE;
        }
        break;
    case WM_MOUSEHOVER:
        hovered_ = true;
        invalidateWithParent();
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        hovered_ = false;
        invalidateWithParent();
        break;
    case WM_ENABLE:
        invalidateWithParent();
        break;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}
