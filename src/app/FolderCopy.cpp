#include "app/FolderCopy.h"

#include <cstring>
#include <functional>
#include <vector>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/StopBlock.h"
#include "app/Text.h"

namespace {

constexpr DWORD kChunkBytes = 1u << 20;

bool isDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool stopped(const hnStopBlock* stop) {
    return stop && stop->stopRequested();
}

bool isFolder(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates `folder` with every missing folder above it.
bool makeFolderPath(const std::string& folder) {
    if (isFolder(folder))
        return true;
    std::size_t slash = folder.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && folder[slash - 1] != ':')
        makeFolderPath(folder.substr(0, slash));
    return ::CreateDirectoryA(folder.c_str(), nullptr) || isFolder(folder);
}

// Writes the open source into the open part file; false when stopped or failed.
bool copyContent(HANDLE from, HANDLE to, const hnStopBlock* stop) {
    std::vector<char> buffer(kChunkBytes);
    for (;;) {
        if (stopped(stop))
            return false;
        DWORD read = 0;
        if (!::ReadFile(from, buffer.data(), kChunkBytes, &read, nullptr))
            return false;
        if (read == 0)
            return true;
        DWORD written = 0;
        if (!::WriteFile(to, buffer.data(), read, &written, nullptr) || written != read)
            return false;
    }
}

hnFolderEntry::Kind kindOf(const WIN32_FIND_DATAA& data) {
    if (hnIsLink(data.dwFileAttributes, data.dwReserved0))
        return hnFolderEntry::Link;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? hnFolderEntry::Folder : hnFolderEntry::File;
}

} // namespace

bool hnListFolder(const std::string& folder, const std::function<bool(const hnFolderEntry&)>& visit) {
    std::string pattern;
    if (!hnFormat(pattern, kPathCapacity, "%s\\*.*", folder.c_str()))
        return false;
    WIN32_FIND_DATAA data = {};
    hnScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return false;
    do {
        if (!isDotEntry(data.cFileName)) {
            unsigned long long size = data.nFileSizeHigh;
            size = (size << 32) | data.nFileSizeLow;
            if (!visit({kindOf(data), data.cFileName, size}))
                return true;
        }
        // Zeroed for each entry: a reparse tag the file system leaves
        // unwritten must not be read from the entry before.
        data = {};
    } while (::FindNextFileA(find.get(), &data));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

namespace {

// The entry's paths on both sides of a copy. False when either does not fit
// (a cut path could name another file or folder) or the target side is a
// link: nothing is entered or written through a link there either.
bool joinBothSides(const std::string& source, const std::string& target, const char* name, std::string& from,
                   std::string& to) {
    return hnJoinPath(from, source, name) && hnJoinPath(to, target, name) && !hnIsLinkPath(to);
}

void copyEntries(const std::string& source, const std::string& target, const hnTreeCopyOptions& options,
                 hnTreeCopyResult& result);

void copyOneFile(const std::string& from, const std::string& to, const hnTreeCopyOptions& options,
                 hnTreeCopyResult& result) {
    if (hnSameFile(from, to)) {
        result.fail(from); // the one file seen twice is no copy
    } else if (::GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES && !options.overwrite) {
        if (hnSameSizeAndTime(from, to))
            ++result.identical;
        else
            ++result.differing;
    } else if (hnCopyFileComplete(from, to, options.overwrite, options.stop)) {
        ++result.copied;
    } else if (stopped(options.stop)) {
        result.stopped = true;
        return; // the file stopped halfway is not counted: it is not there
    } else {
        result.fail(from);
    }
    if (options.afterFile)
        options.afterFile();
}

void copyEntries(const std::string& source, const std::string& target, const hnTreeCopyOptions& options,
                 hnTreeCopyResult& result) {
    if (!isFolder(target) && !::CreateDirectoryA(target.c_str(), nullptr) && !isFolder(target)) {
        result.fail(target);
        return;
    }
    bool listed = hnListFolder(source, [&](const hnFolderEntry& entry) {
        if (stopped(options.stop)) {
            result.stopped = true;
            return false;
        }
        if (entry.kind == hnFolderEntry::Link) {
            ++result.links;
            return true;
        }
        std::string from, to;
        if (!joinBothSides(source, target, entry.name, from, to)) {
            result.fail(source + "\\" + entry.name);
            return true;
        }
        if (entry.kind == hnFolderEntry::Folder)
            copyEntries(from, to, options, result);
        else
            copyOneFile(from, to, options, result);
        return !result.stopped;
    });
    if (!listed)
        result.fail(source);
}

bool measureEntries(const std::string& folder, long long& files, long long& kilobytes) {
    bool whole = true;
    bool listed = hnListFolder(folder, [&](const hnFolderEntry& entry) {
        if (entry.kind == hnFolderEntry::Folder) {
            std::string sub;
            whole = hnJoinPath(sub, folder, entry.name) && measureEntries(sub, files, kilobytes) && whole;
        } else if (entry.kind == hnFolderEntry::File) {
            ++files;
            kilobytes += static_cast<long long>(entry.size / 1024);
        }
        return true;
    });
    return listed && whole;
}

} // namespace

bool hnSameSizeAndTime(const std::string& a, const std::string& b) {
    WIN32_FILE_ATTRIBUTE_DATA first, second;
    if (!::GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &first) ||
        !::GetFileAttributesExA(b.c_str(), GetFileExInfoStandard, &second))
        return false;
    if ((first.dwFileAttributes | second.dwFileAttributes) & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    return first.nFileSizeHigh == second.nFileSizeHigh && first.nFileSizeLow == second.nFileSizeLow &&
           ::CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime) == 0;
}

