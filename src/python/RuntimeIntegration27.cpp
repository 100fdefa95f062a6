// The runtime's Python 2.7 integration: checks, updates, removals, the
// selection-driven OpenCV, CLR and toolbox files and the compound operations.
#include <string>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
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

const char* const kPlantOpcClientProductCode = "{FC84F31D-53C5-49CC-A799-80BFF4724731}";
const char* const kClrRoutine = "hnPyhton27InstallFunctions::managePython27CLRFiles";

// OpenCV selections that copy the binding from a runtime sub-folder.
struct OpenCvSource {
    const char* selection;
    const char* folder;
};
const OpenCvSource kOpenCvSources[] = {{"OpenCV 2.4.9 (Python 27)", "OpenCV249Py27"},
                                       {"OpenCV 3.0.0", "OpenCV300"},
                                       {"OpenCV 3.1.0", "OpenCV310"},
                                       {"OpenCV 3.2.0", "OpenCV320"},
                                       {"OpenCV 3.3.0", "OpenCV330"},
                                       {"OpenCV 3.3.1", "OpenCV331"},
                                       {"OpenCV 3.4.0", "OpenCV340"},
                                       {"None", "OpenCV2_4_3OrOlder"}};

// OpenCV selections whose pip package brings the binding itself.
const char* const kOpenCvWheels[] = {
    "opencv_contrib_python-3.4.3.18-cp27-cp27m-win32", "opencv_contrib_python-4.1.0.25-cp27-cp27m-win32",
    "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32", "opencv_python-3.4.3.18-cp27-cp27m-win32",
    "opencv_python-4.1.0.25-cp27-cp27m-win32",         "opencv_python-4.2.0.32-cp27-cp27m-win32"};

const char* const kToolboxBuilds27[] = {
    "Deepform Vision 1.0.0.333", "Deepform Vision 1.0.0.355", "Deepform Vision 1.0.0.383",
    "Deepform Vision 1.0.0.550", "Deepform Vision 1.0.0.612", "Deepform Vision 1.0.0.719",
    "Deepform Vision 1.0.0.758", "Deepform Vision 1.0.0.819", "Deepform Vision 1.0.0.1114"};

bool cv2PydPath(const std::string& runtime, std::string& path) {
    return hnFormat(path, kPathCapacity, "%s%s\\%s", runtime.c_str(), "Python", "cv2.pyd");
}

// One bridge build copied into the runtime folder and into
// "Python\\Python27"; the result codes of the two failures.
int activateClrBuild(const std::string& runtime, const std::string& python27, const char* build,
                     const char* clr, int failRuntime, int failPython) {
    std::string source = python27 + build;
    std::string failedFile;
    if (copyClrBridgeFiles(source.c_str(), runtime.c_str(), python27.c_str(), failedFile) == 1)
        return 1;
    // All or nothing: the code names the copy that failed, the Python folder's
    // when the build is not there at all.
    bool runtimeFailed = !failedFile.empty() && failedFile.compare(0, python27.size(), python27) != 0;
    if (failedFile.empty() || runtimeFailed)
        hnDebugOutF("%s - Unable to copy Py27 %s files to orvanto runtimr path - 1\n", kClrRoutine, clr);
    if (!runtimeFailed)
        hnDebugOutF("%s - Unable to copy Py27 %s files to orvanto python path - 2\n", kClrRoutine, clr);
    return runtimeFailed ? failRuntime : failPython;
}

} // namespace

bool hnPyhton27InstallFunctions::getCurrentlyInstalledPython27CHMFileName(char* name, size_t capacity) {
    const char* routine = "getCurrentlyInstalledPython27CHMFileName";
    if (!name) {
        hnDebugOut("getCurrentlyInstalledPython27CHMFileName - NULL pointer 1\n");
        return false;
    }
    if (isPython27VersionInstalled("Python 2.7.9"))
        return copyChmName(routine, "python279.chm", name, capacity);
    if (isPython27VersionInstalled("Python 2.7.13"))
        return copyChmName(routine, "python2713.chm", name, capacity);
    hnDebugOut("getCurrentlyInstalledPython27CHMFileName - Unknown Python 27 version\n");
    return false;
}

