// The runtime's Python 3.6 integration: checks, updates, removals, the
// system search path, the toolbox files and the compound operations.
#include <string>

#include "app/DebugOut.h"
#include "app/Text.h"
#include "install/ActionCatalogue.h"
#include "install/CheckInstallations.h"
#include "install/InstallHelpers.h"
#include "python/IntegrationFiles.h"
#include "python/IntegrationPieces.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "python/PythonSelection.h"

namespace {

const char* const kToolboxBuilds36[] = {"Deepform Vision 1.0.0.819(02) (Python 36)",
                                        "Deepform Vision 1.0.0.1114 (Python 36)"};

bool containsNoCase(const std::string& text, const std::string& part) {
    auto lowered = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    return lowered(text).find(lowered(part)) != std::string::npos;
}

} // namespace

bool hnPyhton36InstallFunctions::getCurrentlyInstalledPython36CHMFileName(char* name, size_t capacity) {
    const char* routine = "getCurrentlyInstalledPython36CHMFileName";
    if (!name) {
        hnDebugOut("getCurrentlyInstalledPython36CHMFileName - NULL pointer 1\n");
        return false;
    }
    if (isPython366Installed())
        return copyChmName(routine, "python366.chm", name, capacity);
    hnDebugOut("getCurrentlyInstalledPython36CHMFileName - Unknown Python 36 version\n");
    return false;
}

bool hnPyhton36InstallFunctions::isPython36DLLInOrvantoRuntimePathOK() {
    return isDllOK(kFamily36, "isPython36DLLInOrvantoRuntimePathOK");
}
bool hnPyhton36InstallFunctions::isPython36CHMInOrvantoRuntimePathOK() {
    return isChmOK(kFamily36, "isPython36CHMInOrvantoRuntimePathOK");
}
bool hnPyhton36InstallFunctions::isPython36FolderInOrvantoRuntimePathOK() {
    return isPythonFolderOK(kFamily36);
}
bool hnPyhton36InstallFunctions::areMatRelCTPy36FilesInOrvantoRuntimePathOK() {
    return areLibraryScriptsOK(kFamily36);
}
bool hnPyhton36InstallFunctions::isPy36MyDocumentsPluginFolderOK() {
    return isPluginFolderOK(kFamily36);
}

bool hnPyhton36InstallFunctions::updatePython36DLLInOrvantoRuntimePath() {
    return updateDll(kFamily36, "updatePython36DLLInOrvantoRuntimePath");
}
bool hnPyhton36InstallFunctions::updatePython36CHMInOrvantoRuntimePath() {
    return updateChm(kFamily36, "updatePython36CHMInOrvantoRuntimePath");
}
bool hnPyhton36InstallFunctions::updatePython36FolderInOrvantoRuntimePath() {
    return updatePythonFolder(kFamily36, "updatePython36FolderInOrvantoRuntimePath");
}
bool hnPyhton36InstallFunctions::updateMatRelCTPy36FilesInOrvantoRuntimePath() {
    return updateLibraryScripts(kFamily36);
}
bool hnPyhton36InstallFunctions::updatePython36MyDocumentsPluginFolder() {
    return updatePluginFolder(kFamily36, "updatePython36MyDocumentsPluginFolder");
}
bool hnPyhton36InstallFunctions::updatePy2to3BatForPy36() {
    return updatePy2to3Bat(kFamily36, "hnPyhton36InstallFunctions::updatePy2to3BatForPy36");
}
bool hnPyhton36InstallFunctions::updateOrvantoEXEShortcutsForPython36() {
    return updateRuntimeShortcuts(kFamily36,
                                  "hnPyhton36InstallFunctions::updateOrvantoEXEShortcutsForPython36");
}

bool hnPyhton36InstallFunctions::deletePython36DLLInOrvantoRuntimePath() {
    return deleteDll(kFamily36);
}
bool hnPyhton36InstallFunctions::deletePython36CHMInOrvantoRuntimePath() {
    return deleteChm(kFamily36);
}
bool hnPyhton36InstallFunctions::deletePython36FolderInOrvantoRuntimePath() {
    return deletePythonFolder();
}
bool hnPyhton36InstallFunctions::deletePython36MyDocumentsPluginFolder() {
    return deletePluginFolder();
}

