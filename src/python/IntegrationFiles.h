#pragma once
// File work shared by the runtime's Python integration, the toolbox
// activation and the profile copies: folder trees, the CLR bridge pair, the
// runtime shortcuts and the toolbox build files.
#include <functional>
#include <string>
#include <windows.h>

class hnStopBlock;

// Copies the tree below `source` into `destination` (created when missing),
// leaving out links. An existing target file is replaced only with
// `overwrite`, and then only by a complete copy. The walk stops with false
// as soon as `stop` is requested. After each file `counter` grows by one;
// every 25th file sends `message` to `notifyWindow` with the counter as
// wParam.
bool copyFolderTree(const char* source, const char* destination, bool overwrite,
                    const hnStopBlock* stop = nullptr, HWND notifyWindow = nullptr, UINT message = 0,
                    int* counter = nullptr);

// Copies "clr.pyd" and "Python.Runtime.dll" from `source` to `destination`
// (both folders with their trailing separator), replacing the targets.
// 1 when both copies succeeded, 0 when a source file is missing, -1 when a
// copy failed.
int copyClrFiles(const char* source, const char* destination);

// The bridge pair of `source` copied into both `runtimeFolder` and
// `python27Folder` (each with its trailing separator), all or nothing: the
// four copies are made under temporary names first, the files they replace
// are moved aside and are put back when any step fails. 1 when all four are
// in place, 0 when a source file is missing (nothing touched), -1 when a
// step failed; then `failedFile` is the target that could not be written or
// replaced (a file in use), and the previous files are in place again.
int copyClrBridgeFiles(const char* source, const char* runtimeFolder, const char* python27Folder,
                       std::string& failedFile);

// Saves "<shortcutFolder>\\Orvanto Version XV.lnk" starting `target` with
// `arguments` in `workingFolder`.
bool createRuntimeShortcut(const char* workingFolder, const char* shortcutFolder, const char* target,
                           const char* arguments);
// Deletes every "<shortcutFolder>\\Orvanto Version XV.lnk" match; true when
// none is left.
bool deleteRuntimeShortcuts(const char* shortcutFolder);

// The toolbox build in the runtime sub-folder `buildFolder`
// ("DeepformVision_1_0_0_333", "DeepformVisionPy36_1_0_0_1114", ...): calls
// `prepare` with the runtime folder when given, then copies the build's
// assemblies into the runtime folder and its scripts into the runtime's
// "Python" folder, overwriting. False without runtime folder or build folder.
bool copyDeepformVisionFiles(const char* buildFolder,
                             const std::function<void(const std::string&)>& prepare = nullptr);
