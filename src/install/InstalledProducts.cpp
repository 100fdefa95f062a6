#include "install/InstalledProducts.h"

#include <cstring>
#include <msi.h>

#include "app/ScopedHandle.h"
#include "install/CheckInstallations.h"

std::vector<ULONGLONG> hnInstalledProducts::registrationStamps() {
    // Machine products, per-user products of the current user and the
    // managed (per-user, by policy) ones; the installer keeps them in the
    // machine's own view, which a 32-bit program reaches through the 64-bit
    // view flag (ignored on a 32-bit system).
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
    for (const Registration& registration : kRegistrations)
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            HKEY opened = nullptr;
            ULONGLONG stamp = 0;
            if (::RegOpenKeyExA(registration.root, registration.key, 0, KEY_QUERY_VALUE | view, &opened) ==
                ERROR_SUCCESS) {
                hnScopedKey key(opened);
                FILETIME written = {};
                DWORD subKeys = 0;
                if (::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, &written) == ERROR_SUCCESS)
                    stamp = (static_cast<ULONGLONG>(written.dwHighDateTime) << 32 | written.dwLowDateTime) ^
                            (static_cast<ULONGLONG>(subKeys) << 1) ^ 1;
            }
            stamps.push_back(stamp);
        }
    return stamps;
}

std::vector<std::string> hnInstalledProducts::codesNamed(const char* prefix, std::size_t limit) {
    std::vector<std::string> codes;
    if (!prefix)
        return codes;
    std::vector<ULONGLONG> stamps = registrationStamps();
    if (!read_ || stamps != stamps_) {
        products_.clear();
        char productCode[39];
        // The enumeration ends with "no more items"; any other failure ends
        // it too, as the same index would only fail again.
        for (DWORD index = 0; ::MsiEnumProductsA(index, productCode) == ERROR_SUCCESS; ++index) {
            std::string name;
            hnCheckInstallations::readInstalledProductName(productCode, name);
            products_.emplace_back(productCode, name);
        }
        stamps_ = std::move(stamps);
        read_ = true;
    }
    std::size_t length = std::strlen(prefix);
    for (const auto& product : products_) {
        if (codes.size() >= limit)
            break;
        if (product.second.compare(0, length, prefix) == 0)
            codes.push_back(product.first);
    }
    return codes;
}
