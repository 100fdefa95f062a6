#include "controls/ImageButton.h"

#include <gdiplus.h>

hnImageButton::hnImageButton()
    : framePen_(new Gdiplus::Pen(Gdiplus::Color(kFrameColor), 1.0f)),
      backgroundBrush_(new Gdiplus::SolidBrush(Gdiplus::Color(0x00000000))) {}

hnImageButton::~hnImageButton() {
    destroyWindow();
}

bool hnImageButton::create(HWND parent, int id, const RECT& rect, const char* text) {
    return createWindow("BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, rect, parent, id);
}

void hnImageButton::onAttached() {
    LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
}

int hnImageButton::setImageFromFile(const std::string& path, int boxWidth, int boxHeight) {
    width_ = height_ = 0;
    return adoptImage(image_.loadFile(path), boxWidth, boxHeight);
}

void hnImageButton::paint(HDC dc, const RECT& rect) {
    if (width_ <= 0 || height_ <= 0)
        return;
    paintParentBackground(dc, rect);
    Gdiplus::Graphics graphics(dc);
    if (!hovered_)
        graphics.FillRectangle(backgroundBrush_.get(), static_cast<INT>(rect.left),
                               static_cast<INT>(rect.top), static_cast<INT>(rect.right - rect.left),
                               static_cast<INT>(rect.bottom - rect.top));
    image_.draw(graphics, rect.left, rect.top, width_, height_, !enabled());
    if (hovered_)
        graphics.DrawRectangle(framePen_.get(), 2, 2, width_ - 5, height_ - 5);
}

LRESULT hnImageButton::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handlePictureMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case kReflectBase + WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        paint(item->hDC, item->rcItem);
        return TRUE;
    }
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
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}
