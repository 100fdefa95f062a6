#include "app/FileHelpers.h"

#include <cstring>
#include <shlobj.h>
#include <windows.h>

#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"

const char* const kInstallDataFolderName = "_OrvantoInstallData";

bool fileExists(const std::string& path) {
    WIN32_FIND_DATAA data = {};
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
    WIN32_FIND_DATAA data = {};
    if (entry.find_first_of("*?") == std::string::npos) {
        // A listing that reports no reparse point for an entry whose
        // attributes say it is one has followed it: its tag is not the link's.
        hnScopedFind find(::FindFirstFileA(entry.c_str(), &data));
        if (find && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return hnIsLink(attributes, data.dwReserved0);
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
    WIN32_FIND_DATAA data = {};
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

bool hnMakeRealFolder(const std::string& path) {
    if (hnIsLinkPath(path))
        removeLink(path, ::GetFileAttributesA(path.c_str()));
    ::CreateDirectoryA(path.c_str(), nullptr);
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !hnIsLinkPath(path);
}

bool deleteInstallDataFolder(const std::string& folder) {
    std::string cache;
    if (!hnJoinPath(cache, folder, kInstallDataFolderName))
        return false;
    if (!fileExists(cache))
        return true;
    // The tree delete goes on past what it cannot remove: gone is the answer.
    return deleteFolderTree(cache.c_str(), cache.c_str()) && !fileExists(cache);
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
    // COM and LPT followed by a superscript digit 1-3 name ports too, in the
    // ANSI code page or as UTF-8.
    static const char* const kSuperscripts[] = {"\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    if (base.size() < 4 ||
        (lstrcmpiA(base.substr(0, 3).c_str(), "COM") && lstrcmpiA(base.substr(0, 3).c_str(), "LPT")))
        return false;
    for (const char* superscript : kSuperscripts)
        if (base.compare(3, std::string::npos, superscript) == 0)
            return true;
    return false;
}

// "PROGRA~1", "ABCDEF~2.TXT": at most eight characters ending in "~" and
// digits, then an optional extension of at most three characters.
bool isShortAliasName(const std::string& name) {
    std::size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    if (dot != std::string::npos) {
        std::string extension = name.substr(dot + 1);
        if (extension.size() > 3 || extension.find('.') != std::string::npos)
            return false;
    }
    std::size_t tilde = base.rfind('~');
    if (base.size() > 8 || tilde == std::string::npos || tilde + 1 == base.size())
        return false;
    for (std::size_t i = tilde + 1; i < base.size(); ++i)
        if (base[i] < '0' || base[i] > '9')
            return false;
    return true;
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
    return isPlainLocalFileName(fileName) && !isShortAliasName(fileName);
}

bool isPlainLocalFileName(const std::string& fileName) {
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

namespace {

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

// `path` is `folder` or lies inside it (both full paths, any case).
bool isAtOrBelow(const std::string& path, const std::string& folder) {
    std::string outer = withoutTrailingSeparators(folder);
    if (outer.empty() || path.size() < outer.size() ||
        lstrcmpiA(path.substr(0, outer.size()).c_str(), outer.c_str()))
        return false;
    return path.size() == outer.size() || path[outer.size()] == '\\' || path[outer.size()] == '/' ||
           outer.back() == '\\';
}

// Where the link at `path` finally leads ("" when that cannot be read).
std::string finalTargetOf(const std::string& path) {
    hnScopedHandle folder(::CreateFileA(path.c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder)
        return "";
    char buffer[kPathCapacity] = {};
    DWORD length = ::GetFinalPathNameByHandleA(folder.get(), buffer, sizeof(buffer), FILE_NAME_NORMALIZED);
    if (length == 0 || length >= sizeof(buffer))
        return "";
    std::string target(buffer, length);
    if (target.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\" + target.substr(7);
    if (target.compare(0, 4, "\\\\?\\") == 0)
        return target.substr(4);
    return target;
}

void addShellFolder(std::vector<std::string>& folders, int id) {
    char buffer[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, buffer)) && buffer[0])
        folders.push_back(buffer);
}

} // namespace

hnLinkRules hnMachineLinkRules() {
    hnLinkRules rules;
    addShellFolder(rules.forbiddenTargets, CSIDL_WINDOWS);
    addShellFolder(rules.forbiddenTargets, CSIDL_PROGRAM_FILES);
    addShellFolder(rules.forbiddenTargets, CSIDL_PROGRAM_FILESX86);
    // The native program-files folder, which the 32-bit program's own view
    // does not name.
    std::string native;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                        KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
        char buffer[MAX_PATH] = {};
        DWORD size = sizeof(buffer) - 1, type = 0;
        if (::RegQueryValueExA(key, "ProgramW6432Dir", nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                               &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ) && buffer[0])
            rules.forbiddenTargets.push_back(buffer);
        ::RegCloseKey(key);
    }
    char windows[MAX_PATH] = {};
    UINT length = ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    if (length >= 3 && length < MAX_PATH)
        rules.forbiddenRoot.assign(windows, 3);
    return rules;
}

bool hnMayPassFolder(unsigned long attributes, unsigned long reparseTag, bool followable,
                     const std::string& finalTarget, const hnLinkRules& rules) {
    if (!hnIsLink(attributes, reparseTag))
        return true;
    if (!followable || finalTarget.empty())
        return false;
    std::string target = withoutTrailingSeparators(finalTarget);
    if (!rules.forbiddenRoot.empty() &&
        lstrcmpiA(target.c_str(), withoutTrailingSeparators(rules.forbiddenRoot).c_str()) == 0)
        return false;
    for (const std::string& forbidden : rules.forbiddenTargets)
        if (isAtOrBelow(target, forbidden))
            return false;
    return true;
}

bool hnFolderChainIsSafe(const std::string& base, const std::string& path, int followable,
                         const hnLinkRules& rules, std::string& refusal) {
    refusal.clear();
    std::string outer, inner;
    if (!fullPath(base, outer) || !fullPath(path, inner))
        return false;
    outer = withoutTrailingSeparators(outer);
    inner = withoutTrailingSeparators(inner);
    if (!isAtOrBelow(inner, outer))
        return false;
    std::string current = outer;
    std::size_t start = outer.size();
    for (int depth = 0; start < inner.size(); ++depth) {
        while (start < inner.size() && (inner[start] == '\\' || inner[start] == '/'))
            ++start;
        std::size_t end = inner.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = inner.size();
        if (end == start)
            break;
        current = inner.substr(0, end);
        start = end;
        WIN32_FIND_DATAA data = {};
        hnScopedFind find(::FindFirstFileA(current.c_str(), &data));
        if (!find)
            return true; // made later as a real folder
        if (!hnIsLink(data.dwFileAttributes, data.dwReserved0))
            continue;
        std::string target = finalTargetOf(current);
        if (!hnMayPassFolder(data.dwFileAttributes, data.dwReserved0, depth < followable, target, rules)) {
            refusal = "The folder '" + current + "' is a link to '" + target +
                      "'; the installer does not write there.";
            return false;
        }
    }
    return true;
}

bool hnWriteFolderIsSafe(const std::string& path, std::string& refusal) {
    refusal.clear();
    std::string full;
    if (!fullPath(path, full))
        return false;
    struct Base {
        std::string folder;
        int followable;
    };
    std::vector<Base> bases;
    std::string folder;
    if (hnDocumentsFolder(folder))
        bases.push_back({folder, 2});
    if (hnTempFolder(folder))
        bases.push_back({folder, 0});
    folder = applicationFolder();
    if (!folder.empty())
        bases.push_back({folder, 0});
    const Base* nearest = nullptr;
    for (const Base& base : bases)
        if (isAtOrBelow(full, base.folder) && (!nearest || base.folder.size() > nearest->folder.size()))
            nearest = &base;
    if (!nearest)
        return true;
    return hnFolderChainIsSafe(nearest->folder, full, nearest->followable, hnMachineLinkRules(), refusal);
}
