// Placeholder bodies of the runtime integration routines until their own
// files exist: every routine reports that it did nothing.
#include "app/DebugOut.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"

namespace {
bool pending(const char* routine) {
    hnDebugOutF("%s - not available\n", routine);
    return false;
}
} // namespace

#define PENDING_BOOL(cls, name)                                                                              \
    bool cls::name() { return pending(#name); }
#define PENDING_INT(cls, name)                                                                               \
    int cls::name() { return pending(#name) ? 1 : -1; }

bool hnPyhton27InstallFunctions::getCurrentlyInstalledPython27CHMFileName(char*, size_t) {
    return pending("getCurrentlyInstalledPython27CHMFileName");
}
bool hnPyhton27InstallFunctions::updatePython27OpenCVCv2PydFile(const char*) {
    return pending("updatePython27OpenCVCv2PydFile");
}
PENDING_BOOL(hnPyhton27InstallFunctions, isPython27DLLInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton27InstallFunctions, isPython27CHMInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton27InstallFunctions, isPython27FolderInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton27InstallFunctions, areMatRelCTPy27FilesInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton27InstallFunctions, isPy27MyDocumentsPluginFolderOK)
PENDING_BOOL(hnPyhton27InstallFunctions, updatePython27DLLInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton27InstallFunctions, updatePython27CHMInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton27InstallFunctions, updatePython27FolderInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton27InstallFunctions, updateMatRelCTPy27FilesInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton27InstallFunctions, updatePython27MyDocumentsPluginFolder)
PENDING_BOOL(hnPyhton27InstallFunctions, updatePy2to3BatForPy27)
PENDING_BOOL(hnPyhton27InstallFunctions, updateOrvantoEXEShortcutsForPython27)
PENDING_INT(hnPyhton27InstallFunctions, managePython27OpenCVFiles)
PENDING_INT(hnPyhton27InstallFunctions, managePython27CLRFiles)
PENDING_INT(hnPyhton27InstallFunctions, managePython27DeepformVisionToolboxFiles)
PENDING_BOOL(hnPyhton27InstallFunctions, deletePython27DLLInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton27InstallFunctions, deletePython27CHMInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton27InstallFunctions, deletePython27FolderInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton27InstallFunctions, deletePython27MyDocumentsPluginFolder)
PENDING_BOOL(hnPyhton27InstallFunctions, deletePython27OpenCVCv2PydFile)
PENDING_BOOL(hnPyhton27InstallFunctions, applyPython27Integration)
PENDING_BOOL(hnPyhton27InstallFunctions, reapplyPython27Selections)
PENDING_BOOL(hnPyhton27InstallFunctions, removePython27Integration)
PENDING_BOOL(hnPyhton27InstallFunctions, uninstallAllPython27Products)

bool hnPyhton36InstallFunctions::getCurrentlyInstalledPython36CHMFileName(char*, size_t) {
    return pending("getCurrentlyInstalledPython36CHMFileName");
}
PENDING_BOOL(hnPyhton36InstallFunctions, isPython36DLLInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton36InstallFunctions, isPython36CHMInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton36InstallFunctions, isPython36FolderInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton36InstallFunctions, areMatRelCTPy36FilesInOrvantoRuntimePathOK)
PENDING_BOOL(hnPyhton36InstallFunctions, isPy36MyDocumentsPluginFolderOK)
PENDING_BOOL(hnPyhton36InstallFunctions, updateEnvironmentVariableWithPy36Paths)
PENDING_BOOL(hnPyhton36InstallFunctions, updatePython36DLLInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton36InstallFunctions, updatePython36CHMInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton36InstallFunctions, updatePython36FolderInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton36InstallFunctions, updateMatRelCTPy36FilesInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton36InstallFunctions, updatePython36MyDocumentsPluginFolder)
PENDING_BOOL(hnPyhton36InstallFunctions, updatePy2to3BatForPy36)
PENDING_BOOL(hnPyhton36InstallFunctions, updateOrvantoEXEShortcutsForPython36)
PENDING_INT(hnPyhton36InstallFunctions, managePython36DeepformVisionToolboxFiles)
PENDING_BOOL(hnPyhton36InstallFunctions, clearPy27CLRFilesFromOrvantoRuntimeFolder)
PENDING_BOOL(hnPyhton36InstallFunctions, deletePython36DLLInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton36InstallFunctions, deletePython36CHMInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton36InstallFunctions, deletePython36FolderInOrvantoRuntimePath)
PENDING_BOOL(hnPyhton36InstallFunctions, deletePython36MyDocumentsPluginFolder)
PENDING_BOOL(hnPyhton36InstallFunctions, applyPython36Integration)
PENDING_BOOL(hnPyhton36InstallFunctions, removePython36Integration)
PENDING_BOOL(hnPyhton36InstallFunctions, uninstallPython36ByUninstallString)
PENDING_BOOL(hnPyhton36InstallFunctions, uninstallAllPython36Products)
PENDING_BOOL(hnPyhton36InstallFunctions, repairAllPython36Products)
