#pragma once
// A PNG picture decoded by GDI+ from bytes the picture owns: from a resource
// of type "PNG" or from a file that is read once and closed, so that the file
// can be replaced while the picture is shown. A decoded picture is never
// changed afterwards, so pictures may share one (see hnPictureCache).
#include <memory>
#include <string>
#include <windows.h>

#include "app/ScopedHandle.h"

namespace Gdiplus {
class Bitmap;
class Graphics;
} // namespace Gdiplus

class hnPngImage {
public:
    hnPngImage();
    ~hnPngImage();
    hnPngImage(const hnPngImage&) = delete;
    hnPngImage& operator=(const hnPngImage&) = delete;

    // 1 loaded, 0 decoding failed, -1 resource missing or empty.
    int loadResource(UINT id);
    // 1 loaded, 0 unreadable, not a picture, or a header that gives a side
    // over kMaxFileSide (such a picture is not decoded at all).
    int loadFile(const std::string& path);
    static constexpr int kMaxFileSide = 4096;
    void reset();
    // Shows the picture `other` decoded, without decoding it again.
    void share(const hnPngImage& other);

    bool loaded() const { return decoded_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Draws into the `width` x `height` rectangle at (x, y); `disabled` turns
    // it light grey.
    void draw(Gdiplus::Graphics& graphics, int x, int y, int width, int height, bool disabled) const;

    // The picture size a PNG, GIF, BMP or JPEG header gives; false when the
    // bytes start with none of them or the header is cut.
    static bool readHeaderSize(const unsigned char* bytes, std::size_t size, int& width, int& height);

private:
    int loadBytes(const void* bytes, DWORD size);

    struct Decoded;
    std::shared_ptr<const Decoded> decoded_;
    int width_ = 0;
    int height_ = 0;
};
