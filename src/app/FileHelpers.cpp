#include "app/FileHelpers.h"

#include <cstring>
#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/Text.h"

const char* const kInstallDataFolderName = "_OrvantoInstallData";

bool fileExists(const std::string& path) {
    WIN32_FIND_DATAA data;
    hnScopedFind find(::FindFirstFileA(path.c_str(), &data));
    return static_cast<bool>(find);
}

bool deleteFileForced(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool hnIsLink(unsigned long attributes, unsigned long reparseTag) {
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT || reparseTag == 0;
}

bool hnIsLinkPath(const std::string& path) {
    std::string entry(path);
    while (entry.size() > 3 && (entry.back() == '\\' || entry.back() == '/'))
        entry.pop_back();
    DWORD attributes = ::GetFileAttributesA(entry.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    // The tag comes only with a listing; a name with wildcards, or a root,
    // cannot be listed as itself and keeps the unread tag.
    WIN32_FIND_DATAA data;
    if (entry.find_first_of("*?") == std::string::npos) {
        hnScopedFind find(::FindFirstFileA(entry.c_str(), &data));
        if (find)
            return hnIsLink(data.dwFileAttributes, data.dwReserved0);
    }
    return hnIsLink(attributes, 0);
}

namespace {

// A link is removed as what it is: a folder link with RemoveDirectory, a file
// link with DeleteFile. Neither call follows it.
void removeLink(const std::string& path, DWORD attributes) {
    ::SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!::RemoveDirectoryA(path.c_str()))
            ::DeleteFileA(path.c_str());
    } else if (!::DeleteFileA(path.c_str())) {
        ::RemoveDirectoryA(path.c_str());
    }
}

void deleteTreeContents(const std::string& path, const char* guard) {
    std::string pattern;
    if (!hnFormat(pattern, kPathCapacity, "%s\\*.*", path.c_str()))
        return;
    WIN32_FIND_DATAA data;
    hnScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return;
    do {
        if (!lstrcmpA(data.cFileName, ".") || !lstrcmpA(data.cFileName, ".."))
            continue;
        std::string entry;
        if (!hnFormat(entry, kPathCapacity, "%s/%s", path.c_str(), data.cFileName))
            continue; // a name we cannot address is left alone
        if (hnIsLink(data.dwFileAttributes, data.dwReserved0)) {
            removeLink(entry, data.dwFileAttributes);
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            deleteFolderTree(entry.c_str(), guard);
        } else if (!deleteFileForced(entry)) {
            ::RemoveDirectoryA(entry.c_str());
        }
    } while (::FindNextFileA(find.get(), &data));
}

} // namespace

bool deleteFolderTree(const char* path, const char* guard) {
    if (!path || !guard || !*path || !*guard)
        return false;
    try {
        std::string folder(path);
        if (folder.size() <= 6 || folder.find(guard) == std::string::npos)
            return false;
        DWORD attributes = ::GetFileAttributesA(path);
        if (hnIsLinkPath(folder)) {
            removeLink(folder, attributes);
            return true;
        }
        deleteTreeContents(folder, guard);
        ::RemoveDirectoryA(path);
        return true;
    } catch (...) {
        return false;
    }
}

bool deleteInstallDataFolder(const std::string& folder) {
    std::string cache;
    if (!hnJoinPath(cache, folder, kInstallDataFolderName))
        return false;
    if (!fileExists(cache))
        return true;
    return deleteFolderTree(cache.c_str(), cache.c_str());
}

namespace {

// Names the file system takes for devices, whatever extension follows.
bool isDeviceName(const std::string& name) {
    static const char* const kDevices[] = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",   "COM8",
        "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (const char* device : kDevices)
        if (lstrcmpiA(base.c_str(), device) == 0)
            return true;
    return false;
}

bool fullPath(const std::string& path, std::string& out) {
    char buffer[kPathCapacity] = {};
    DWORD length = ::GetFullPathNameA(path.c_str(), sizeof(buffer), buffer, nullptr);
    if (length == 0 || length >= sizeof(buffer))
        return false;
    out.assign(buffer, length);
    return true;
}

} // namespace

bool isPlainFileName(const std::string& fileName) {
    if (fileName.empty() || fileName == "." || fileName == "..")
        return false;
    for (unsigned char c : fileName)
        if (c < 32 || c == 127 || std::strchr("\\/:*?\"<>|", c))
            return false;
    char last = fileName.back();
    return last != '.' && last != ' ' && !isDeviceName(fileName);
}

bool isPlainNameInFolder(const std::string& folder, const std::string& name) {
    return isPlainFileName(name) && folder.size() + name.size() < kPathCapacity;
}

bool isStrictlyInsideFolder(const std::string& path, const std::string& folder) {
    std::string inner, outer;
    if (path.empty() || folder.empty() || !fullPath(path, inner) || !fullPath(folder, outer))
        return false;
    while (!outer.empty() && (outer.back() == '\\' || outer.back() == '/'))
        outer.pop_back();
    while (!inner.empty() && (inner.back() == '\\' || inner.back() == '/'))
        inner.pop_back();
    if (outer.empty() || inner.size() <= outer.size() + 1)
        return false;
    return lstrcmpiA(inner.substr(0, outer.size()).c_str(), outer.c_str()) == 0 &&
           (inner[outer.size()] == '\\' || inner[outer.size()] == '/');
}
