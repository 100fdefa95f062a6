#pragma once
// A picture without a button: drawn like hnImageButton but without hover
// frame and background. It notifies its parent of mouse events, so that a
// tooltip on it works (the advice icons of the rows).
#include "controls/PictureControl.h"

class hnImageStatic : public hnPictureControl {
public:
    ~hnImageStatic() override;

    bool create(HWND parent, int id, const RECT& rect);

    // The information picture (PNG 206): 1, 0 or -1 as setImageFromResource.
    int setInfoImage();
    void paint(HDC dc, const RECT& rect) override;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onAttached() override;
};
