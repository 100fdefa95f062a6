#pragma once
// Common part of the picture controls: the PNG picture, the control's size
// that follows it, and painting on a fresh parent background.
#include <string>

#include "controls/PngImage.h"
#include "app/SubclassedControl.h"

class hnPictureControl : public hnSubclassedControl {
public:
    int width() const { return width_; }
    int height() const { return height_; }

    // 1 loaded, 0 load failed, -1 resource missing or empty.
    int setImageFromResource(UINT id);
    // Shows a picture decoded elsewhere (hnPictureCache); 1 when it is loaded.
    int setImage(const hnPngImage& picture);

    // Paints the control into `dc` over `rect`.
    virtual void paint(HDC dc, const RECT& rect) = 0;

protected:
    // The picture that `load` put into image_ (1 when loaded) becomes the
    // control's size; the control is repainted either way. With a box, a
    // larger picture is scaled down into it keeping its aspect ratio (never
    // enlarged); without one the picture keeps its own size.
    int adoptImage(int loadResult, int boxWidth = 0, int boxHeight = 0);
    // Paint, erase, enable and colour messages; true when handled.
    bool handlePictureMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Paints the parent's background behind the transparent picture.
    void paintParentBackground(HDC dc, const RECT& rect);
    bool enabled() const { return !hwnd() || ::IsWindowEnabled(hwnd()); }

    hnPngImage image_;
    int width_ = 32; // nominal size until a picture is loaded
    int height_ = 32;
};
