#include "install/InstallActions.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <shlobj.h>
#include <vector>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/PleaseWaitDlg.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "download/DownloadEngine.h"
#include "install/ActionCatalogue.h"
#include "install/CheckInstallations.h"
#include "install/ElementActions.h"
#include "install/InstallHelpers.h"
#include "install/WheelCheck.h"
#include "download/InstallationElement.h"
#include "install/OpcScoutWaitDlg.h"
#include "install/PythonEnvironment.h"
#include "download/StatusWords.h"
#include "install/Uninstall.h"
#include "process/Elevation.h"
#include "process/ProcessLaunch.h"
#include "process/SystemInfo.h"
#include "process/TempFolder.h"

namespace {

const char* const kPlantOpcClientProductCode = "{FC84F31D-53C5-49CC-A799-80BFF4724731}";
const char* const kCycleControllerVersion = "Cycle Controller 1.0.0.1(3587)";

// The modeless "Please wait..." box around a long step; closed at the latest
// when this goes out of scope.
class PleaseWait {
public:
    PleaseWait() : dialog_(new DPleaseWaitDlg()) {
        if (dialog_->create(ownerWindow()))
            ::ShowWindow(dialog_->hwnd(), SW_SHOW);
    }
    ~PleaseWait() { close(); }
    void close() {
        if (dialog_) {
            dialog_->destroy();
            dialog_.reset();
        }
    }
    hnDialog* dialog() const { return dialog_.get(); }

private:
    static HWND ownerWindow() { return appMainWindow(); }
    std::unique_ptr<DPleaseWaitDlg> dialog_;
};

void showError(const char* text) {
    appMessageBox(text, MB_OK | MB_ICONERROR);
}

bool makeFolder(const std::string& path) {
    return fileExists(path) || ::CreateDirectoryA(path.c_str(), nullptr) ||
           ::GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string localTimeName() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return hnFormatText("%.4d%.2d%.2d%.2d%.2d%.2d", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                        now.wSecond);
}

// The named file in the element's download folder; false when it is missing.
bool downloadedFile(const hnInstallationElement& element, const char* name, std::string& path) {
    return name && isPlainFileName(name) && !element.downloadFolder.empty() &&
           hnJoinPath(path, element.downloadFolder, name) && fileExists(path);
}

// Creates the target (one level) and extracts behind the please-wait box;
// a failure is shown with `errorText` once the box is gone.
bool extractIntoNewFolder(const std::string& archive, const std::string& target, const char* errorText) {
    makeFolder(target);
    PleaseWait wait;
    bool extracted = extractComponentArchive(archive, target);
    wait.close();
    if (!extracted)
        showError(errorText);
    return extracted;
}

// ---- Family A: archive into a runtime sub-folder.
bool installIntoRuntimeSubFolder(const hnActionRow& row, const hnInstallationElement& element) {
    std::string archive, runtime, target;
    if (!downloadedFile(element, row.file, archive) || !actionRuntimeFolder(runtime) ||
        !hnFormat(target, kPathCapacity, "%s%s", runtime.c_str(), row.target))
        return false;
    if (!extractIntoNewFolder(archive, target, row.errorText))
        return false;
    if (row.followUp == hnArchiveFollowUp::None)
        return true;
    bool pathResult = addFolderToSystemPath(row.target);
    if (row.followUp != hnArchiveFollowUp::OpenCv)
        return pathResult;
    std::string source, destination;
    if (!hnFormat(source, kPathCapacity, "%s\\Python\\cv2.pyd", target.c_str()) ||
        !hnFormat(destination, kPathCapacity, "%sPython\\cv2.pyd", runtime.c_str()))
        return false;
    if (fileExists(source)) {
        deleteFileIfPresent(destination);
        ::CopyFileA(source.c_str(), destination.c_str(), FALSE);
    }
    return fileExists(destination) ? pathResult : false;
}

// ---- Family B: archive into the runtime folder or its Python folder.
bool installIntoRuntimeFolder(const hnActionRow& row, const hnInstallationElement& element) {
    std::string archive, runtime, target;
    if (!downloadedFile(element, row.file, archive) || !actionRuntimeFolder(runtime))
        return false;
    if (row.followUp == hnArchiveFollowUp::PythonFolder) {
        if (!hnFormat(target, kPathCapacity, "%sPython", runtime.c_str()))
            return false;
    } else {
        target = runtime;
    }
    if (!extractComponentArchive(archive, target)) {
        showError(row.errorText);
        return false;
    }
    return true;
}

// ---- Family C: archive into the documents folder.
bool installIntoDocuments(const hnActionRow& row, const hnInstallationElement& element) {
    std::string archive, documents, base, target;
    if (!downloadedFile(element, row.file, archive) || !hnDocumentsFolder(documents) ||
        !hnFormat(base, kPathCapacity, "%s\\%s\\", documents.c_str(), "Orvanto 15.0") ||
        !hnFormat(target, kPathCapacity, "%s%s", base.c_str(), element.name.c_str()))
        return false;
    return extractIntoNewFolder(archive, target, row.errorText);
}

// ---- Family D: the cycle controller.
bool writeVersionFile(const std::string& path) {
    deleteFileIfPresent(path);
    hnScopedHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD length = static_cast<DWORD>(strlen(kCycleControllerVersion)), written = 0;
    return ::WriteFile(file.get(), kCycleControllerVersion, length, &written, nullptr) && written == length;
}

bool installCycleController(const hnActionRow& row, const hnInstallationElement& element) {
    std::string archive;
    if (!downloadedFile(element, element.fileName.c_str(), archive)) {
        showError("Error: Unable to locate the downloaded file. Please try again.");
        return false;
    }
    hnCycleControllerPaths paths;
    std::string programFiles;
    if (!programFilesFolder(programFiles) || !cycleControllerPaths(paths)) {
        showError("Error: Unable to locate the target directory. Please try again.");
        return false;
    }
    makeFolder(programFiles + "\\Halvenor AS");
    makeFolder(paths.programFolder);
    if (!extractComponentArchive(archive, paths.programFolder)) {
        showError(row.errorText);
        return false;
    }
    if (!writeVersionFile(paths.programFolder + "\\version.txt")) {
        showError("Error: Unable to create the version info file. Please try again.");
        return false;
    }
    std::string gui, target;
    if (!hnFormat(gui, kPathCapacity, "%s\\gui", paths.programFolder.c_str()) ||
        !hnFormat(target, kPathCapacity, "%s\\CycleController.gui.exe", gui.c_str()))
        return true; // shortcut failures are not reported
    std::string desktop;
    if (hnCommonDesktopFolder(desktop))
        createShortcut("", gui.c_str(), kCycleControllerVersion, desktop.c_str(), target.c_str());
    if (!paths.startMenuFolder.empty()) {
        makeFolder(paths.startMenuFolder.substr(0, paths.startMenuFolder.find_last_of('\\')));
        makeFolder(paths.startMenuFolder);
        createShortcut("", gui.c_str(), kCycleControllerVersion, paths.startMenuFolder.c_str(),
                       target.c_str());
    }
    return true;
}

// ---- Family E: vendor setup from a work folder.
bool makeWorkFolder(const hnActionRow& row, std::string& workFolder) {
    std::string name = localTimeName();
    if (row.setup == hnVendorSetup::OpcServer) {
        char path[kTempSubFolderCapacity] = {};
        if (!createTempSubFolder(path, name.c_str()))
            return false;
        workFolder = path;
        return true;
    }
    const std::string& appFolder = applicationFolder();
    if (!hnFormat(workFolder, kPathCapacity, "%s\\%s\\%s", appFolder.c_str(), row.target, name.c_str()))
        return false;
    if (fileExists(workFolder))
        deleteFolderTree(workFolder.c_str(), workFolder.c_str());
    std::string cache;
    hnJoinPath(cache, appFolder, row.target);
    ::SHCreateDirectoryExA(nullptr, cache.c_str(), nullptr);
    return makeFolder(workFolder);
}

bool runOpcScoutSetup(const hnActionRow& row, const std::string& workFolder, PleaseWait& wait,
                      const hnActionTimings& timings) {
    std::string disk1, setup, watched;
    if (!hnFormat(disk1, kPathCapacity, "%s\\disk1", workFolder.c_str()) ||
        !hnFormat(setup, kPathCapacity, "%s\\setup.exe", disk1.c_str()) || !fileExists(setup) ||
        !hnFormat(watched, kPathCapacity, "%s\\_isdel.exe", disk1.c_str())) {
        wait.close();
        showError(row.missingSetupText);
        return false;
    }
    runProgram(hnRunMode::NoWait, setup, {setup, " \\silent"});
    wait.close();
    DOpcScoutInstallPleaseWait follow(watched, timings);
    follow.doModal(appMainWindow());
    return true;
}

bool runImagingSourceSetup(const hnActionRow& row, const std::string& workFolder, PleaseWait& wait) {
    std::string setup;
    if (!hnFormat(setup, kPathCapacity, "%s\\drvInstaller.exe", workFolder.c_str()) || !fileExists(setup)) {
        wait.close();
        showError(row.missingSetupText);
        return false;
    }
    runProgram(hnRunMode::Wait, setup, {setup, ""});
    return true;
}

bool runOpcServerSetup(const hnActionRow& row, const std::string& workFolder, PleaseWait& wait,
                       const hnActionTimings& timings) {
    std::string setup;
    if (!hnFormat(setup, kPathCapacity, "%s\\ZivEraravASetup.exe", workFolder.c_str()) ||
        !fileExists(setup)) {
        wait.close();
        showError(row.missingSetupText);
        return false;
    }
    runProgram(hnRunMode::Wait, setup, {setup, " "});
    std::string runtime, folder, server, source;
    if (!actionRuntimeFolder(runtime) ||
        !hnFormat(folder, kPathCapacity, "%s%s", runtime.c_str(), "OrvantoOPCServer") ||
        !hnJoinPath(server, folder, "OrvantoOPCServer.exe") ||
        !hnJoinPath(source, workFolder, "OrvantoOPCServer.exe")) {
        wait.close();
        showError("Error: Unable to locate Orvanto runtime installation path. Please try again.");
        return false;
    }
    makeFolder(folder);
    deleteFileIfPresent(server);
    ::CopyFileA(source.c_str(), server.c_str(), FALSE);
    runProgram(hnRunMode::NoWait, server, {server, "-install"});
    closeOrvantoOpcServerWindow(timings.opcServerWindow);
    return true;
}

bool installVendorSetup(const hnActionRow& row, const hnInstallationElement& element,
                        const hnActionTimings& timings) {
    std::string archive, workFolder;
    if (!downloadedFile(element, row.file, archive) || !makeWorkFolder(row, workFolder))
        return false;
    bool done = false;
    {
        PleaseWait wait;
        if (!extractComponentArchive(archive, workFolder)) {
            wait.close();
            showError(row.errorText);
        } else if (row.setup == hnVendorSetup::OpcScout) {
            done = runOpcScoutSetup(row, workFolder, wait, timings);
        } else if (row.setup == hnVendorSetup::ImagingSource) {
            done = runImagingSourceSetup(row, workFolder, wait);
        } else {
            done = runOpcServerSetup(row, workFolder, wait, timings);
        }
    }
    deleteFolderTree(workFolder.c_str(), workFolder.c_str());
    return done;
}

// ---- Family F: Python wheels.
bool deleteStalePythonNetFiles() {
    std::string runtime;
    if (!actionRuntimeFolder(runtime))
        return true;
    for (const char* folder : {"", "Python\\Python27\\"})
        for (const char* file : {"clr.pyd", "Python.Runtime.dll"}) {
            std::string path;
            if (!hnFormat(path, kPathCapacity, "%s%s%s", runtime.c_str(), folder, file) ||
                !deleteFileIfPresent(path))
                return false;
        }
    return true;
}

// pip reports the row's package in the row's version.
bool isWheelConfirmed(const hnWheelRow& row, hnDialog* dialog) {
    if (row.python == 36)
        return pythonEnvironment().py36PackageVersion(dialog, row.package, row.excluded, row.version);
    return hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation(row.package, row.excluded,
                                                                            row.version);
}

bool installWheel(const hnWheelRow& row, const hnInstallationElement& element, bool stopOnErrors) {
    std::string download;
    if (!downloadedFile(element, row.downloadedAs ? row.downloadedAs : row.file, download))
        return false;
    std::string wheel = download;
    if (row.downloadedAs) {
        char copy[kPathCapacity] = {};
        if (copyRenamedFileToWindowsTempFolder(row.file, download.c_str(), copy) <= 0 || !fileExists(copy))
            return false;
        wheel = copy;
    }
    bool ran = false, confirmed = false;
    if (row.python == 36) {
        std::unique_ptr<PleaseWait> wait(row.pleaseWait ? new PleaseWait() : nullptr);
        hnDialog* dialog = wait ? wait->dialog() : nullptr;
        ran = pythonEnvironment().installPy36Wheel(row.excluded, dialog, wheel, row.package, row.version,
                                                   stopOnErrors);
        confirmed = ran && isWheelConfirmed(row, dialog);
    } else {
        ran =
            pythonEnvironment().installPy27Wheel(row.excluded, wheel, row.package, row.version, stopOnErrors);
        confirmed = ran && isWheelConfirmed(row, nullptr);
    }
    if (!confirmed) {
        // Nothing that the package would replace is cleaned up. pip's answer
        // alone never discards the cached file (an installer copy for an
        // offline machine keeps its wheels); a file that fails the
        // installer's own check goes, so that a repair fetches a fresh one.
        if (!wheelFitsInterpreter(wheel, row.file, row.python)) {
            hnDebugOutF("installWheel - %s is no usable wheel; discarded\n", download.c_str());
            deleteFileIfPresent(download);
        }
        return false;
    }
    if (row.cleanup == hnWheelCleanup::Cv2Pyd) {
        std::string runtime;
        return !actionRuntimeFolder(runtime) || deleteFileIfPresent(runtime + "Python\\cv2.pyd");
    }
    if (row.cleanup == hnWheelCleanup::PythonNetFiles)
        return deleteStalePythonNetFiles();
    return true;
}

// ---- Family G: the paint program.
bool installPaintProgram(const hnActionRow& row, const hnInstallationElement& element,
                         const hnActionTimings& timings) {
    std::string setup;
    if (!downloadedFile(element, row.file, setup))
        return false;
    int shellResult = 0;
    int started =
        launchAppManagingUACElevation(setup.c_str(), element.downloadFolder.c_str(), nullptr, &shellResult);
    if (started <= 0 || shellResult <= 32)
        return false;
    followProcessByImageName(row.file, timings);
    return true;
}

// ---- Family H: follow-up of the PlantOPCClient package.
bool finishPlantOpcClient() {
    if (!actionMsiProductInstalled(kPlantOpcClientProductCode))
        return false;
    if (!copyPlantOPCClientScript())
        appMessageBox(
            "Warning: Unable to copy 'plantopcclientx.py' file to '[Orvanto Runtime]\\Python' directory.",
            MB_OK | MB_ICONWARNING);
    return true;
}

// Activation of a toolbox build: its bridge, then its assemblies and scripts
// copied into the runtime; a build folder that is missing copies nothing.
bool activateToolbox(const hnActionRow& row, int python) {
    std::string runtime;
    if (!actionRuntimeFolder(runtime))
        return false;
    pythonEnvironment().copyDeepformVisionFiles(row.target, [python](const std::string& folder) {
        pythonEnvironment().prepareToolboxBridge(python, folder);
    });
    return true;
}

bool isPy27Pywin32Row(const std::string& name) {
    for (const char* row : {"pywin32-219.win32-py2.7", "pywin32-221.win32-py2.7", "pywin32-223.win32-py2.7"})
        if (hnEqualsNoCase(name, row))
            return true;
    return false;
}

} // namespace

