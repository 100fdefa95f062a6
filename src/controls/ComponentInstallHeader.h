#pragma once
// The banner of the wizard pages and progress dialogs: a bitmap from the
// program's resources with a black frame, a bold title and a subtitle. Its
// owner decides position and size.
#include <string>

#include "app/ScopedHandle.h"
#include "controls/SubclassedControl.h"

class hnComponentInstallHeader : public hnSubclassedControl {
public:
    hnComponentInstallHeader(const std::string& title, const std::string& subtitle, UINT bitmapId);
    ~hnComponentInstallHeader() override;

    // Creates the header as a visible child window.
    bool create(HWND parent, int id, const RECT& rect);

    const std::string& title() const { return title_; }
    const std::string& subtitle() const { return subtitle_; }
    void setTitle(const std::string& title);
    void setSubtitle(const std::string& subtitle);

    // Size of the bitmap; 0 x 0 when it could not be loaded.
    SIZE bitmapSize() const;
    void paint(HDC dc);

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string title_;
    std::string subtitle_;
    hnScopedGdi<HFONT> font_;
    hnScopedGdi<HPEN> pen_;
    hnScopedGdi<HBITMAP> bitmap_;
};
