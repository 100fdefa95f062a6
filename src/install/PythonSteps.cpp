#include "install/PythonSteps.h"

#include "app/DebugOut.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"

// The pip entry points and the toolbox bridge are filled in by the Python
// package work; until then each reports that it could not be done. The
// runtime integration and the interpreter removal are the Python
// environment's own routines.

namespace {
bool unavailable(const char* routine) {
    hnDebugOutF("%s - Python environment not available\n", routine);
    return false;
}
} // namespace

bool installPy27Wheel(const char*, const std::string&, const char*, const char*, bool) {
    return unavailable("installPy27ModuleWhlWithPipUpgrade");
}

bool installPy36Wheel(const char*, hnDialog*, const std::string&, const char*, const char*, bool) {
    return unavailable("installPy36ModuleWhlWithPipUpgrade");
}

bool uninstallPy27Package(const char*, bool) {
    return unavailable("uninstallPy27ModuleWhl");
}
bool uninstallPy36Package(const char*, bool) {
    return unavailable("uninstallPy36ModuleWhl");
}
bool uninstallPy36PyserialPackages(bool) {
    return unavailable("uninstallPy36Pyserial");
}
bool uninstallPy36OpenCvPackages(bool) {
    return unavailable("uninstallPy36OpenCV");
}

bool applyPythonIntegration(int python) {
    return python == 36 ? hnPyhton36InstallFunctions::applyPython36Integration()
                        : hnPyhton27InstallFunctions::applyPython27Integration();
}

// Called once the runtime is gone: whatever interpreter was integrated, its
// copies and the user's plugin folder go with the runtime.
bool removePythonIntegration() {
    bool removed27 = hnPyhton27InstallFunctions::removePython27Integration();
    bool removed36 = hnPyhton36InstallFunctions::removePython36Integration();
    return removed27 && removed36;
}

bool uninstallPythonRuntime(int python) {
    if (python != 36)
        return hnPyhton27InstallFunctions::uninstallAllPython27Products();
    // The registered uninstaller first, then any Windows Installer product
    // of the release that it left behind.
    bool byCommand = hnPyhton36InstallFunctions::uninstallPython36ByUninstallString();
    bool byProducts = hnPyhton36InstallFunctions::uninstallAllPython36Products();
    return byCommand || byProducts;
}

bool prepareToolboxBridge(int python, const std::string&) {
    return unavailable(python == 36 ? "ensurePy36PythonNet" : "checkAndActivatePy27CLRFunction");
}
