#include "python/ClrBridge.h"

#include <string>

#include "app/DebugOut.h"
#include "app/Text.h"
#include "install/CheckInstallations.h"

namespace {

bool isBridgeActive(const char* routine, const char* runtimeFolder, const char* build) {
    if (!runtimeFolder) {
        hnDebugOutF("kdDInstallPY27ExtensionsNew::%s - NULL pointer 1\n", routine);
        return false;
    }
    std::string python27, reference;
    if (!hnFormat(python27, kPathCapacity, "%sPython\\Python27\\", runtimeFolder) ||
        !hnFormat(reference, kPathCapacity, "%s%s\\", python27.c_str(), build))
        return false;
    return areClrFilesIdentical(runtimeFolder, reference.c_str()) &&
           areClrFilesIdentical(python27.c_str(), reference.c_str());
}

} // namespace

bool areClrFilesIdentical(const char* folder, const char* reference) {
    if (!folder || !reference)
        return false;
    for (const char* name : {"clr.pyd", "Python.Runtime.dll"}) {
        std::string file, copy;
        if (!hnFormat(file, kPathCapacity, "%s%s", folder, name) ||
            !hnFormat(copy, kPathCapacity, "%s%s", reference, name) ||
            !hnCheckInstallations::areFilesIdentical(file, copy))
            return false;
    }
    return true;
}

bool isPY27CLR2Active(const char* runtimeFolder) {
    return isBridgeActive("isPY27CLR2Active", runtimeFolder, "clr_2_0");
}

bool isPY27CLR4Active(const char* runtimeFolder) {
    return isBridgeActive("isPY27CLR4Active", runtimeFolder, "clr_4_0");
}

bool isDeepformVisionDependencyCLRActive(const char* runtimeFolder) {
    if (!runtimeFolder) {
        hnDebugOut("kdDInstallPY27ExtensionsNew::isDeepformVisionDependencyCLRActive - NULL pointer 1\n");
        return false;
    }
    return isPY27CLR4Active(runtimeFolder) ||
           hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation("pythonnet", nullptr, "2.3.0");
}