bool filesHaveSameContent(const std::string& a, const std::string& b) {
    hnScopedHandle fa(
        ::CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    hnScopedHandle fb(
        ::CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!fa || !fb || ::GetFileSize(fa.get(), nullptr) != ::GetFileSize(fb.get(), nullptr))
        return false;
    char ba[4096], bb[4096];
    for (;;) {
        DWORD ra = 0, rb = 0;
        if (!::ReadFile(fa.get(), ba, sizeof(ba), &ra, nullptr) ||
            !::ReadFile(fb.get(), bb, sizeof(bb), &rb, nullptr) || ra != rb || memcmp(ba, bb, ra) != 0)
            return false;
        if (ra == 0)
            return true;
    }
}

bool cycleControllerPaths(hnCycleControllerPaths& paths) {
    std::string programFiles, programs, desktop;
    if (!programFilesFolder(programFiles) ||
        !hnFormat(paths.programFolder, kPathCapacity, "%s\\%s\\%s", programFiles.c_str(), "Halvenor AS",
                  "Cycle Controller"))
        return false;
    paths.startMenuFolder.clear();
    paths.desktopLink.clear();
    if (commonProgramsFolder(programs))
        hnFormat(paths.startMenuFolder, kPathCapacity, "%s\\%s\\%s", programs.c_str(),
                 "Halvenor Software Solutions", "Cycle Controller");
    if (hnCommonDesktopFolder(desktop))
        hnFormat(paths.desktopLink, kPathCapacity, "%s\\%s.lnk", desktop.c_str(), kCycleControllerVersion);
    return true;
}

bool removeCycleControllerFiles() {
    hnCycleControllerPaths paths;
    if (!cycleControllerPaths(paths))
        return false;
    bool gone = true;
    for (const std::string* folder : {&paths.programFolder, &paths.startMenuFolder}) {
        if (folder->empty())
            continue;
        if (fileExists(*folder))
            deleteFolderTree(folder->c_str(), "Cycle Controller");
        // The company folder goes only when nothing else lives in it.
        ::RemoveDirectoryA(folder->substr(0, folder->find_last_of('\\')).c_str());
        gone = !fileExists(*folder) && gone;
    }
    if (!paths.desktopLink.empty())
        gone = deleteFileIfPresent(paths.desktopLink) && gone;
    return gone;
}

bool runCustomInstallAction(hnInstallationElement& element, bool stopOnErrors,
                            const hnActionTimings& timings) {
    if (const hnWheelRow* wheel = findWheelRow(element.name))
        return installWheel(*wheel, element, stopOnErrors);
    const hnActionRow* row = findActionRow(element.name);
    if (!row)
        return true;
    switch (row->family) {
    case hnActionFamily::RuntimeSubFolder:
        return installIntoRuntimeSubFolder(*row, element);
    case hnActionFamily::RuntimeFolder:
        return installIntoRuntimeFolder(*row, element);
    case hnActionFamily::Documents:
        return installIntoDocuments(*row, element);
    case hnActionFamily::CycleController:
        return installCycleController(*row, element);
    case hnActionFamily::VendorSetup:
        return installVendorSetup(*row, element, timings);
    case hnActionFamily::PaintProgram:
        return installPaintProgram(*row, element, timings);
    case hnActionFamily::AfterStandard:
        return finishPlantOpcClient();
    case hnActionFamily::Wheel:
    case hnActionFamily::DownloadOnly:
        return true;
    }
    return true;
}

bool runPostInstallSteps(hnInstallationElement& element) {
    const std::string& name = element.name;
    if (hnEqualsNoCase(name, "Python 2.7.9") || hnEqualsNoCase(name, "Python 2.7.13")) {
        pythonEnvironment().applyPythonIntegration(27);
        return true;
    }
    if (hnEqualsNoCase(name, "Python 3.6.6")) {
        pythonEnvironment().applyPythonIntegration(36);
        return true;
    }
    if (hnEqualsNoCase(name, "Orvanto Version XV 15.0.0.774 Runtime")) {
        // A fresh runtime has no interpreter copies yet: integrate the one the
        // user chose, or the runtime row would read "Reinstall Needed".
        hnPythonEnvironment& python = pythonEnvironment();
        python.applyPythonIntegration(python.python36Selected() ? 36 : 27);
        return true;
    }
    if (isPy27Pywin32Row(name))
        return registerPython27PythonPath();
    if (hnEqualsNoCase(name, "AVT Universal Package 2.2.0"))
        return copyAvtGrabberDll("uniAVTGrab_Universal_2_2_0.dll");
    if (hnEqualsNoCase(name, "AVT Fire Package 2.11"))
        return copyAvtGrabberDll("uniAVTGrab_Fire_2_11.dll");
    if (const hnWheelRow* wheel = findWheelRow(name)) {
        if (wheel->python == 27 && wheel->cleanup == hnWheelCleanup::Cv2Pyd)
            pythonEnvironment().setPy27OpenCVSelection(wheel->name);
        return true;
    }
    const hnActionRow* row = findActionRow(name);
    if (!row || row->family != hnActionFamily::RuntimeSubFolder)
        return true;
    if (row->followUp == hnArchiveFollowUp::OpenCv) {
        bool pathResult = addFolderToSystemPath(row->target);
        pythonEnvironment().setPy27OpenCVSelection(row->name);
        return pathResult;
    }
    if (std::string(row->target).rfind("DeepformVisionPy36_", 0) == 0)
        return activateToolbox(*row, 36);
    if (std::string(row->target).rfind("DeepformVision_", 0) == 0)
        return activateToolbox(*row, 27);
    return true;
}

int installElement(hnElementActions& detection, hnInstallationElement& element, int position, int runLength,
                   bool refresh, bool stopOnErrors, const hnActionTimings& timings) {
    if (detection.isInstalled(element)) {
        element.setProgress(kProgressOk);
        return 1;
    }
    element.setProgress(kProgressInstalling);
    bool actionElement = isActionElement(element.name);
    bool verify = isVerifiedElement(element.name);
    if (hnEqualsNoCase(element.name, "pyserial-2.7.win32"))
        appMessageBox(
            "The 'pyserial-2.7.win32' module installation wizard will start now.\n\nPlease select correct "
            "Python version (which is 'Python Version 2.7') in the installation wizard.\nThe default "
            "selection of the Python version in the installation wizard may NOT be correct, if multiple "
            "Python versions are installed on this computer.\n",
            MB_OK | MB_ICONINFORMATION);
    hnInstallDialogRun dialog(position, runLength, element, actionElement, refresh, true);
    dialog.run();
    bool done = runCustomInstallAction(element, stopOnErrors, timings);
    // Without verification the downloaded file is the only evidence of success.
    if (done && !verify)
        done = fileExists(dialog.finalPath());
    if (done && (!verify || detection.isInstalled(element))) {
        if (!runPostInstallSteps(element))
            appMessageBox(
                "Warning: Unable to excute custom actions. Continuing with the further installations.",
                MB_OK | MB_ICONWARNING);
        element.setProgress(kProgressOk);
        element.setStatus(kStatusInstalled);
        element.statusDetail.clear();
        return 1;
    }
    // The step that failed: the setup or action itself, the download it
    // left behind, or the detection afterwards.
    std::string reason;
    if (!done)
        reason = "Running the installation of " + element.name + " from " + dialog.finalPath() + " failed.";
    else if (!verify)
        reason = "The installer file " + dialog.finalPath() + " is missing after the installation.";
    else
        reason = "After the installation the component is still not found: " + element.statusReason();
    element.setProgress(kProgressFailed, reason);
    return -1;
}
