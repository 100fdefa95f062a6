#include <gtest/gtest.h>

#include "app/PleaseWaitDlg.h"
#include "artwork_ids.h"
#include "controls/ComponentInstallHeader.h"
#include "controls/ImageButton.h"
#include "controls/ImageStatic.h"
#include "controls/PictureCache.h"
#include "controls/PngImage.h"
#include "support/PictureFixtures.h"
#include "support/TestSupport.h"

namespace {

// A top-level window to hold the controls under test; shown only where a
// test needs repainting (closing a shown window is slow without a window
// manager).
struct HostWindow {
    explicit HostWindow(bool visible = false) {
        hwnd = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10,
                                 10, 400, 300, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() { ::DestroyWindow(hwnd); }
    HWND hwnd;
};

// A white 32-bit surface to paint a control into and read pixels back.
struct Surface {
    Surface(int w, int h) : width(w), height(h) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = ::SelectObject(dc, bitmap);
        clear();
    }
    ~Surface() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    void clear() {
        for (int i = 0; i < width * height; ++i)
            bits[i] = 0x00FFFFFF;
    }
    COLORREF at(int x, int y) const {
        DWORD v = bits[y * width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    RECT rect() const { return RECT{0, 0, width, height}; }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD* bits = nullptr;
};

bool isGrey(COLORREF c) {
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return std::abs(r - g) < 10 && std::abs(g - b) < 10;
}

RECT rectInParent(HWND child) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The bytes of one of our PNG resources, for file-based loading.
std::string pngBytes(UINT id) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), "PNG");
    HGLOBAL data = ::LoadResource(nullptr, found);
    return std::string(static_cast<const char*>(::LockResource(data)), ::SizeofResource(nullptr, found));
}

} // namespace

TEST(ImageButton, LoadingAPictureResizesTheButtonWithoutMovingIt) {
    HostWindow host;
    hnImageButton button;
    ASSERT_TRUE(button.create(host.hwnd, 1500, RECT{30, 40, 48, 52}));
    EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongPtrA(button.hwnd(), GWL_STYLE) & BS_TYPEMASK);
    ASSERT_EQ(1, button.setImageFromResource(IDP_INSTALL));
    RECT r = rectInParent(button.hwnd());
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(40, r.top);
    EXPECT_EQ(24, r.right - r.left);
    EXPECT_EQ(24, r.bottom - r.top);

    ASSERT_EQ(1, button.setImageFromResource(IDP_REFRESH));
    r = rectInParent(button.hwnd());
    EXPECT_EQ(32, r.right - r.left);
    EXPECT_EQ(30, r.left);
}

TEST(ImageButton, MissingPictureLeavesTheButtonEmpty) {
    HostWindow host;
    hnImageButton button;
    ASSERT_TRUE(button.create(host.hwnd, 1501, RECT{0, 0, 32, 32}));
    EXPECT_EQ(-1, button.setImageFromResource(4242));
    EXPECT_EQ(0, button.width());
    Surface surface(32, 32);
    button.paint(surface.dc, surface.rect());
    EXPECT_EQ(RGB(255, 255, 255), surface.at(12, 12)); // nothing painted
}

TEST(ImageButton, DisabledButtonIsLightGreyAndEnablingRestoresItsColours) {
    HostWindow host;
    hnImageButton button;
    ASSERT_TRUE(button.create(host.hwnd, 1502, RECT{10, 10, 34, 34}));
    ASSERT_EQ(1, button.setImageFromResource(IDP_INSTALL));
    Surface surface(24, 24);

    button.paint(surface.dc, surface.rect());
    COLORREF arrow = surface.at(12, 6); // the green arrow's shaft
    EXPECT_GT(GetGValue(arrow), GetRValue(arrow) + 40);

    ::EnableWindow(button.hwnd(), FALSE);
    surface.clear();
    button.paint(surface.dc, surface.rect());
    COLORREF grey = surface.at(12, 6);
    EXPECT_TRUE(isGrey(grey)) << std::hex << grey;
    EXPECT_GE(GetGValue(grey), 97); // the matrix lifts every channel by 0.38

    ::EnableWindow(button.hwnd(), TRUE);
    surface.clear();
    button.paint(surface.dc, surface.rect());
    EXPECT_EQ(arrow, surface.at(12, 6));
}

