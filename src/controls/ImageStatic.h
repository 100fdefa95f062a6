#pragma once
// A picture without a button: drawn like hnImageButton but without hover
// frame and background. It notifies its parent of mouse events, so that a
// tooltip on it works (the advice icons of the rows).
#include <string>

#include "controls/PngImage.h"
#include "controls/SubclassedControl.h"

class hnImageStatic : public hnSubclassedControl {
public:
    ~hnImageStatic() override;

    bool create(HWND parent, int id, const RECT& rect);

    // The information picture (PNG 206): 1, 0 or -1 as setImageFromResource.
    int setInfoImage();
    int setImageFromResource(UINT id);

    int width() const { return width_; }
    int height() const { return height_; }
    void paint(HDC dc, const RECT& rect);

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onAttached() override;

private:
    hnPngImage image_;
    int width_ = 32;
    int height_ = 32;
};
