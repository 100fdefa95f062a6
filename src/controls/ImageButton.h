#pragma once
// A push button that is only a picture: owner-drawn from a PNG with GDI+, a
// light orange frame under the mouse, light grey when disabled, the hand
// cursor. It takes the size of its picture.
#include <memory>
#include <string>

#include "controls/PngImage.h"
#include "controls/SubclassedControl.h"

namespace Gdiplus {
class Pen;
class SolidBrush;
} // namespace Gdiplus

class hnImageButton : public hnSubclassedControl {
public:
    hnImageButton();
    ~hnImageButton() override;

    // Creates a visible owner-drawn push button.
    bool create(HWND parent, int id, const RECT& rect, const char* text = "");

    // 1 loaded, 0 load failed, -1 resource missing or empty.
    int setImageFromResource(UINT id);
    // 1 loaded, 0 failed. The file is not kept open.
    int setImageFromFile(const std::string& path);

    int width() const { return width_; }
    int height() const { return height_; }
    bool hovered() const { return hovered_; }

    // Paints the button into `dc` over `rect` (paint message and owner draw).
    void paint(HDC dc, const RECT& rect);

    static constexpr unsigned kFrameColor = 0xFFF8CA7Fu; // opaque light orange (ARGB)

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onAttached() override;

private:
    void adoptImageSize(int loadResult);

    hnPngImage image_;
    int width_ = 32; // nominal size until a picture is loaded
    int height_ = 32;
    bool hovered_ = false;
    bool tracking_ = false;
    std::unique_ptr<Gdiplus::Pen> framePen_;
    std::unique_ptr<Gdiplus::SolidBrush> backgroundBrush_;
};

// Common answers of the picture controls.
namespace hnPictureControl {
// Transparent text background and the hollow brush.
LRESULT transparentBackground(HDC dc);
// Resizes the window to the picture, keeping position and z-order.
void fitWindowToImage(HWND hwnd, int width, int height);
// Paints the parent's background behind a transparent child.
void paintParentBackground(HWND hwnd, HDC dc, const RECT& rect);
} // namespace hnPictureControl
