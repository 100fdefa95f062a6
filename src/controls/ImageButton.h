#pragma once
// A push button that is only a picture: owner-drawn from a PNG with GDI+, a
// light orange frame under the mouse, light grey when disabled, the hand
// cursor. It takes the size of its picture.
#include <memory>
#include <string>

#include "controls/PictureControl.h"

namespace Gdiplus {
class Pen;
class SolidBrush;
} // namespace Gdiplus

class hnImageButton : public hnPictureControl {
public:
    hnImageButton();
    ~hnImageButton() override;

    // Creates a visible owner-drawn push button.
    bool create(HWND parent, int id, const RECT& rect, const char* text = "");

    // 1 loaded, 0 failed. The file is not kept open. With a box, the picture
    // is scaled down into it as hnPictureControl::adoptImage says.
    int setImageFromFile(const std::string& path, int boxWidth = 0, int boxHeight = 0);

    bool hovered() const { return hovered_; }
    void paint(HDC dc, const RECT& rect) override;

    static constexpr unsigned kFrameColor = 0xFFF8CA7Fu; // opaque light orange (ARGB)

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onAttached() override;

private:
    bool hovered_ = false;
    bool tracking_ = false;
    std::unique_ptr<Gdiplus::Pen> framePen_;
    std::unique_ptr<Gdiplus::SolidBrush> backgroundBrush_;
};
