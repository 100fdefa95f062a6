#include "install/ActionServices.h"

#include <minizip/unzip.h>
#include <msi.h>
#include <vector>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/InstallationElement.h"
#include "process/ProcessLaunch.h"

namespace {

const char* const kRuntimeProductCode = "{76C2FFEE-53C1-4382-B051-5CF47ED51327}";
const char* const kRuntimeProductName = "Orvanto Version XV 15.0.0.774 Runtime";

bool readProductName(const char* productCode, std::string& name) {
    const MSIINSTALLCONTEXT contexts[] = {MSIINSTALLCONTEXT_MACHINE, MSIINSTALLCONTEXT_USERMANAGED,
                                          MSIINSTALLCONTEXT_USERUNMANAGED};
    for (MSIINSTALLCONTEXT context : contexts) {
        char buffer[260] = {};
        DWORD size = sizeof(buffer);
        if (::MsiGetProductInfoExA(productCode, nullptr, context, INSTALLPROPERTY_INSTALLEDPRODUCTNAME,
                                   buffer, &size) == ERROR_SUCCESS) {
            name = buffer;
            return true;
        }
    }
    return false;
}

// Keeps every extracted path below `folder`: no drive, no root, no "..".
bool isContainedEntryName(const std::string& name) {
    if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part == "..")
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

bool makeFolderChain(const std::string& path) {
    if (path.empty() || fileExists(path))
        return true;
    std::size_t cut = path.find_last_of('\\');
    if (cut != std::string::npos && !makeFolderChain(path.substr(0, cut)))
        return false;
    return ::CreateDirectoryA(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace

bool actionMsiProductInstalled(const char* productCode) {
    const MSIINSTALLCONTEXT contexts[] = {MSIINSTALLCONTEXT_MACHINE, MSIINSTALLCONTEXT_USERMANAGED,
                                          MSIINSTALLCONTEXT_USERUNMANAGED};
    for (MSIINSTALLCONTEXT context : contexts) {
        char buffer[64] = {};
        DWORD size = sizeof(buffer);
        if (::MsiGetProductInfoExA(productCode, nullptr, context, INSTALLPROPERTY_VERSIONSTRING, buffer,
                                   &size) == ERROR_SUCCESS)
            return true;
    }
    return false;
}

bool actionRuntimeFolder(std::string& folder) {
    folder.clear();
    std::string name;
    if (!readProductName(kRuntimeProductCode, name) || !hnEqualsNoCase(name, kRuntimeProductName))
        return false;
    std::string keyPath;
    if (!hnFormat(keyPath, kPathCapacity, "SOFTWARE\\HALVENOR AS\\%s", kRuntimeProductName))
        return false;
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, keyPath.c_str(), KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    char buffer[kPathCapacity] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    if (::RegQueryValueExA(key.get(), "InstallPath", nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                           &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || !buffer[0])
        return false;
    folder = buffer;
    return true;
}

hnInstallDialogRun::hnInstallDialogRun(int, int, hnInstallationElement& element, bool downloadOnly, bool,
                                       bool)
    : element_(element), downloadOnly_(downloadOnly) {
    hnJoinPath(finalPath_, element.downloadFolder, element.fileName);
}

hnInstallDialogRun::~hnInstallDialogRun() = default;

void hnInstallDialogRun::run() {
    if (!downloadOnly_ && fileExists(finalPath_))
        runDownloadedInstaller(finalPath_, element_.switches, element_.isMsiPackage);
}

bool extractComponentArchive(const std::string& archive, const std::string& folder) {
    unzFile zip = ::unzOpen(archive.c_str());
    if (!zip)
        return false;
    bool ok = ::unzGoToFirstFile(zip) == UNZ_OK;
    while (ok) {
        char name[kPathCapacity] = {};
        unz_file_info info = {};
        if (::unzGetCurrentFileInfo(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK ||
            !isContainedEntryName(name)) {
            ok = false;
            break;
        }
        std::string relative(name);
        for (char& c : relative)
            if (c == '/')
                c = '\\';
        std::string path;
        if (!hnJoinPath(path, folder, relative)) {
            ok = false;
            break;
        }
        if (!relative.empty() && relative.back() == '\\') {
            path.pop_back();
            ok = makeFolderChain(path);
        } else {
            ok = makeFolderChain(path.substr(0, path.find_last_of('\\'))) &&
                 ::unzOpenCurrentFile(zip) == UNZ_OK;
            if (ok) {
                hnScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_ATTRIBUTE_NORMAL, nullptr));
                ok = static_cast<bool>(file);
                char chunk[2048];
                int got = 0;
                while (ok && (got = ::unzReadCurrentFile(zip, chunk, sizeof(chunk))) > 0) {
                    DWORD written = 0;
                    ok = ::WriteFile(file.get(), chunk, static_cast<DWORD>(got), &written, nullptr) &&
                         written == static_cast<DWORD>(got);
                }
                ok = ok && got == 0;
                ok = (::unzCloseCurrentFile(zip) == UNZ_OK) && ok;
            }
        }
        if (!ok)
            break;
        int next = ::unzGoToNextFile(zip);
        if (next == UNZ_END_OF_LIST_OF_FILE)
            break;
        ok = next == UNZ_OK;
    }
    ::unzClose(zip);
    return ok;
}