TEST(ImageButton, HoverDrawsTheFrameAndLeavingRepaintsTheParent) {
    HostWindow host(true);
    hnImageButton button;
    ASSERT_TRUE(button.create(host.hwnd, 1503, RECT{50, 60, 74, 84}));
    ASSERT_EQ(1, button.setImageFromResource(IDP_REMOVE));
    ::UpdateWindow(host.hwnd);
    Surface surface(24, 24);

    ::SendMessageA(button.hwnd(), WM_MOUSEHOVER, 0, 0);
    EXPECT_TRUE(button.hovered());
    button.paint(surface.dc, surface.rect());
    EXPECT_EQ(RGB(0xF8, 0xCA, 0x7F), surface.at(2, 10)); // left edge of the frame

    ::ValidateRect(host.hwnd, nullptr);
    ::SendMessageA(button.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.hovered());
    RECT dirty = {};
    ASSERT_TRUE(::GetUpdateRect(host.hwnd, &dirty, FALSE));
    EXPECT_EQ(50, dirty.left);
    EXPECT_EQ(60, dirty.top);
    surface.clear();
    button.paint(surface.dc, surface.rect());
    EXPECT_NE(RGB(0xF8, 0xCA, 0x7F), surface.at(2, 10));
}

TEST(ImageButton, PictureFromFileDoesNotKeepTheFileOpen) {
    HostWindow host;
    ScratchFolder folder;
    hnImageButton button;
    ASSERT_TRUE(button.create(host.hwnd, 1504, RECT{0, 0, 10, 10}));
    std::string path = folder.file("picture.png");
    ASSERT_TRUE(writeTextFile(path, pngBytes(IDP_EMBLEM)));
    ASSERT_EQ(1, button.setImageFromFile(path));
    EXPECT_EQ(64, button.width());

    // A refresh replaces the file while the picture is shown.
    ASSERT_TRUE(::DeleteFileA(path.c_str()));
    ASSERT_TRUE(writeTextFile(path, pngBytes(IDP_INSTALL)));
    ASSERT_EQ(1, button.setImageFromFile(path));
    EXPECT_EQ(24, button.width());
    Surface surface(24, 24);
    button.paint(surface.dc, surface.rect());
    EXPECT_NE(RGB(255, 255, 255), surface.at(12, 6));

    ASSERT_TRUE(writeTextFile(path, "not a picture"));
    EXPECT_EQ(0, button.setImageFromFile(path));
    EXPECT_EQ(0, button.setImageFromFile(folder.file("missing.png")));
    EXPECT_EQ(0, button.width());
}

TEST(ImageButton, ServerPictureFitsItsBoxAndAHugeOneIsNotDecoded) {
    HostWindow host;
    ScratchFolder folder;
    hnImageButton button;
    ASSERT_TRUE(button.create(host.hwnd, 1505, RECT{0, 0, 64, 64}));
    struct Case {
        int width, height, fittedWidth, fittedHeight;
    } cases[] = {
        {2000, 1000, 64, 32}, // wide: scaled down, aspect kept
        {30, 200, 10, 64},    // tall: 30 * 64 / 200 = 9.6
        {40, 20, 40, 20},     // small: never enlarged
        {64, 64, 64, 64},
    };
    std::string path = folder.file("picture.png");
    for (const Case& c : cases) {
        ASSERT_TRUE(writeTextFile(path, greyPng(c.width, c.height)));
        ASSERT_EQ(1, button.setImageFromFile(path, 64, 64)) << c.width;
        EXPECT_EQ(c.fittedWidth, button.width()) << c.width;
        EXPECT_EQ(c.fittedHeight, button.height()) << c.width;
        RECT window;
        ::GetWindowRect(button.hwnd(), &window);
        EXPECT_EQ(c.fittedWidth, window.right - window.left) << c.width;
    }
    // Scaled, the whole picture is drawn inside the box.
    ASSERT_TRUE(writeTextFile(path, greyPng(2000, 1000)));
    ASSERT_EQ(1, button.setImageFromFile(path, 64, 64));
    Surface surface(64, 64);
    button.paint(surface.dc, surface.rect());
    EXPECT_EQ(RGB(0x60, 0x60, 0x60), surface.at(32, 16));
    EXPECT_NE(RGB(0x60, 0x60, 0x60), surface.at(32, 40)); // below it: background
    // Without a box a picture keeps its own size.
    ASSERT_EQ(1, button.setImageFromFile(path));
    EXPECT_EQ(2000, button.width());
    // A header over 4096 pixels on a side is not decoded.
    ASSERT_TRUE(writeTextFile(path, greyPng(4097, 2)));
    EXPECT_EQ(0, button.setImageFromFile(path, 64, 64));
    EXPECT_EQ(0, button.width());
    ASSERT_TRUE(writeTextFile(path, greyPng(4096, 2)));
    EXPECT_EQ(1, button.setImageFromFile(path, 64, 64));
}

