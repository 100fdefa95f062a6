#include "app/FolderCopy.h"

#include <cstring>
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

void copyEntries(const std::string& source, const std::string& target, const hnTreeCopyOptions& options,
                 hnTreeCopyResult& result);

void copyOneFile(const std::string& from, const std::string& to, const hnTreeCopyOptions& options,
                 hnTreeCopyResult& result) {
    if (::GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES && !options.overwrite) {
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
        ++result.failed;
    }
    if (options.afterFile)
        options.afterFile();
}

void copyEntries(const std::string& source, const std::string& target, const hnTreeCopyOptions& options,
                 hnTreeCopyResult& result) {
    if (!isFolder(target) && !::CreateDirectoryA(target.c_str(), nullptr) && !isFolder(target)) {
        ++result.failed;
        return;
    }
    std::string pattern;
    if (!hnFormat(pattern, kPathCapacity, "%s\\*.*", source.c_str())) {
        ++result.failed;
        return;
    }
    WIN32_FIND_DATAA data;
    hnScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return; // an empty folder
    do {
        if (stopped(options.stop)) {
            result.stopped = true;
            return;
        }
        if (isDotEntry(data.cFileName))
            continue;
        if (hnIsLink(data.dwFileAttributes, data.dwReserved0)) {
            ++result.links;
            continue;
        }
        // A name that does not fit is not copied: a cut path could name
        // another file or folder.
        std::string from, to;
        if (!hnJoinPath(from, source, data.cFileName) || !hnJoinPath(to, target, data.cFileName)) {
            ++result.failed;
            continue;
        }
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copyEntries(from, to, options, result);
        else
            copyOneFile(from, to, options, result);
        if (result.stopped)
            return;
    } while (::FindNextFileA(find.get(), &data));
}

bool measureEntries(const std::string& folder, long long& files, long long& kilobytes) {
    std::string pattern;
    if (!hnFormat(pattern, kPathCapacity, "%s\\*.*", folder.c_str()))
        return false;
    WIN32_FIND_DATAA data;
    hnScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return true;
    bool whole = true;
    do {
        if (isDotEntry(data.cFileName) || hnIsLink(data.dwFileAttributes, data.dwReserved0))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::string sub;
            whole = hnJoinPath(sub, folder, data.cFileName) && measureEntries(sub, files, kilobytes) && whole;
            continue;
        }
        ++files;
        unsigned long long size =
            (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        kilobytes += static_cast<long long>(size / 1024);
    } while (::FindNextFileA(find.get(), &data));
    return whole;
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

bool hnCopyFileComplete(const std::string& source, const std::string& target, bool replace,
                        const hnStopBlock* stop) {
    std::string part;
    if (!hnFormat(part, kPathCapacity, "%s.hnpart", target.c_str()))
        return false;
    DWORD attributes = ::GetFileAttributesA(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    bool done = false;
    {
        hnScopedHandle from(::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        if (!from)
            return false;
        hnScopedHandle to(::CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!to)
            return false;
        FILETIME created, accessed, written;
        done = copyContent(from.get(), to.get(), stop) &&
               ::GetFileTime(from.get(), &created, &accessed, &written) &&
               ::SetFileTime(to.get(), &created, &accessed, &written);
    }
    if (done) {
        if (replace)
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
        ++result.failed;
        return false;
    }
    try {
        if (!makeFolderPath(target)) {
            ++result.failed;
            return false;
        }
        copyEntries(source, target, options, result);
    } catch (...) {
        ++result.failed;
        return false;
    }
    return !result.stopped && isFolder(target);
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