bool hnPyhton36InstallFunctions::updateEnvironmentVariableWithPy36Paths() {
    const char* routine = "hnPyhton36InstallFunctions::updateEnvironmentVariableWithPy36Paths";
    std::string folder, scripts, path;
    if (!getPython36InstallFolder(folder) ||
        !hnFormat(scripts, kPathCapacity, "%sScripts\\", folder.c_str())) {
        hnDebugOutF("%s - Unable to get Python 36 installation directory path\n", routine);
        return false;
    }
    // The whole value is kept, however long: appending never cuts what the
    // machine already has on its path.
    if (!readSystemPath(path)) {
        hnDebugOutF("%s - Unable to query environment registry key\n", routine);
        return false;
    }
    bool changed = false;
    for (const std::string* entry : {&folder, &scripts}) {
        if (containsNoCase(path, *entry))
            continue;
        path += ";";
        path += *entry;
        changed = true;
    }
    if (changed && !writeSystemPath(path)) {
        hnDebugOutF("%s - Unable to write environment registry key\n", routine);
        return false;
    }
    return true;
}

int hnPyhton36InstallFunctions::managePython36DeepformVisionToolboxFiles() {
    std::string selection;
    if (getPy36DeepformVisionToolboxVersionSelection(&selection) < 1)
        selection = kSelectionNone;
    for (const char* build : kToolboxBuilds36) {
        if (selection != build)
            continue;
        const hnActionRow* row = findActionRow(build);
        return row && copyDeepformVisionFiles(row->target) ? 1 : -1;
    }
    hnDebugOut("managePython36DeepformVisionToolboxFiles - Unknown version selection\n");
    return -2;
}

bool hnPyhton36InstallFunctions::clearPy27CLRFilesFromOrvantoRuntimeFolder() {
    std::string runtime;
    if (!hnCheckInstallations::getRuntimeFolder(runtime))
        return true; // nothing to clear
    bool cleared = true;
    if (!deleteRuntimeFile(runtime, "clr.pyd")) {
        hnDebugOut(
            "hnPyhton36InstallFunctions::clearPy27CLRFilesFromOrvantoRuntimeFolder - Unable to delete CLR "
            "PYD\n");
        cleared = false;
    }
    if (!deleteRuntimeFile(runtime, "Python.Runtime.dll")) {
        hnDebugOut("hnPyhton36InstallFunctions::clearPy27CLRFilesFromOrvantoRuntimeFolder - Unable to delete "
                   "Python.Runtime.dll\n");
        cleared = false;
    }
    return cleared;
}

bool hnPyhton36InstallFunctions::applyPython36Integration() {
    updateEnvironmentVariableWithPy36Paths();
    updatePython36DLLInOrvantoRuntimePath();
    updatePython36CHMInOrvantoRuntimePath();
    updatePython36FolderInOrvantoRuntimePath();
    updateMatRelCTPy36FilesInOrvantoRuntimePath();
    updatePython36MyDocumentsPluginFolder();
    reapplyPython36Selections();
    return true;
}

bool hnPyhton36InstallFunctions::reapplyPython36Selections() {
    managePython36DeepformVisionToolboxFiles();
    updateOrvantoEXEShortcutsForPython36();
    updatePy2to3BatForPy36();
    clearPy27CLRFilesFromOrvantoRuntimeFolder();
    hnPyhton27InstallFunctions::deletePython27DLLInOrvantoRuntimePath();
    return true;
}

bool hnPyhton36InstallFunctions::removePython36Integration() {
    deletePython36DLLInOrvantoRuntimePath();
    deletePython36CHMInOrvantoRuntimePath();
    deletePython36FolderInOrvantoRuntimePath();
    deletePython36MyDocumentsPluginFolder();
    return true;
}