TEST(PngImage, HeaderSizeOfEachFormat) {
    int width = 0, height = 0;
    std::string png = greyPng(300, 7);
    auto bytes = [](const std::string& text) { return reinterpret_cast<const unsigned char*>(text.data()); };
    ASSERT_TRUE(hnPngImage::readHeaderSize(bytes(png), png.size(), width, height));
    EXPECT_EQ(300, width);
    EXPECT_EQ(7, height);
    std::string gif("GIF89a\x10\x27\x05\x00", 10);
    ASSERT_TRUE(hnPngImage::readHeaderSize(bytes(gif), gif.size(), width, height));
    EXPECT_EQ(10000, width);
    EXPECT_EQ(5, height);
    std::string bmp(26, '\0');
    bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40, bmp[18] = '\x88', bmp[19] = '\x13'; // 5000 wide
    bmp[22] = '\xFF', bmp[23] = '\xFF', bmp[24] = '\xFF', bmp[25] = '\xFF';       // -1: bottom-up
    ASSERT_TRUE(hnPngImage::readHeaderSize(bytes(bmp), bmp.size(), width, height));
    EXPECT_EQ(5000, width);
    EXPECT_EQ(1, height);
    // A JPEG: an application segment, then the frame (height, then width).
    std::string jpeg("\xFF\xD8\xFF\xE0\x00\x04..\xFF\xC0\x00\x11\x08\x20\x00\x10\x00", 17);
    ASSERT_TRUE(hnPngImage::readHeaderSize(bytes(jpeg), jpeg.size(), width, height));
    EXPECT_EQ(4096, width);
    EXPECT_EQ(8192, height);
    std::string cut("\xFF\xD8\xFF\xE0\x00\x40", 6);
    EXPECT_FALSE(hnPngImage::readHeaderSize(bytes(cut), cut.size(), width, height));
    EXPECT_FALSE(hnPngImage::readHeaderSize(bytes(std::string("text")), 4, width, height));
}

TEST(ImageStatic, InfoPictureOnATemplateStaticGetsTheNotifyStyle) {
    HostWindow host;
    HWND existing = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, host.hwnd,
                                      reinterpret_cast<HMENU>(1600), nullptr, nullptr);
    hnImageStatic info;
    ASSERT_TRUE(info.subclass(existing));
    EXPECT_TRUE(::GetWindowLongPtrA(existing, GWL_STYLE) & SS_NOTIFY);
    ASSERT_EQ(1, info.setInfoImage());
    RECT r = rectInParent(existing);
    EXPECT_EQ(24, r.right - r.left);
    EXPECT_EQ(5, r.left);

    Surface surface(24, 24);
    info.paint(surface.dc, surface.rect());
    COLORREF disc = surface.at(6, 12);
    EXPECT_GT(GetBValue(disc), GetRValue(disc) + 40);
    ::EnableWindow(existing, FALSE);
    surface.clear();
    info.paint(surface.dc, surface.rect());
    EXPECT_TRUE(isGrey(surface.at(6, 12)));
}

TEST(ComponentInstallHeader, PaintsBitmapFrameAndTitle) {
    HostWindow host;
    hnComponentInstallHeader header("Core Installation", "", IDB_PAGE_HEADER);
    SIZE size = header.bitmapSize();
    EXPECT_EQ(895, size.cx);
    EXPECT_EQ(70, size.cy);
    ASSERT_TRUE(header.create(host.hwnd, 9702, RECT{0, 0, 900, 70}));

    Surface plain(900, 70);
    hnComponentInstallHeader untitled("", "", IDB_PAGE_HEADER);
    untitled.paint(plain.dc);
    Surface titled(900, 70);
    header.paint(titled.dc);

    EXPECT_EQ(RGB(0, 0, 0), titled.at(0, 30));   // frame, left edge
    EXPECT_EQ(RGB(0, 0, 0), titled.at(895, 30)); // frame, just right of the bitmap
    // Beyond the bitmap the control continues its last column.
    EXPECT_EQ(titled.at(894, 30), titled.at(898, 30));
    int changed = 0;
    for (int y = 15; y < 32; ++y)
        for (int x = 20; x < 200; ++x)
            changed += titled.at(x, y) != plain.at(x, y);
    EXPECT_GT(changed, 100); // the bold title is there
}

