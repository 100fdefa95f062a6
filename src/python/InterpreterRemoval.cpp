// Removal and repair of the interpreters themselves.
#include <string>
#include <vector>
#include <windows.h>
#include <msi.h>

#include "app/DebugOut.h"
#include "app/StopBlock.h"
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
// False when a stop came first.
bool uninstallProductsNamed(const char* prefix, const hnStopBlock* stop) {
    for (const std::string& code : hnCheckInstallations::installedProductsNamed(prefix)) {
        runMsiexecUninstall(code, stop);
        if (stop && stop->stopRequested())
            return false;
    }
    return true;
}

} // namespace

bool hnPyhton27InstallFunctions::uninstallAllPython27Products(const hnStopBlock* stop) {
    if (!uninstallProductsNamed("Python 2.7", stop))
        return false;
    removePython27Integration();
    return true;
}

bool hnPyhton36InstallFunctions::uninstallPython36ByUninstallString(const hnStopBlock* stop) {
    std::string value, program, arguments;
    if (!readUninstallString(kPython36UninstallKey, value) || value.empty())
        return false;
    splitUninstallString(value, program, arguments);
    runProgram(hnRunMode::Wait, program, {arguments.empty() ? program : arguments}, stop);
    if (stop && stop->stopRequested())
        return false;
    removePython36Integration();
    return true;
}

bool hnPyhton36InstallFunctions::uninstallAllPython36Products(const hnStopBlock* stop) {
    return uninstallProductsNamed("Python 3.6", stop);
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
