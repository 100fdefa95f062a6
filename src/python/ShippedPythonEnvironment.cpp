#include "python/ShippedPythonEnvironment.h"

#include "python/ClrBridge.h"
#include "python/IntegrationFiles.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "python/PythonSelection.h"

namespace {
using P27 = hnPyhton27InstallFunctions;
using P36 = hnPyhton36InstallFunctions;
} // namespace

bool hnShippedPythonEnvironment::python27InstallFolder(std::string& folder) {
    return P27::getPython27InstallFolder(folder);
}

bool hnShippedPythonEnvironment::py36PathsAvailable() {
    return P36::areEnvironmentVariableWithPy36PathsAvailable();
}

bool hnShippedPythonEnvironment::py36PackagePresent(hnDialog* dialog, const char* package,
                                                    const char* nameText, std::string* reported) {
    return P36::checkPy36ModuleWhlInstallation(dialog, package, nameText, reported);
}

bool hnShippedPythonEnvironment::py36PackageVersion(hnDialog* dialog, const char* package,
                                                    const char* excluded, const char* version,
                                                    std::string* reported) {
    return P36::checkPy36ModuleWhlExactVersionInstallation(dialog, package, excluded, version, reported);
}

bool hnShippedPythonEnvironment::py36Probe(hnPy36Probe probe, hnDialog* dialog) {
    switch (probe) {
    case hnPy36Probe::PyserialDuplicated:
        return P36::isPy36PyserialDuplicated(dialog);
    case hnPy36Probe::OpenCVInstalled:
        return P36::isPy36OpenCVInstalled(dialog);
    case hnPy36Probe::OpenCVDuplicated:
        return P36::isPy36OpenCVDuplicated(dialog);
    }
    return false;
}

bool hnShippedPythonEnvironment::py36InstalledVersionText(hnPy36Package package, std::string* text,
                                                          hnDialog* dialog) {
    switch (package) {
    case hnPy36Package::Pywin32:
        return P36::getCurrentInstalledVersionPy36Win(text, dialog);
    case hnPy36Package::Pyserial:
        return P36::getCurrentInstalledVersionPy36Serial(text, dialog);
    case hnPy36Package::Numpy:
        return P36::getCurrentInstalledVersionNumPy36(text, dialog);
    case hnPy36Package::Scipy:
        return P36::getCurrentInstalledVersionSciPy36(text, dialog);
    case hnPy36Package::OpenCV:
        return P36::getCurrentInstalledVersionOpencvPy36(text, dialog);
    case hnPy36Package::PythonNet:
        return P36::getCurrentInstalledVersionPythonNetPy36(text, dialog);
    }
    return false;
}

bool hnShippedPythonEnvironment::deepformClrActive(const char* runtimeFolder) {
    return isDeepformVisionDependencyCLRActive(runtimeFolder);
}

bool hnShippedPythonEnvironment::selectedIntegrationOK() {
    return isSelectedPythonIntegrationOK();
}

bool hnShippedPythonEnvironment::python36Selected() {
    std::string selection;
    return getPythonVersionSelection(&selection) >= 1 && selection == kPython366;
}

void hnShippedPythonEnvironment::setPy27OpenCVSelection(const char* value) {
    setPy27OpenCVExtensionVersionSelection(value);
}

bool hnShippedPythonEnvironment::installPy27Wheel(const char* excluded, const std::string& wheelPath,
                                                  const char* package, const char* version,
                                                  bool stopOnErrors) {
    return P27::installPy27ModuleWhlWithPipUpgrade(excluded, wheelPath.c_str(), package, version,
                                                   stopOnErrors);
}

bool hnShippedPythonEnvironment::installPy36Wheel(const char* excluded, hnDialog* dialog,
                                                  const std::string& wheelPath, const char* package,
                                                  const char* version, bool stopOnErrors) {
    return P36::installPy36ModuleWhlWithPipUpgrade(excluded, dialog, wheelPath.c_str(), package, version,
                                                   stopOnErrors);
}

bool hnShippedPythonEnvironment::uninstallPy27Package(const char* package, bool stopOnErrors,
                                                      const hnStopBlock* stop) {
    return P27::uninstallPy27ModuleWhl(package, package, stopOnErrors, stop);
}

bool hnShippedPythonEnvironment::uninstallPy36Package(const char* package, bool stopOnErrors,
                                                      const hnStopBlock* stop) {
    return P36::uninstallPy36ModuleWhl(package, nullptr, package, stopOnErrors, stop);
}

bool hnShippedPythonEnvironment::uninstallPy36PyserialPackages(bool stopOnErrors, const hnStopBlock* stop) {
    return P36::uninstallPy36Pyserial(stopOnErrors, nullptr, stop);
}

bool hnShippedPythonEnvironment::uninstallPy36OpenCvPackages(bool stopOnErrors, const hnStopBlock* stop) {
    return P36::uninstallPy36OpenCV(stopOnErrors, nullptr, stop);
}

bool hnShippedPythonEnvironment::applyPythonIntegration(int python) {
    return python == 36 ? P36::applyPython36Integration() : P27::applyPython27Integration();
}

// Whatever interpreter was integrated, its copies and the user's plugin
// folder go with the runtime.
bool hnShippedPythonEnvironment::removePythonIntegration() {
    bool removed27 = P27::removePython27Integration();
    bool removed36 = P36::removePython36Integration();
    return removed27 && removed36;
}

bool hnShippedPythonEnvironment::uninstallPythonRuntime(int python, const hnStopBlock* stop) {
    if (python != 36)
        return P27::uninstallAllPython27Products(stop);
    // The registered uninstaller first, then any Windows Installer product of
    // the release that it left behind.
    bool byCommand = P36::uninstallPython36ByUninstallString(stop);
    bool byProducts = P36::uninstallAllPython36Products(stop);
    return byCommand || byProducts;
}

bool hnShippedPythonEnvironment::prepareToolboxBridge(int python, const std::string& runtimeFolder) {
    if (python == 36)
        return ensurePy36PythonNet() > 0;
    return checkAndActivatePy27CLRFunction(runtimeFolder.c_str()) > 0;
}

bool hnShippedPythonEnvironment::copyDeepformVisionFiles(
    const char* buildFolder, const std::function<void(const std::string&)>& prepare) {
    return ::copyDeepformVisionFiles(buildFolder, prepare);
}