bool hnPyhton27InstallFunctions::isPython27DLLInOrvantoRuntimePathOK() {
    return isDllOK(kFamily27, "isPython27DLLInOrvantoRuntimePathOK");
}
bool hnPyhton27InstallFunctions::isPython27CHMInOrvantoRuntimePathOK() {
    return isChmOK(kFamily27, "isPython27CHMInOrvantoRuntimePathOK");
}
bool hnPyhton27InstallFunctions::isPython27FolderInOrvantoRuntimePathOK() {
    return isPythonFolderOK(kFamily27);
}
bool hnPyhton27InstallFunctions::areMatRelCTPy27FilesInOrvantoRuntimePathOK() {
    return areLibraryScriptsOK(kFamily27);
}
bool hnPyhton27InstallFunctions::isPy27MyDocumentsPluginFolderOK() {
    return isPluginFolderOK(kFamily27);
}

bool hnPyhton27InstallFunctions::updatePython27DLLInOrvantoRuntimePath() {
    return updateDll(kFamily27, "updatePython27DLLInOrvantoRuntimePath");
}
bool hnPyhton27InstallFunctions::updatePython27CHMInOrvantoRuntimePath() {
    return updateChm(kFamily27, "updatePython27CHMInOrvantoRuntimePath");
}
bool hnPyhton27InstallFunctions::updatePython27FolderInOrvantoRuntimePath() {
    return updatePythonFolder(kFamily27, "updatePython27FolderInOrvantoRuntimePath");
}
bool hnPyhton27InstallFunctions::updateMatRelCTPy27FilesInOrvantoRuntimePath() {
    return updateLibraryScripts(kFamily27);
}
bool hnPyhton27InstallFunctions::updatePython27MyDocumentsPluginFolder() {
    return updatePluginFolder(kFamily27, "updatePython27MyDocumentsPluginFolder");
}
bool hnPyhton27InstallFunctions::updatePy2to3BatForPy27() {
    return updatePy2to3Bat(kFamily27, "hnPyhton27InstallFunctions::updatePy2to3BatForPy27");
}
bool hnPyhton27InstallFunctions::updateOrvantoEXEShortcutsForPython27() {
    return updateRuntimeShortcuts(kFamily27,
                                  "hnPyhton27InstallFunctions::updateOrvantoEXEShortcutsForPython27");
}

bool hnPyhton27InstallFunctions::deletePython27DLLInOrvantoRuntimePath() {
    return deleteDll(kFamily27);
}
bool hnPyhton27InstallFunctions::deletePython27CHMInOrvantoRuntimePath() {
    return deleteChm(kFamily27);
}
bool hnPyhton27InstallFunctions::deletePython27FolderInOrvantoRuntimePath() {
    return deletePythonFolder();
}
bool hnPyhton27InstallFunctions::deletePython27MyDocumentsPluginFolder() {
    return deletePluginFolder();
}

int hnPyhton27InstallFunctions::managePython27OpenCVFiles() {
    std::string selection;
    if (getPy27OpenCVExtensionVersionSelection(&selection) < 1)
        selection = kSelectionNone;
    for (const OpenCvSource& source : kOpenCvSources)
        if (selection == source.selection)
            return updatePython27OpenCVCv2PydFile(source.folder) ? 1 : -1;
    for (const char* wheel : kOpenCvWheels)
        if (selection == wheel)
            return deletePython27OpenCVCv2PydFile() ? 1 : -1;
    hnDebugOut("managePython27OpenCVFiles - Unknown version selection\n");
    return -2;
}

bool hnPyhton27InstallFunctions::updatePython27OpenCVCv2PydFile(const char* folderName) {
    std::string runtime, target, source;
    if (!hnCheckInstallations::getRuntimeFolder(runtime)) {
        hnDebugOut("updatePython27OpenCVCv2PydFile - Orvanto Runtime is not installed\n");
        return false;
    }
    if (!folderName || !cv2PydPath(runtime, target) ||
        !hnFormat(source, kPathCapacity, "%s%s\\%s\\%s", runtime.c_str(), folderName, "Python", "cv2.pyd"))
        return false;
    deleteFileIfPresent(target);
    if (!fileExists(source)) {
        hnDebugOut("updatePython27OpenCVCv2PydFile - source cv2.pyd not found\n");
        return false;
    }
    ::CopyFileA(source.c_str(), target.c_str(), TRUE);
    return true;
}

