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
    return loadBytes(bytes.data(), static_cast<DWORD>(bytes.size()));
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

void hnPngImage::draw(Gdiplus::Graphics& graphics, int x, int y, bool disabled) const {
    if (!decoded_ || width_ <= 0 || height_ <= 0)
        return;
    Gdiplus::Bitmap* bitmap = decoded_->bitmap.get();
    if (!disabled) {
        graphics.DrawImage(bitmap, x, y, width_, height_);
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
    graphics.DrawImage(bitmap, Gdiplus::Rect(x, y, width_, height_), 0, 0, width_, height_,
                       Gdiplus::UnitPixel, &attributes);
}
