#include "controls/PictureControl.h"

#include <uxtheme.h>

#include <algorithm>

int hnPictureControl::setImageFromResource(UINT id) {
    width_ = height_ = 0;
    return adoptImage(image_.loadResource(id));
}

int hnPictureControl::setImage(const hnPngImage& picture) {
    image_.share(picture);
    return adoptImage(picture.loaded() ? 1 : 0);
}

int hnPictureControl::adoptImage(int loadResult, int boxWidth, int boxHeight) {
    width_ = height_ = 0;
    if (loadResult == 1) {
        width_ = image_.width();
        height_ = image_.height();
        if (boxWidth > 0 && boxHeight > 0 && width_ > 0 && height_ > 0 &&
            (width_ > boxWidth || height_ > boxHeight)) {
            // The side that overflows more sets the scale; the other follows.
            long long w = width_, h = height_;
            if (w * boxHeight >= h * boxWidth) {
                height_ = static_cast<int>(std::max(1LL, (h * boxWidth + w / 2) / w));
                width_ = boxWidth;
            } else {
                width_ = static_cast<int>(std::max(1LL, (w * boxHeight + h / 2) / h));
                height_ = boxHeight;
            }
        }
        if (hwnd() && width_ > 0 && height_ > 0)
            ::SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (hwnd())
        invalidateWithParent();
    return loadResult;
}

void hnPictureControl::paintParentBackground(HDC dc, const RECT& rect) {
    // Pictures have soft, partly transparent edges: without a fresh
    // background under every paint they would darken with each repaint.
    RECT area = rect;
    if (hwnd())
        ::DrawThemeParentBackground(hwnd(), dc, &area);
}

bool hnPictureControl::handlePictureMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd(), &ps);
        RECT client;
        ::GetClientRect(hwnd(), &client);
        paint(dc, client);
        ::EndPaint(hwnd(), &ps);
        result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        result = 1; // painted with the picture
        return true;
    case kReflectBase + WM_CTLCOLORBTN:
    case kReflectBase + WM_CTLCOLORSTATIC:
        // Transparent text background and the hollow brush.
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        result = reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
        return true;
    case WM_ENABLE:
        invalidateWithParent();
        return false; // the control goes on as usual
    default:
        return false;
    }
}
