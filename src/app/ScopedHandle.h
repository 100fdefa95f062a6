#pragma once
// One move-only owner for every kind of handle the program holds. A kind is a
// traits struct: its handle type, the value that means "none", the validity
// test and the release call.
#include <windows.h>
#include <wininet.h>
#include <msi.h>
#include <utility>

template <typename Traits> class hnScoped {
public:
    using handle_type = typename Traits::type;

    hnScoped() noexcept : h_(Traits::none()) {}
    explicit hnScoped(handle_type h) noexcept : h_(h) {}
    ~hnScoped() { reset(); }

    hnScoped(const hnScoped&) = delete;
    hnScoped& operator=(const hnScoped&) = delete;
    hnScoped(hnScoped&& other) noexcept : h_(other.release()) {}
    hnScoped& operator=(hnScoped&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    handle_type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return Traits::valid(h_); }

    // Releases what is held and hands out the slot for an out-parameter.
    handle_type* put() noexcept {
        reset();
        return &h_;
    }
    handle_type release() noexcept { return std::exchange(h_, Traits::none()); }
    void reset(handle_type h = Traits::none()) noexcept {
        handle_type old = std::exchange(h_, h);
        if (Traits::valid(old))
            Traits::close(old);
    }

private:
    handle_type h_;
};

struct hnKernelHandleTraits {
    using type = HANDLE;
    static type none() { return nullptr; }
    // Kernel calls disagree on what "no handle" is; both values count as none.
    static bool valid(type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(type h) { ::CloseHandle(h); }
};

struct hnFindHandleTraits {
    using type = HANDLE;
    static type none() { return INVALID_HANDLE_VALUE; }
    static bool valid(type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(type h) { ::FindClose(h); }
};

struct hnRegKeyTraits {
    using type = HKEY;
    static type none() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::RegCloseKey(h); }
};

struct hnInternetTraits {
    using type = HINTERNET;
    static type none() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::InternetCloseHandle(h); }
};

struct hnMsiHandleTraits {
    using type = MSIHANDLE;
    static type none() { return 0; }
    static bool valid(type h) { return h != 0; }
    static void close(type h) { ::MsiCloseHandle(h); }
};

template <typename T> struct hnGdiObjectTraits {
    using type = T;
    static type none() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::DeleteObject(h); }
};

struct hnModuleTraits {
    using type = HMODULE;
    static type none() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::FreeLibrary(h); }
};

struct hnGlobalMemoryTraits {
    using type = HGLOBAL;
    static type none() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::GlobalFree(h); }
};

struct hnCursorTraits {
    using type = HCURSOR;
    static type none() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::DestroyCursor(h); }
};

using hnScopedHandle = hnScoped<hnKernelHandleTraits>;
using hnScopedFind = hnScoped<hnFindHandleTraits>;
using hnScopedKey = hnScoped<hnRegKeyTraits>;
using hnScopedInternet = hnScoped<hnInternetTraits>;
using hnScopedMsi = hnScoped<hnMsiHandleTraits>;
using hnScopedModule = hnScoped<hnModuleTraits>;
using hnScopedGlobal = hnScoped<hnGlobalMemoryTraits>;
using hnScopedCursor = hnScoped<hnCursorTraits>;
template <typename T> using hnScopedGdi = hnScoped<hnGdiObjectTraits<T>>;
