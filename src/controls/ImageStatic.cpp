#include "controls/ImageStatic.h"

#include <gdiplus.h>

#include "artwork_ids.h"

hnImageStatic::~hnImageStatic() {
    destroyWindow();
}

bool hnImageStatic::create(HWND parent, int id, const RECT& rect) {
    return createWindow("STATIC", "", WS_VISIBLE | SS_NOTIFY, rect, parent, id);
}

void hnImageStatic::onAttached() {
    LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
    ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style | SS_NOTIFY);
}

int hnImageStatic::setInfoImage() {
    return setImageFromResource(IDP_INFO);
}

void hnImageStatic::paint(HDC dc, const RECT& rect) {
    if (width_ <= 0 || height_ <= 0)
        return;
    paintParentBackground(dc, rect);
    Gdiplus::Graphics graphics(dc);
    image_.draw(graphics, rect.left, rect.top, width_, height_, !enabled());
}

LRESULT hnImageStatic::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (handlePictureMessage(message, wParam, lParam, result))
        return result;
    return defaultProc(message, wParam, lParam);
}
