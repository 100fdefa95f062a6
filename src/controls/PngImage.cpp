#include "controls/PngImage.h"

#include <cstring>
#include <gdiplus.h>
#include <objidl.h>
#include <vector>

struct hnPngImage::Decoded {
    hnScopedGlobal memory;                   // the bytes the bitmap decodes from,
    std::unique_ptr<Gdiplus::Bitmap> bitmap; // so declared first: freed last
};

hnPngImage::hnPngImage() = default;
hnPngImage::~hnPngImage() = default;

void hnPngImage::reset() {
    decoded_.reset();
    width_ = height_ = 0;
}

void hnPngImage::share(const hnPngImage& other) {
    decoded_ = other.decoded_;
    width_ = other.width_;
    height_ = other.height_;
}

int hnPngImage::loadResource(UINT id) {
    reset();
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
    if (!found)
        return -1;
    DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return -1;
    return loadBytes(bytes, size);
}

int hnPngImage::loadFile(const std::string& path) {
    reset();
    std::vector<char> bytes;
    {
        hnScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return 0;
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 64 * 1024 * 1024)
            return 0;
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
            got != bytes.size())
            return 0;
    } // the file is closed before decoding: the picture lives in memory only
    // Decoding a huge picture would take its full size in memory first.
    int headerWidth = 0, headerHeight = 0;
    if (readHeaderSize(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), headerWidth,
                       headerHeight) &&
        (headerWidth > kMaxFileSide || headerHeight > kMaxFileSide))
        return 0;
    return loadBytes(bytes.data(), static_cast<DWORD>(bytes.size()));
}

namespace {
unsigned bigEndian(const unsigned char* p, int bytes) {
    unsigned value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | p[i];
    return value;
}
unsigned littleEndian(const unsigned char* p, int bytes) {
    unsigned value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}
int clampSide(long long side) {
    side = side < 0 ? -side : side; // a bottom-up bitmap gives a negative height
    return side > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(side);
}
} // namespace

bool hnPngImage::readHeaderSize(const unsigned char* b, std::size_t size, int& width, int& height) {
    if (size >= 24 && std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0) {
        width = clampSide(bigEndian(b + 16, 4));
        height = clampSide(bigEndian(b + 20, 4));
        return true;
    }
    if (size >= 10 && (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0)) {
        width = clampSide(littleEndian(b + 6, 2));
        height = clampSide(littleEndian(b + 8, 2));
        return true;
    }
    if (size >= 26 && b[0] == 'B' && b[1] == 'M') {
        if (littleEndian(b + 14, 4) == 12) { // the old core header: 16-bit sides
            width = clampSide(littleEndian(b + 18, 2));
            height = clampSide(littleEndian(b + 20, 2));
        } else {
            width = clampSide(static_cast<int>(littleEndian(b + 18, 4)));
            height = clampSide(static_cast<int>(littleEndian(b + 22, 4)));
        }
        return true;
    }
    if (size >= 4 && b[0] == 0xFF && b[1] == 0xD8) {
        // Walk the segments up to the first start-of-frame marker.
        std::size_t at = 2;
        while (at + 4 <= size && b[at] == 0xFF) {
            unsigned char marker = b[at + 1];
            if (marker == 0xFF) { // fill byte
                ++at;
                continue;
            }
            unsigned length = bigEndian(b + at + 2, 2);
            bool frame =
                marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
            if (frame) {
                if (at + 9 > size)
                    return false;
                height = clampSide(bigEndian(b + at + 5, 2));
                width = clampSide(bigEndian(b + at + 7, 2));
                return true;
            }
            if (length < 2)
                return false;
            at += 2 + length;
        }
    }
    return false;
}

int hnPngImage::loadBytes(const void* bytes, DWORD size) {
    hnScopedGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory)
        return 0;
    void* target = ::GlobalLock(memory.get());
    if (!target)
        return 0;
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory.get());

    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory.get(), FALSE, &stream)) || !stream)
        return 0;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    stream->Release(); // the bitmap keeps its own reference while it needs one
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok)
        return 0;
    auto decoded = std::make_shared<Decoded>();
    width_ = static_cast<int>(bitmap->GetWidth());
    height_ = static_cast<int>(bitmap->GetHeight());
    decoded->bitmap = std::move(bitmap);
    decoded->memory = std::move(memory);
    decoded_ = std::move(decoded);
    return 1;
}

void hnPngImage::draw(Gdiplus::Graphics& graphics, int x, int y, int width, int height, bool disabled) const {
    if (!decoded_ || width_ <= 0 || height_ <= 0 || width <= 0 || height <= 0)
        return;
    Gdiplus::Bitmap* bitmap = decoded_->bitmap.get();
    if (width != width_ || height != height_)
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    if (!disabled) {
        graphics.DrawImage(bitmap, x, y, width, height);
        return;
    }
    // Each of red, green and blue becomes one light grey made of all three;
    // alpha stays.
    Gdiplus::ColorMatrix grey = {{{0.2125f, 0.2125f, 0.2125f, 0.0f, 0.0f},
                                  {0.2577f, 0.2577f, 0.2577f, 0.0f, 0.0f},
                                  {0.1361f, 0.1361f, 0.1361f, 0.0f, 0.0f},
                                  {0.0f, 0.0f, 0.0f, 1.0f, 0.0f},
                                  {0.38f, 0.38f, 0.38f, 0.0f, 1.0f}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&grey);
    graphics.DrawImage(bitmap, Gdiplus::Rect(x, y, width, height), 0, 0, width_, height_, Gdiplus::UnitPixel,
                       &attributes);
}