bool hnPyhton27InstallFunctions::deletePython27OpenCVCv2PydFile() {
    std::string runtime, target;
    if (!hnCheckInstallations::getRuntimeFolder(runtime)) {
        hnDebugOut("deletePython27OpenCVCv2PydFile - Orvanto Runtime is not installed\n");
        return false;
    }
    return cv2PydPath(runtime, target) && deleteFileIfPresent(target);
}

int hnPyhton27InstallFunctions::managePython27CLRFiles() {
    std::string selection;
    if (getPy27CLRExtensionVersionSelection(&selection) < 1)
        selection = kPy27Clr40;
    std::string runtime, python27;
    if (!hnCheckInstallations::getRuntimeFolder(runtime)) {
        hnDebugOutF("%s - Orvanto Runtime is not installed\n", kClrRoutine);
        return -1;
    }
    if (!hnFormat(python27, kPathCapacity, "%s%s\\Python27\\", runtime.c_str(), "Python"))
        return -1;
    if (selection == "Python 2.7 CLR 4.0")
        return activateClrBuild(runtime, python27, "clr_4_0\\", "CLR 4", -2, -3);
    if (selection == "Python 2.7 CLR 2.0")
        return activateClrBuild(runtime, python27, "clr_2_0\\", "CLR 2", -4, -5);
    if (selection == "pythonnet-2.3.0-cp27-cp27m-win32") {
        // The pip package brings its own bridge; the runtime copies would
        // shadow it.
        int result = 1;
        if (!deleteRuntimeFile(runtime, "clr.pyd"))
            result = -6;
        if (!deleteRuntimeFile(runtime, "Python.Runtime.dll"))
            result = -7;
        if (!deleteRuntimeFile(python27, "clr.pyd"))
            result = -8;
        if (!deleteRuntimeFile(python27, "Python.Runtime.dll"))
            result = -9;
        return result;
    }
    hnDebugOutF("%s - Unknown version selection\n", kClrRoutine);
    return -10;
}

int hnPyhton27InstallFunctions::managePython27DeepformVisionToolboxFiles() {
    std::string selection;
    if (getPy27DeepformVisionToolboxVersionSelection(&selection) < 1)
        selection = kSelectionNone;
    for (const char* build : kToolboxBuilds27) {
        if (selection != build)
            continue;
        const hnActionRow* row = findActionRow(build);
        return row && copyDeepformVisionFiles(row->target) ? 1 : -1;
    }
    hnDebugOut("managePython27DeepformVisionToolboxFiles - Unknown version selection\n");
    return -2;
}

bool hnPyhton27InstallFunctions::applyPython27Integration() {
    updatePython27DLLInOrvantoRuntimePath();
    updatePython27CHMInOrvantoRuntimePath();
    updatePython27FolderInOrvantoRuntimePath();
    updateMatRelCTPy27FilesInOrvantoRuntimePath();
    updatePython27MyDocumentsPluginFolder();
    reapplyPython27Selections();
    return true;
}

bool hnPyhton27InstallFunctions::reapplyPython27Selections() {
    managePython27OpenCVFiles();
    managePython27CLRFiles();
    managePython27DeepformVisionToolboxFiles();
    if (hnCheckInstallations::isMsiProductInstalled(kPlantOpcClientProductCode))
        copyPlantOPCClientScript();
    updateOrvantoEXEShortcutsForPython27();
    updatePy2to3BatForPy27();
    hnPyhton36InstallFunctions::deletePython36DLLInOrvantoRuntimePath();
    return true;
}

bool hnPyhton27InstallFunctions::removePython27Integration() {
    deletePython27DLLInOrvantoRuntimePath();
    deletePython27CHMInOrvantoRuntimePath();
    deletePython27FolderInOrvantoRuntimePath();
    deletePython27MyDocumentsPluginFolder();
    return true;
}