hnScopedHandle hnCreateFreshFile(const std::string& stem, unsigned digits, std::string& path) {
    unsigned mask = (1u << (4 * digits)) - 1;
    for (unsigned attempt = 0; attempt < 256; ++attempt) {
        unsigned serial = static_cast<unsigned>((::GetTickCount() + attempt * 7919u) & mask);
        bool named = digits == 0 ? hnFormat(path, kPathCapacity, "%s", stem.c_str())
                                 : hnFormat(path, kPathCapacity, "%s%x", stem.c_str(), serial);
        if (!named)
            break;
        hnScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (file || (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS))
            return file;
    }
    return hnScopedHandle();
}

bool hnSameFile(const std::string& a, const std::string& b) {
    auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        hnScopedHandle file(
            ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        return file && ::GetFileInformationByHandle(file.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION first, second;
    return identify(a, first) && identify(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

bool hnCopyFileComplete(const std::string& source, const std::string& target, bool replace,
                        const hnStopBlock* stop) {
    DWORD attributes = ::GetFileAttributesA(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        hnIsLinkPath(target) || hnSameFile(source, target))
        return false;
    std::size_t cut = target.find_last_of("\\/");
    if (cut == std::string::npos || cut + 1 >= target.size())
        return false;
    hnScopedHandle from(::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!from)
        return false;
    // The part file gets a short name of its own that does not exist yet:
    // nothing there is ever opened, replaced or renamed away, and a target
    // whose path fits also fits its part file.
    std::string part;
    std::size_t nameLength = target.size() - cut - 1;
    hnScopedHandle to = hnCreateFreshFile(target.substr(0, cut + 1) + "~",
                                          nameLength > 4 ? 4u : static_cast<unsigned>(nameLength - 1), part);
    if (!to)
        return false;
    // Flushed before it counts: a move deletes the source next.
    FILETIME created, accessed, written;
    bool done = copyContent(from.get(), to.get(), stop) &&
                ::GetFileTime(from.get(), &created, &accessed, &written) &&
                ::SetFileTime(to.get(), &created, &accessed, &written) && ::FlushFileBuffers(to.get());
    to.reset();
    from.reset();
    if (done) {
        if (replace && ::GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        done = ::MoveFileExA(part.c_str(), target.c_str(), flags) != FALSE;
    }
    if (!done) {
        ::DeleteFileA(part.c_str());
        return false;
    }
    ::SetFileAttributesA(target.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT));
    return true;
}

bool hnCopyFolderTree(const std::string& source, const std::string& target, const hnTreeCopyOptions& options,
                      hnTreeCopyResult& result) {
    if (stopped(options.stop)) {
        result.stopped = true;
        return false;
    }
    DWORD attributes = ::GetFileAttributesA(source.c_str());
    if (source.empty() || target.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY) || hnIsLinkPath(source)) {
        result.fail(source);
        return false;
    }
    try {
        if (!makeFolderPath(target)) {
            result.fail(target);
            return false;
        }
        copyEntries(source, target, options, result);
    } catch (...) {
        result.fail(source);
        return false;
    }
    return !result.stopped && isFolder(target);
}

namespace {

// True when every entry below `source` went; what is kept stays whole.
bool deleteMovedEntries(const std::string& source, const std::string& target) {
    bool all = true;
    bool listed = hnListFolder(source, [&](const hnFolderEntry& entry) {
        std::string from, to;
        if (entry.kind == hnFolderEntry::Link || !joinBothSides(source, target, entry.name, from, to))
            all = false;
        else if (entry.kind == hnFolderEntry::Folder)
            all = deleteMovedEntries(from, to) && ::RemoveDirectoryA(from.c_str()) && all;
        else // checked again now: the target holds a different file of the same size and time
            all = !hnSameFile(from, to) && hnSameSizeAndTime(from, to) && deleteFileForced(from) && all;
        return true;
    });
    return listed && all;
}

} // namespace

bool hnDeleteMovedTree(const std::string& source, const std::string& target) {
    try {
        if (!isFolder(source) || hnIsLinkPath(source) || !isFolder(target) || hnSameFile(source, target))
            return false;
        return deleteMovedEntries(source, target) && ::RemoveDirectoryA(source.c_str());
    } catch (...) {
        return false;
    }
}

bool hnMeasureFolderTree(const std::string& folder, long long& files, long long& kilobytes) {
    files = 0;
    kilobytes = 0;
    try {
        return isFolder(folder) && measureEntries(folder, files, kilobytes);
    } catch (...) {
        return false;
    }
}
