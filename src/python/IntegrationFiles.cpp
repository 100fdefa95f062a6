#include "python/IntegrationFiles.h"

#include <vector>

#include "app/DebugOut.h"
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

namespace {

// One target of the bridge swap and how far it got.
struct BridgeSwap {
    std::string from, to, fresh, aside;
    bool asideDone = false, placed = false;
};

// Undoes what the swap did so far: the new files go, the old come back.
void undoBridgeSwaps(std::vector<BridgeSwap>& swaps) {
    for (BridgeSwap& swap : swaps) {
        if (swap.placed && !deleteFileForced(swap.to))
            hnDebugOutF("copyClrBridgeFiles - Unable to remove %s\n", swap.to.c_str());
        if (swap.asideDone && !::MoveFileExA(swap.aside.c_str(), swap.to.c_str(), MOVEFILE_REPLACE_EXISTING))
            hnDebugOutF("copyClrBridgeFiles - Unable to put back %s\n", swap.to.c_str());
        deleteFileIfPresent(swap.fresh);
    }
}

} // namespace

int copyClrBridgeFiles(const char* source, const char* runtimeFolder, const char* python27Folder,
                       std::string& failedFile) {
    failedFile.clear();
    if (!source || !runtimeFolder || !python27Folder)
        return 0;
    std::vector<BridgeSwap> swaps;
    for (const char* folder : {runtimeFolder, python27Folder})
        for (const char* name : {"clr.pyd", "Python.Runtime.dll"}) {
            BridgeSwap swap;
            if (!hnFormat(swap.from, kPathCapacity, "%s%s", source, name) ||
                !hnFormat(swap.to, kPathCapacity, "%s%s", folder, name) || !fileExists(swap.from))
                return 0;
            swap.fresh = swap.to + ".new~";
            swap.aside = swap.to + ".old~";
            swaps.push_back(swap);
        }
    auto fail = [&](const BridgeSwap& swap, const char* step) {
        DWORD error = ::GetLastError();
        failedFile = swap.to;
        hnDebugOutF("copyClrBridgeFiles - Unable to %s %s (error %lu); nothing changed\n", step,
                    swap.to.c_str(), error);
        undoBridgeSwaps(swaps);
        return -1;
    };
    // The new files beside the old ones, each checked against its source.
    for (BridgeSwap& swap : swaps) {
        if (!deleteFileIfPresent(swap.fresh) || !deleteFileIfPresent(swap.aside) ||
            !::CopyFileA(swap.from.c_str(), swap.fresh.c_str(), FALSE) ||
            !hnCheckInstallations::areFilesIdentical(swap.from, swap.fresh))
            return fail(swap, "copy to");
    }
    // The old files aside: a file in use stops the swap here.
    for (BridgeSwap& swap : swaps) {
        if (!fileExists(swap.to))
            continue;
        if (!::MoveFileExA(swap.to.c_str(), swap.aside.c_str(), 0))
            return fail(swap, "replace");
        swap.asideDone = true;
    }
    for (BridgeSwap& swap : swaps) {
        if (!::MoveFileExA(swap.fresh.c_str(), swap.to.c_str(), 0))
            return fail(swap, "place");
        swap.placed = true;
    }
    for (BridgeSwap& swap : swaps)
        if (swap.asideDone && !deleteFileIfPresent(swap.aside))
            hnDebugOutF("copyClrBridgeFiles - %s stays aside\n", swap.aside.c_str());
    return 1;
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
