#include "python/IntegrationFiles.h"

#include <cstdlib>
#include <cstring>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/CheckInstallations.h"
#include "install/FileSets.h"
#include "install/InstallHelpers.h"

namespace {

const char* const kShortcutName = "Orvanto Version XV";
constexpr int kNotifyEvery = 25;

bool isDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load();
}

bool copyTree(const std::string& source, const std::string& destination, bool overwrite,
              const std::atomic<bool>* cancel, HWND notifyWindow, UINT message, int* counter) {
    if (!fileExists(destination))
        ::CreateDirectoryA(destination.c_str(), nullptr);
    if (!fileExists(destination))
        return false;
    std::string pattern;
    if (!hnFormat(pattern, kPathCapacity, "%s\\*.*", source.c_str()))
        return false;
    WIN32_FIND_DATAA data;
    hnScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return true; // nothing to copy
    do {
        if (cancelled(cancel))
            return false;
        if (isDotEntry(data.cFileName))
            continue;
        std::string from, to;
        if (!hnJoinPath(from, source, data.cFileName) || !hnJoinPath(to, destination, data.cFileName))
            return false;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!copyTree(from, to, overwrite, cancel, notifyWindow, message, counter))
                return false;
            continue;
        }
        if (!fileExists(to))
            ::CopyFileA(from.c_str(), to.c_str(), FALSE);
        else if (overwrite)
            copyFileReplacing(from, to);
        if (counter) {
            ++*counter;
            if (notifyWindow && *counter % kNotifyEvery == 0)
                ::SendMessageA(notifyWindow, message, static_cast<WPARAM>(*counter), 0);
        }
    } while (::FindNextFileA(find.get(), &data));
    return true;
}

} // namespace

bool copyFolderTree(const char* source, const char* destination, bool overwrite,
                    const std::atomic<bool>* cancel, HWND notifyWindow, UINT message, int* counter) {
    // A missing source folder is a failed copy, not an empty one: callers
    // have deleted the old destination and must learn that nothing came.
    if (cancelled(cancel) || !source || !destination || !*source || !*destination || !fileExists(source))
        return false;
    try {
        return copyTree(source, destination, overwrite, cancel, notifyWindow, message, counter);
    } catch (...) {
        return false;
    }
}

int copyClrFiles(const char* source, const char* destination) {
    if (!source || !destination)
        return 0;
    const char* const names[] = {"clr.pyd", "Python.Runtime.dll"};
    std::string from[2], to[2];
    for (int i = 0; i < 2; ++i) {
        if (!hnFormat(from[i], kPathCapacity, "%s%s", source, names[i]) ||
            !hnFormat(to[i], kPathCapacity, "%s%s", destination, names[i]) || !fileExists(from[i]))
            return 0;
    }
    bool copied = true;
    for (int i = 0; i < 2; ++i)
        copied = copyFileReplacing(from[i], to[i]) && copied;
    return copied ? 1 : -1;
}

bool createRuntimeShortcut(const char* workingFolder, const char* shortcutFolder, const char* target,
                           const char* arguments) {
    return createShortcut(arguments, workingFolder, kShortcutName, shortcutFolder, target);
}

bool deleteRuntimeShortcuts(const char* shortcutFolder) {
    std::string pattern;
    if (!shortcutFolder || !hnFormat(pattern, kPathCapacity, "%s\\%s.lnk", shortcutFolder, kShortcutName))
        return false;
    bool gone = true;
    WIN32_FIND_DATAA data;
    hnScopedFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return true;
    do {
        std::string path;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            hnJoinPath(path, shortcutFolder, data.cFileName))
            gone = deleteFileIfPresent(path) && gone;
    } while (::FindNextFileA(find.get(), &data));
    return gone;
}

bool copyDeepformVisionFiles(const char* buildFolder,
                             const std::function<void(const std::string&)>& prepare) {
    std::string runtime, folder;
    if (!buildFolder || !hnCheckInstallations::getRuntimeFolder(runtime))
        return false;
    if (prepare)
        prepare(runtime);
    hnFileSet set;
    if (!hnFormat(folder, kPathCapacity, "%s%s", runtime.c_str(), buildFolder) || !fileExists(folder) ||
        !deepformBuildFileSet(buildFolder, set))
        return false;
    // Copy results are not tested here: an incomplete copy shows in the
    // toolbox row's status.
    for (const hnFileSetEntry& entry : set.files)
        if (!entry.reference.empty())
            ::CopyFileA(entry.file.c_str(), entry.reference.c_str(), FALSE);
    return true;
}
