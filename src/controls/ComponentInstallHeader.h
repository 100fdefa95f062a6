#pragma once
// The banner of the wizard pages and progress dialogs: a bitmap from the
// program's resources with a black frame, a bold title and a subtitle. Its
// owner decides position and size.
#include <memory>
#include <string>

#include "app/ScopedHandle.h"
#include "app/SubclassedControl.h"

constexpr int kDialogBannerId = 9702;
constexpr int kDialogBannerHeight = 100;

class hnComponentInstallHeader : public hnSubclassedControl {
public:
    hnComponentInstallHeader(const std::string& title, const std::string& subtitle, UINT bitmapId);
    ~hnComponentInstallHeader() override;

    // Creates the header as a visible child window. Its window text is the
    // title, with the subtitle on a second line when there is one.
    bool create(HWND parent, int id, const RECT& rect);

    // The banner of a progress dialog: bitmap 138 as control 9702, created
    // at (10, 10)-(200, 100); null when it cannot be created.
    static std::unique_ptr<hnComponentInstallHeader> createDialogBanner(HWND dialog, const std::string& title,
                                                                        const std::string& subtitle);
    // Moves a dialog banner to the top left, full client width, 100 pixels
    // high (its owner calls this on every paint).
    void placeAsDialogBanner();

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
    void updateWindowText();

    std::string title_;
    std::string subtitle_;
    hnScopedGdi<HFONT> font_;
    hnScopedGdi<HPEN> pen_;
    hnScopedGdi<HBITMAP> bitmap_;
};
