#include "app/FileHelpers.h"

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

namespace {

bool isLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

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
        if (isLink(data.dwFileAttributes)) {
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
        if (isLink(attributes)) {
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

bool isPlainFileName(const std::string& fileName) {
    return !fileName.empty() && fileName != "." && fileName != ".." &&
           fileName.find_first_of("\\/:") == std::string::npos;
}
