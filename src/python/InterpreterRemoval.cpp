// Removal and repair of the interpreters themselves.
#include <string>
#include <vector>
#include <windows.h>
#include <msi.h>

#include "app/DebugOut.h"
#include "install/CheckInstallations.h"
#include "process/ProcessLaunch.h"
#include "process/UninstallRunners.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"

namespace {

const char* const kPython36UninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{b43c5985-05a6-4dc7-be5f-85f504d498d0}";

// The whole list is gathered before anything is removed: removing a product
// while enumerating shifts the indices, so the product after each removed one
// would be passed over.
void uninstallProductsNamed(const char* prefix) {
    for (const std::string& code : hnCheckInstallations::installedProductsNamed(prefix))
        runMsiexecUninstall(code);
}

} // namespace

bool hnPyhton27InstallFunctions::uninstallAllPython27Products() {
    uninstallProductsNamed("Python 2.7");
    removePython27Integration();
    return true;
}

bool hnPyhton36InstallFunctions::uninstallPython36ByUninstallString() {
    std::string value, program, arguments;
    if (!readUninstallString(kPython36UninstallKey, value) || value.empty())
        return false;
    splitUninstallString(value, program, arguments);
    runProgram(hnRunMode::Wait, program, {arguments.empty() ? program : arguments});
    removePython36Integration();
    return true;
}

bool hnPyhton36InstallFunctions::uninstallAllPython36Products() {
    uninstallProductsNamed("Python 3.6");
    return true;
}

bool hnPyhton36InstallFunctions::repairAllPython36Products() {
    for (const std::string& code : hnCheckInstallations::installedProductsNamed("Python 3.6")) {
        UINT result = ::MsiReinstallProductA(code.c_str(), REINSTALLMODE_FILEREPLACE);
        if (result != ERROR_SUCCESS) {
            hnDebugOutF("hnPyhton36InstallFunctions::repairAllPython36Products - Unable to repair %s (%u)\n",
                        code.c_str(), result);
            return false;
        }
    }
    return true;
}
