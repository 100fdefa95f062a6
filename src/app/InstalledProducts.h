#pragma once
// The Windows Installer products of the machine with their names, kept
// between detections. Enumerating every product and reading every name takes
// a noticeable part of a page activation (several milliseconds per product
// on a slow machine), yet the list only changes when a product is installed
// or removed, and that adds or deletes a key under one of the product
// registrations, which dates the registration key. The list is read again
// whenever one of those dates (or a key's presence) has changed.
// The application object keeps one list for the whole process; it may be
// asked from any thread.
#include <mutex>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

class hnInstalledProducts {
public:
    using Products = std::vector<std::pair<std::string, std::string>>; // code, name ("" when unreadable)

    // Every product, in the order the installer enumerates them.
    Products all();
    // Codes of the products whose installed name begins with `prefix`, at
    // most `limit` of them, in the order the installer enumerates them.
    std::vector<std::string> codesNamed(const char* prefix, std::size_t limit);

    // The same answers read afresh from the installer, keeping nothing.
    static Products enumerateAll();
    static std::vector<std::string> enumerateNamed(const char* prefix, std::size_t limit);
    // Codes of `products` whose name begins with `prefix`, at most `limit`.
    static std::vector<std::string> matching(const Products& products, const char* prefix, std::size_t limit);

private:
    // One date per product registration key and view; zero for a missing key.
    static std::vector<ULONGLONG> registrationStamps();

    std::mutex mutex_;
    Products products_;
    std::vector<ULONGLONG> stamps_;
    bool read_ = false;
};

// A product property of any installation context (machine, managed or
// unmanaged per-user), the first one that answers; false when none does.
bool hnReadProductInfo(const char* productCode, const char* property, DWORD capacity, std::string& value);

// The application object's kept list, or null outside an application.
hnInstalledProducts* hnAppInstalledProducts();