TEST(ComponentInstallHeader, SidePanelBitmapHasItsSize) {
    hnComponentInstallHeader side("", "", IDB_SIDE_PANEL);
    EXPECT_EQ(165, side.bitmapSize().cx);
    EXPECT_EQ(470, side.bitmapSize().cy);
    hnComponentInstallHeader banner("", "", IDB_DIALOG_BANNER);
    EXPECT_EQ(500, banner.bitmapSize().cx);
}

TEST(ComponentInstallHeader, DialogBannerSpansTheTopAndFollowsTheWidth) {
    HostWindow host;
    auto banner =
        hnComponentInstallHeader::createDialogBanner(host.hwnd, "Installing component 1 of 2", "Name");
    ASSERT_TRUE(banner);
    EXPECT_EQ(500, banner->bitmapSize().cx);
    EXPECT_EQ(banner->hwnd(), ::GetDlgItem(host.hwnd, 9702));
    EXPECT_EQ("Installing component 1 of 2\r\nName", hnWindowText(banner->hwnd()));
    auto placed = [&] {
        RECT client, rect;
        ::GetClientRect(host.hwnd, &client);
        ::GetWindowRect(banner->hwnd(), &rect);
        ::MapWindowPoints(nullptr, host.hwnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect.left == 0 && rect.top == 0 && rect.right == client.right && rect.bottom == 100;
    };
    EXPECT_TRUE(placed());
    ::SetWindowPos(host.hwnd, nullptr, 0, 0, 700, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(placed());
    banner->placeAsDialogBanner();
    EXPECT_TRUE(placed());
    banner->setSubtitle("Other");
    EXPECT_EQ("Installing component 1 of 2\r\nOther", hnWindowText(banner->hwnd()));
}

TEST(ImageButton, DialogReflectsColourRequestsToThePictureButton) {
    DPleaseWaitDlg dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    hnImageButton button;
    ASSERT_TRUE(button.create(dialog.hwnd(), 1505, RECT{0, 0, 24, 24}));
    HDC dc = ::GetDC(button.hwnd());
    LRESULT brush = ::SendMessageA(dialog.hwnd(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(button.hwnd()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH)), brush);
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
    ::ReleaseDC(button.hwnd(), dc);
    button.destroyWindow();
    dialog.destroy();
}

TEST(PictureCache, PrefetchedPicturesAreServedWithoutDecodingThemAgain) {
    const UINT kMissing = 59999;
    hnPictureCache cache;
    cache.prefetch({IDP_INFO, IDP_FOLDER, IDP_INFO, kMissing});
    ASSERT_TRUE(waitFor([&cache] { return cache.prefetchFinished(); }, 10000));
    for (UINT id : {IDP_INFO, IDP_FOLDER}) {
        hnPngImage direct;
        ASSERT_EQ(1, direct.loadResource(id));
        const hnPngImage& served = cache.resource(id);
        EXPECT_TRUE(served.loaded()) << id;
        EXPECT_EQ(direct.width(), served.width()) << id;
        EXPECT_EQ(direct.height(), served.height()) << id;
        EXPECT_EQ(&served, &cache.resource(id)) << id; // decoded once for every control
    }
    EXPECT_FALSE(cache.resource(kMissing).loaded());
    EXPECT_EQ(0, cache.decodedInPlace());
    // A picture the prefetch was not given is decoded when it is asked for.
    EXPECT_TRUE(cache.resource(IDP_INSTALL).loaded());
    EXPECT_EQ(1, cache.decodedInPlace());
    // Only the first prefetch counts.
    cache.prefetch({IDP_REMOVE});
    EXPECT_TRUE(cache.prefetchFinished());
}

TEST(PictureCache, APictureIsServedWhileThePrefetchRunsAndTheCacheEndsWithIt) {
    std::vector<UINT> ids = {IDP_INSTALL, IDP_REMOVE, IDP_DOWNLOAD, IDP_REFRESH, IDP_REFRESH_SMALL,
                             IDP_INFO,    IDP_FOLDER, IDP_DELETE,   IDP_BETA};
    for (int round = 0; round < 3; ++round) {
        hnPictureCache cache;
        cache.prefetch(ids);
        // Taken from the worker or decoded here, whichever comes first.
        const hnPngImage& last = cache.resource(ids.back());
        EXPECT_TRUE(last.loaded());
        EXPECT_EQ(&last, &cache.resource(ids.back()));
    } // each cache stops its worker before its pictures go
}
