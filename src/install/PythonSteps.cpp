#include "install/PythonSteps.h"

#include "app/DebugOut.h"

// The Python environment fills these in; until it does, each step reports
// that it could not be done.

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
    return unavailable(python == 36 ? "applyPython36Integration" : "applyPython27Integration");
}

bool removePythonIntegration() {
    return unavailable("removePython27Integration");
}

bool uninstallPythonRuntime(int python) {
    return unavailable(python == 36 ? "uninstallPython36ByUninstallString" : "uninstallAllPython27Products");
}

bool prepareToolboxBridge(int python, const std::string&) {
    return unavailable(python == 36 ? "ensurePy36PythonNet" : "checkAndActivatePy27CLRFunction");
}
