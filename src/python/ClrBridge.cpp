#include "python/ClrBridge.h"

#include <string>

#include <memory>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/PleaseWaitDlg.h"
#include "app/Text.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/CheckInstallations.h"
#include "install/ElementActions.h"
#include "install/InstallActions.h"
#include "install/Uninstall.h"
#include "python/IntegrationFiles.h"
#include "python/Python36Functions.h"
#include "python/PythonSelection.h"

const char* const kPy27PythonNetSelection = "pythonnet-2.3.0-cp27-cp27m-win32";
const char* const kPy27Clr20Selection = "Python 2.7 CLR 2.0";

namespace {

const char* const kPy36PythonNetWheel = "pythonnet-2.3.0-cp36-cp36m-win32";

// The bridge builds the runtime ships in "Python\\Python27".
struct ClrBuild {
    const char* selection;
    const char* folder;
    const char* copyFailure1;
    const char* copyFailure2;
};
const ClrBuild kClrBuilds[] = {
    {"Python 2.7 CLR 4.0", "clr_4_0", "unable to copy CLR 4.0 files 1", "unable to copy CLR 4.0 files 2"},
    {"Python 2.7 CLR 2.0", "clr_2_0", "unable to copy CLR 2.0 files 1", "unable to copy CLR 2.0 files 2"},
};

const ClrBuild* findClrBuild(const char* selection) {
    for (const ClrBuild& build : kClrBuilds)
        if (std::string(selection) == build.selection)
            return &build;
    return nullptr;
}

void clrDebug(const char* routine, const char* reason) {
    hnDebugOutF("kdDInstallPY27ExtensionsNew::%s - %s\n", routine, reason);
}

// "%sPython\\Python27\\" of the runtime folder and, with a build, the build's
// folder below it.
bool clrFolders(const char* runtimeFolder, const ClrBuild* build, std::string& python27,
                std::string& source) {
    return hnFormat(python27, kPathCapacity, "%sPython\\Python27\\", runtimeFolder) &&
           (!build || hnFormat(source, kPathCapacity, "%s%s\\", python27.c_str(), build->folder));
}

// The runtime ships both files of the build.
bool isClrBuildShipped(const char* runtimeFolder, const ClrBuild& build) {
    std::string python27, source;
    return clrFolders(runtimeFolder, &build, python27, source) && fileExists(source + "clr.pyd") &&
           fileExists(source + "Python.Runtime.dll");
}

bool isPythonNet27Confirmed() {
    return hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation("pythonnet", nullptr, "2.3.0");
}

// pythonnet of any version, which would shadow a copied CLR build.
bool isPythonNet27Present() {
    return hnCheckInstallations::checkPy27ModuleWhlInstallation("pythonnet");
}

// Both bridge files of the build sit, identical, in the runtime folder and in
// its "Python\\Python27".
bool isBuildActive(const char* runtimeFolder, const ClrBuild& build) {
    std::string python27, reference;
    return clrFolders(runtimeFolder, &build, python27, reference) &&
           areClrFilesIdentical(runtimeFolder, reference.c_str()) &&
           areClrFilesIdentical(python27.c_str(), reference.c_str());
}

bool isBridgeActive(const char* routine, const char* runtimeFolder, const ClrBuild& build) {
    // Without a runtime folder the paths would be relative to the current
    // directory.
    if (!runtimeFolder || !*runtimeFolder) {
        clrDebug(routine, "NULL pointer 1");
        return false;
    }
    return isBuildActive(runtimeFolder, build);
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
    return isBridgeActive("isPY27CLR2Active", runtimeFolder, kClrBuilds[1]);
}

bool isPY27CLR4Active(const char* runtimeFolder) {
    return isBridgeActive("isPY27CLR4Active", runtimeFolder, kClrBuilds[0]);
}

bool isDeepformVisionDependencyCLRActive(const char* runtimeFolder) {
    if (!runtimeFolder) {
        hnDebugOut("kdDInstallPY27ExtensionsNew::isDeepformVisionDependencyCLRActive - NULL pointer 1\n");
        return false;
    }
    return isPY27CLR4Active(runtimeFolder) || isPythonNet27Confirmed();
}

int installNewPY27CLR(hnPythonNetPage* page, const char* runtimeFolder, const char* selection) {
    if (!runtimeFolder) {
        clrDebug("installNewPY27CLR", "NULL pointer 1");
        return -1;
    }
    if (!selection) {
        clrDebug("installNewPY27CLR", "NULL pointer 2");
        return -1;
    }
    if (std::string(selection) == kPy27PythonNetSelection) {
        if (!page) {
            clrDebug("installNewPY27CLR", "Unexpected argument");
            return -1;
        }
        page->installPythonNet();
        // A failed download or installation must not leave a selection that
        // makes the next start delete the bridge files still in use.
        if (!isPythonNet27Confirmed())
            return 0;
        setPy27CLRExtensionVersionSelection(selection);
        return 1;
    }
    const ClrBuild* build = findClrBuild(selection);
    if (!build) {
        clrDebug("installNewPY27CLR", "Unknown CLR version");
        return 0;
    }
    std::string python27, source;
    if (!clrFolders(runtimeFolder, build, python27, source))
        return 0;
    // All four files or none: a mixed bridge would load neither build.
    std::string failedFile;
    if (copyClrBridgeFiles(source.c_str(), runtimeFolder, python27.c_str(), failedFile) != 1) {
        bool runtimeFailed = !failedFile.empty() && failedFile.compare(0, python27.size(), python27) != 0;
        clrDebug("installNewPY27CLR",
                 runtimeFailed || failedFile.empty() ? build->copyFailure1 : build->copyFailure2);
        if (!failedFile.empty())
            appMessageBox("The CLR bridge was not changed: '" + failedFile +
                              "' could not be replaced. It may be in use; close the Orvanto runtime and try "
                              "again.",
                          MB_OK | MB_ICONWARNING);
        return 0;
    }
    setPy27CLRExtensionVersionSelection(selection);
    return 1;
}

bool uninstallPy27PythonNet(hnPythonNetPage* page) {
    if (page)
        return page->uninstallPythonNet() > 0;
    std::string nameText, statusText, progressText;
    hnInstallationElement element(kPy27PythonNetSelection, "", "", "", "", false, 0, false, &nameText,
                                  &statusText, &progressText, "");
    return uninstallComponentByName(element, false);
}

int checkAndActivatePy27CLRFunction(const char* runtimeFolder) {
    if (!runtimeFolder) {
        clrDebug("checkAndActivatePy27CLRFunction", "NULL pointer 1");
        return -1;
    }
    if (isDeepformVisionDependencyCLRActive(runtimeFolder))
        return 1;
    // The bridge in use goes only when its replacement is there to copy.
    const ClrBuild& clr40 = kClrBuilds[0];
    if (!isClrBuildShipped(runtimeFolder, clr40)) {
        clrDebug("checkAndActivatePy27CLRFunction", "CLR 4.0 files not available");
        return -1;
    }
    uninstallPy27PythonNet(nullptr);
    if (isPythonNet27Present()) {
        clrDebug("checkAndActivatePy27CLRFunction",
                 "pythonnet could not be removed; the CLR bridge was not changed");
        return -1;
    }
    return installNewPY27CLR(nullptr, runtimeFolder, clr40.selection) > 0 ? 1 : -1;
}

int activateTargetPY27CLR(hnPythonNetPage* page, const char* runtimeFolder, const char* selection) {
    if (!selection) {
        clrDebug("installNewPY27CLR", "Unable to get new selection");
        return -1;
    }
    if (!runtimeFolder || !*runtimeFolder) {
        clrDebug("activateTargetPY27CLR", "NULL pointer 1");
        return 0;
    }
    const ClrBuild* build = findClrBuild(selection);
    bool pythonNet = std::string(selection) == kPy27PythonNetSelection;
    if (pythonNet) {
        // Only a bridge that reads exactly "Installed" is left alone; a
        // mismatched or broken one is replaced.
        if (page && page->pythonNetStatus() == kStatusInstalled)
            return 1;
        if (!page || !page->fetchPythonNetWheel()) {
            clrDebug("activateTargetPY27CLR", "Unable to get the pythonnet wheel");
            return 1;
        }
    } else if (!build) {
        clrDebug("activateTargetPY27CLR", "Unknown CLR version");
        return 1;
    } else if (isBuildActive(runtimeFolder, *build) && !isPythonNet27Present()) {
        // With pythonnet installed the active build is not the bridge in use:
        // pythonnet goes and the build is stored.
        return 1;
    } else if (!isClrBuildShipped(runtimeFolder, *build)) {
        clrDebug("activateTargetPY27CLR", "CLR files not available");
        return 1;
    }
    uninstallPy27PythonNet(page);
    // pythonnet still there would shadow the copied build: nothing is copied
    // and no choice stored.
    if (!pythonNet && isPythonNet27Present()) {
        clrDebug("activateTargetPY27CLR", "pythonnet could not be removed");
        appMessageBox("pythonnet could not be removed; the CLR bridge was not changed.");
        return 1;
    }
    installNewPY27CLR(page, runtimeFolder, selection);
    return 1;
}

int ensurePy36PythonNet() {
    hnAppBase* app = hnAppBase::current();
    HWND owner = app ? app->mainWindow() : nullptr;
    {
        DPleaseWaitDlg wait;
        if (wait.create(owner))
            ::ShowWindow(wait.hwnd(), SW_SHOW);
        bool present = hnPyhton36InstallFunctions::isPy36PythonNet230Installed(&wait);
        wait.destroy();
        if (present)
            return 1;
    }
    hnInstallerServices* services = installerServices();
    if (!services)
        return -1;
    std::string nameText, statusText, progressText;
    std::string fileName = std::string(kPy36PythonNetWheel) + ".whl";
    std::string url = services->repositoryBaseUrl() +
                      "/orvanto/files/InstallerDownloads/_Modules/Py36/PythonNet/" + fileName;
    std::string folder = cacheFolder(cache::kPy36PythonNet);
    hnInstallationElement element(kPy36PythonNetWheel, url.c_str(), fileName.c_str(), "", folder.c_str(),
                                  false, 0, false, &nameText, &statusText, &progressText,
                                  "Recommended Orvanto Extensions (Python 36)");
    // The wheel first: offline, the package in use stays. Then the old
    // package goes, so that the installation cannot answer "Ok" for it.
    bool userAborted = false;
    if (services->elementActions().downloadElement(element, userAborted, 1, 1) <= 0) {
        hnDebugOut("ensurePy36PythonNet - Unable to get the pythonnet wheel\n");
        return -1;
    }
    {
        DPleaseWaitDlg wait;
        if (wait.create(owner))
            ::ShowWindow(wait.hwnd(), SW_SHOW);
        hnPyhton36InstallFunctions::uninstallPy36ModuleWhl("pythonnet", &wait, "pythonnet", false);
        wait.destroy();
    }
    if (installElement(services->elementActions(), element, 1, 1, false, false) <= 0)
        return -1;
    // Success is pip reporting the required version afterwards.
    return hnPyhton36InstallFunctions::isPy36PythonNet230Installed(nullptr) ? 1 : -1;
}
