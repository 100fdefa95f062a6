#include "app/InstalledProducts.h"

#include <cstring>
#include <msi.h>

#include "app/AppBase.h"
#include "app/ScopedHandle.h"

namespace {
// A longer name does not fit and reads as no name.
constexpr DWORD kNameCapacity = 1024;
} // namespace

std::vector<ULONGLONG> hnInstalledProducts::registrationStamps() {
    // Machine products, per-user products of the current user and the
    // managed (per-user, by policy) ones. The installer keeps them in the
    // machine's own view whatever the package's bitness, which a 32-bit
    // program reaches through the 64-bit view flag (ignored on a 32-bit
    // system); the other view holds no registrations to watch.
    struct Registration {
        HKEY root;
        const char* key;
    };
    static const Registration kRegistrations[] = {
        {HKEY_LOCAL_MACHINE, "Software\\Classes\\Installer\\Products"},
        {HKEY_CURRENT_USER, "Software\\Microsoft\\Installer\\Products"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Managed"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData"}};
    std::vector<ULONGLONG> stamps;
    for (const Registration& registration : kRegistrations) {
        HKEY opened = nullptr;
        ULONGLONG stamp = 0;
        if (::RegOpenKeyExA(registration.root, registration.key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                            &opened) == ERROR_SUCCESS) {
            hnScopedKey key(opened);
            FILETIME written = {};
            DWORD subKeys = 0;
            if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, &written) == ERROR_SUCCESS)
                stamp = (static_cast<ULONGLONG>(written.dwHighDateTime) << 32 | written.dwLowDateTime) ^
                        (static_cast<ULONGLONG>(subKeys) << 1) ^ 1;
        }
        stamps.push_back(stamp);
    }
    return stamps;
}

hnInstalledProducts::Products hnInstalledProducts::all() {
    std::vector<ULONGLONG> stamps = registrationStamps();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!read_ || stamps != stamps_) {
        products_ = enumerateAll();
        stamps_ = std::move(stamps);
        read_ = true;
    }
    return products_;
}

std::vector<std::string> hnInstalledProducts::codesNamed(const char* prefix, std::size_t limit) {
    return matching(all(), prefix, limit);
}

std::vector<std::string> hnInstalledProducts::enumerateNamed(const char* prefix, std::size_t limit) {
    return matching(enumerateAll(), prefix, limit);
}

hnInstalledProducts::Products hnInstalledProducts::enumerateAll() {
    Products products;
    char productCode[39];
    // The enumeration ends with "no more items"; any other failure ends it
    // too, as the same index would only fail again.
    for (DWORD index = 0; ::MsiEnumProductsA(index, productCode) == ERROR_SUCCESS; ++index) {
        std::string name;
        hnReadProductInfo(productCode, "InstalledProductName", kNameCapacity, name);
        products.emplace_back(productCode, name);
    }
    return products;
}

std::vector<std::string> hnInstalledProducts::matching(const Products& products, const char* prefix,
                                                       std::size_t limit) {
    std::vector<std::string> codes;
    if (!prefix)
        return codes;
    std::size_t length = std::strlen(prefix);
    for (const auto& product : products) {
        if (codes.size() >= limit)
            break;
        if (product.second.compare(0, length, prefix) == 0)
            codes.push_back(product.first);
    }
    return codes;
}

bool hnReadProductInfo(const char* productCode, const char* property, DWORD capacity, std::string& value) {
    value.clear();
    if (!productCode || !property)
        return false;
    static const MSIINSTALLCONTEXT kContexts[] = {MSIINSTALLCONTEXT_MACHINE, MSIINSTALLCONTEXT_USERMANAGED,
                                                  MSIINSTALLCONTEXT_USERUNMANAGED};
    std::vector<char> buffer(capacity, '\0');
    for (MSIINSTALLCONTEXT context : kContexts) {
        DWORD length = capacity;
        if (::MsiGetProductInfoExA(productCode, nullptr, context, property, buffer.data(), &length) ==
            ERROR_SUCCESS) {
            value = buffer.data();
            return true;
        }
    }
    return false;
}

hnInstalledProducts* hnAppInstalledProducts() {
    hnAppBase* app = hnAppBase::current();
    return app ? &app->installedProducts() : nullptr;
}
