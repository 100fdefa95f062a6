#include "controls/ImageStatic.h"

#include <gdiplus.h>

#include "artwork_ids.h"
#include "controls/ImageButton.h"

hnImageStatic::~hnImageStatic() { destroyWindow(); }

bool hnImageStatic::create(HWND parent, int id, const RECT& rect) {
    return createWindow("STATIC", "", WS_VISIBLE | SS_NOTIFY, rect, parent, id);
}

void hnImageStatic::onAttached() {
    LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style | SS_NOTIFY);
}

int hnImageStatic::setInfoImage() { return setImageFromResource(IDP_INFO); }

int hnImageStatic::setImageFromResource(UINT id) {
    width_ = height_ = 0;
    int result = image_.loadResource(id);
    if (result == 1) {
        width_ = image_.width();
        height_ = image_.height();
        hnPictureControl::fitWindowToImage(hwnd(), width_, height_);
    }
    if (hwnd())
        invalidateWithParent();
    return result;
}

void hnImageStatic::paint(HDC dc, const RECT& rect) {
    if (width_ <= 0 || height_ <= 0)
        return;
    hnPictureControl::paintParentBackground(hwnd(), dc, rect);
    Gdiplus::Graphics graphics(dc);
    bool enabled = !hwnd() || ::IsWindowEnabled(hwnd());
    image_.draw(graphics, rect.left, rect.top, !enabled);
}

LRESULT hnImageStatic::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
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
        return 1;
    case WM_ENABLE:
        invalidateWithParent();
        break;
    case kReflectBase + WM_CTLCOLORSTATIC:
        return hnPictureControl::transparentBackground(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return defaultProc(message, wParam, lParam);
}
