#include "python/IntegrationFiles.h"

#include "app/FileHelpers.h"
#include "app/FolderCopy.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/CheckInstallations.h"
#include "install/FileSets.h"
#include "install/InstallHelpers.h"

namespace {

const char* const kShortcutName = "Orvanto Version XV";
constexpr int kNotifyEvery = 25;

} // namespace

bool copyFolderTree(const char* source, const char* destination, bool overwrite, const hnStopBlock* stop,
                    HWND notifyWindow, UINT message, int* counter) {
    if (!source || !destination)
        return false;
    // The users' tree copy: links are not followed, and a replaced file is
    // swapped in only once its copy is complete.
    hnTreeCopyOptions options;
    options.overwrite = overwrite;
    options.stop = stop;
    options.afterFile = [&] {
        if (!counter)
            return;
        ++*counter;
        if (notifyWindow && *counter % kNotifyEvery == 0)
            ::SendMessageA(notifyWindow, message, static_cast<WPARAM>(*counter), 0);
    };
    hnTreeCopyResult result;
    return hnCopyFolderTree(source, destination, options, result);
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
    WIN32_FIND_DATAA data = {};
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
