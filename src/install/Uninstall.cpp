#include "install/Uninstall.h"

#include <iterator>
#include <memory>
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SessionLog.h"
#include "app/StopBlock.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "install/ActionCatalogue.h"
#include "install/ElementActions.h"
#include "install/FileSets.h"
#include "install/CheckInstallations.h"
#include "install/InstallActions.h"
#include "install/InstallHelpers.h"
#include "download/InstallationElement.h"
#include "install/PythonEnvironment.h"
#include "download/StatusWords.h"
#include "install/UninstallComponentDlg.h"
#include "process/ProcessLaunch.h"
#include "process/SystemInfo.h"

namespace {

const char* const kUninstallRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr std::size_t kRegistryValueBytes = 4096;

enum class Method {
    Msi,               // a: product code, b: second product code or null
    RuntimeMsi,        // a: product code; the Python integration goes with it
    QuotedCommand,     // a: Uninstall key, b: value name
    InstallShield,     // a: product code of the "InstallShield_" key
    PylonCascade,      // index into kPylonKeys
    AutoConfirm,       // a: Uninstall key, b: Python 2.7 pip package or null
    FirstSpaceCommand, // a: Uninstall key
    WaitWindow,        // a: Uninstall key, b: window title
    TeamViewer13,
    Speccy,
    TightVnc,   // a: product code
    MvsCascade, // index into kMvsSteps
    OpcServer,
    AdamApax,
    PythonRuntime, // index: 27 or 36
    NotRemovable,
};

struct RemovalRow {
    const char* name;
    Method method;
    const char* a;
    const char* b;
    int index;
};

const char* const kUninstallString = "UninstallString";
const char* const kQuietUninstallString = "QuietUninstallString";

const RemovalRow kRemovalRows[] = {
    {"MS VC++ 2005 SP1 Redist", Method::Msi, "{7299052b-02a4-4627-81f2-1818da5d550d}", nullptr, 0},
    {"MS VC++ 2008 SP1 Redist", Method::Msi, "{9A25302D-30C0-39D9-BD6F-21E6EC160475}", nullptr, 0},
    {"MS VC++ 2010 SP1 Redist", Method::Msi, "{F0C3E5D1-1ADE-321E-8167-68EF0DE699A5}", nullptr, 0},
    {"Orvanto Version XV 15.0.0.774 Runtime", Method::RuntimeMsi, "{76C2FFEE-53C1-4382-B051-5CF47ED51327}",
     nullptr, 0},
    {"Orvanto Kadrix Version XV 15.0.0.774 SDK", Method::Msi, "{13DB2D91-4761-49EF-A8D4-E7095E9BADD7}",
     nullptr, 0},
    {"Orvanto Vision Software Version XV 15.0.0.774", Method::Msi, "{356E8CAF-215F-46B8-B8E4-625FD2FD8666}",
     nullptr, 0},
    {"Orvanto Watchdog 3.0.0.11", Method::Msi, "{0339BD1D-BA38-4F90-A2FD-CC136286A463}", nullptr, 0},
    {"Orvanto PlantOPCClient 1.9.0.28", Method::Msi, "{FC84F31D-53C5-49CC-A799-80BFF4724731}", nullptr, 0},
    {"ZCL for SONYGigECAM 2.12 - 32 bit", Method::Msi, "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}", nullptr, 0},
    {"ZCL for SONYGigECAM 2.12 - 64 bit", Method::Msi, "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}", nullptr, 0},
    {"ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit)", Method::Msi, "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
     nullptr, 0},
    {"ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)", Method::Msi, "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
     nullptr, 0},
    {"ZCL for SONYGigECAM 2.12.2 - Windows 8 (32 bit)", Method::Msi, "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
     nullptr, 0},
    {"ZCL for SONYGigECAM 2.12.2 - Windows 8 (64 bit)", Method::Msi, "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}",
     nullptr, 0},
    {"Basler pylon SDK 2.3.5.2633 - 32 bit", Method::Msi, "{2393D986-319B-40BF-AEBD-6E0EFC5B5F57}", nullptr,
     0},
    {"Basler pylon SDK 2.3.5.2633 - 64 bit", Method::Msi, "{D7F97581-F17B-48AD-B4BB-634AF0F78D39}", nullptr,
     0},
    {"Basler pylon SDK 3.2.3.3215 - 32 bit", Method::Msi, "{7701C433-7FAB-43ED-B117-762AC408A61C}", nullptr,
     0},
    {"Basler pylon SDK 3.2.3.3215 - 64 bit", Method::Msi, "{7701C433-7FAB-43ED-B117-762AC408A61C}", nullptr,
     0},
    {"Basler pylon 4 Runtime 4.0.1.3425 - 32 bit", Method::Msi, "{37A8A264-ADAE-4226-BA66-B9FE9FFB1F89}",
     nullptr, 0},
    {"Basler pylon 4 Runtime 4.0.1.3425 - 64 bit", Method::Msi, "{37A8A264-ADAE-4226-BA66-B9FE9FFB1F89}",
     nullptr, 0},
    {"Pylon 4 Camera Software Suite 4.2.2.5468 - 32 bit", Method::Msi,
     "{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}", nullptr, 0},
    {"Pylon 4 Camera Software Suite 4.2.2.5468 - 64 bit", Method::Msi,
     "{01F5DEBA-9FCF-4D3A-B0F6-74D29B5F8651}", nullptr, 0},
    {"AVT Universal Package 2.2.0", Method::Msi, "{E15958CD-D2FC-47ED-AE1A-57C9FEC1DC84}", nullptr, 0},
    {"AVT Fire Package 2.11", Method::Msi, "{4E3FA21E-D211-49FE-B40E-360A78AF8B31}", nullptr, 0},
    {"PowerToys (Preview) 0.20.1", Method::Msi, "{B838E9AD-531C-43A5-B0F8-2A6C2759E84F}", nullptr, 0},
    {"TortoiseHg 3.6.3 (x86)", Method::Msi, "{CCE041AD-0927-4992-85C1-C9B683BE3783}", nullptr, 0},
    {"TortoiseHg 3.6.3 (x64)", Method::Msi, "{CCE041AD-0927-4992-85C1-C9B683BE3783}", nullptr, 0},
    {"Paint.net 4.0.19", Method::Msi, "{F10AAD91-58DF-44EC-A647-810197141667}",
     "{7ADB1B05-39DE-4888-A72D-D1F3A791D45F}", 0},
    {"Paint.net 4.2.12", Method::Msi, "{F10AAD91-58DF-44EC-A647-810197141667}",
     "{7ADB1B05-39DE-4888-A72D-D1F3A791D45F}", 0},

    {"MS VC++ 2017 Redist 14.15.26706", Method::QuotedCommand, "{7e9fae12-5bbf-47fb-b944-09c49e75c061}",
     kUninstallString, 0},
    {"MS VC++ 2015-2019 Redist (x86) 14.26.28720", Method::QuotedCommand,
     "{86380aef-fd23-4fc3-8723-a98ccad8f2c6}", kUninstallString, 0},
    {"ubCore 6.00 Pro 1394a - 1394b drivers - 32 bit", Method::InstallShield,
     "{F65FE148-FCF5-42F7-8803-FA0B7DA8B8A4}", nullptr, 0},
    {"ubCore 6.00 Pro 1394a - 1394b drivers - 64 bit", Method::InstallShield,
     "{F65FE148-FCF5-42F7-8803-FA0B7DA8B8A4}", nullptr, 0},
    {"Fire-i Application 4.0 - 32 bit", Method::InstallShield, "{1AAA20E7-B683-4F94-A14C-C8186D0EC55F}",
     nullptr, 0},
    {"Fire-i Application 4.0 - 64 bit", Method::InstallShield, "{7FC31537-1378-4B54-9BB6-1F43F4C6AE46}",
     nullptr, 0},
    {"DAQNavi PCI-1730 3.1.1.0", Method::InstallShield, "{6D3F63BF-82B3-402C-B904-19970D4718F6}", nullptr, 0},
    {"DAQNavi USB-4711A 3.1.3.0", Method::InstallShield, "{6D87DA37-CBC4-46E2-9183-91B52DC60D02}", nullptr,
     0},
    {"DAQNavi USB-4750 3.1.1.0", Method::InstallShield, "{E8881CC8-EB89-49FA-B2A5-986488C75164}", nullptr, 0},
    {"DAQNavi SDK and Drivers 3.1.4.0", Method::InstallShield, "{88B93413-6464-4DBB-AFDF-400AEEB20E7D}",
     nullptr, 0},
    {"Pylon 5 Camera Software Suite 5.0.5.8999", Method::PylonCascade, nullptr, nullptr, 1},
    {"Pylon 5 Camera Software Suite 5.0.10.10613", Method::PylonCascade, nullptr, nullptr, 2},
    {"Pylon 5 Camera Software Suite 5.0.12.11830", Method::PylonCascade, nullptr, nullptr, 3},
    {"Pylon 6 Camera Software Suite 6.1.0.19674", Method::PylonCascade, nullptr, nullptr, 4},
    {"MatrikonOPC Server for Simulation", Method::QuotedCommand, "{0D0DBA0E-69F7-45AD-9D09-2E61E1B41190}",
     kUninstallString, 0},
    {"PerformanceTest 8.0", Method::QuotedCommand, "PerformanceTest 8_is1", kQuietUninstallString, 0},
    {"Imaging Source - IC Capture 2.3", Method::QuotedCommand, "ICCapture22_is1", kQuietUninstallString, 0},
    {"Tera Term 4.88", Method::QuotedCommand, "Tera Term_is1", kQuietUninstallString, 0},
    {"IC Imaging Control 3.5 C++ Class Library V3.5.5.3963", Method::QuotedCommand,
     "IC Imaging Control 3.5 C++ Class Library_is1", kQuietUninstallString, 0},

    {"pywin32-219.win32-py2.7", Method::AutoConfirm, "pywin32-py2.7", nullptr, 0},
    {"pywin32-221.win32-py2.7", Method::AutoConfirm, "pywin32-py2.7", nullptr, 0},
    {"pywin32-223.win32-py2.7", Method::AutoConfirm, "pywin32-py2.7", nullptr, 0},
    {"MySQL-python-1.2.4b4.win32-py2.7", Method::AutoConfirm, "MySQL-python-py2.7", nullptr, 0},
    {"scipy-0.16.1-python2.7", Method::AutoConfirm, "scipy-py2.7", "scipy", 0},
    {"scipy-1.0.0-cp27-cp27m-win32", Method::AutoConfirm, "scipy-py2.7", "scipy", 0},
    {"scipy-1.1.0-cp27-cp27m-win32", Method::AutoConfirm, "scipy-py2.7", "scipy", 0},
    {"scipy-1.2.2-cp27-cp27m-win32", Method::AutoConfirm, "scipy-py2.7", "scipy", 0},
    {"numpy-1.10.2-python2.7", Method::AutoConfirm, "numpy-py2.7", "numpy", 0},
    {"numpy-1.14.0+mkl-cp27-cp27m-win32", Method::AutoConfirm, "numpy-py2.7", "numpy", 0},
    {"numpy-1.14.5+mkl-cp27-cp27m-win32", Method::AutoConfirm, "numpy-py2.7", "numpy", 0},
    {"numpy-1.15.1+mkl-cp27-cp27m-win32", Method::AutoConfirm, "numpy-py2.7", "numpy", 0},
    {"numpy-1.16.4-cp27-cp27m-win32", Method::AutoConfirm, "numpy-py2.7", "numpy", 0},
    {"numpy-1.16.4+mkl-cp27-cp27m-win32", Method::AutoConfirm, "numpy-py2.7", "numpy", 0},
    {"pyserial-2.7.win32", Method::AutoConfirm, "pyserial-py2.7", "pyserial", 0},
    {"pyserial-3.4-py2.py3-none-any", Method::AutoConfirm, "pyserial-py2.7", "pyserial", 0},
    {"OPC Scout (SIMATIC NET OPC-Client V6.2-3133)", Method::FirstSpaceCommand, "OPC CLIENT", nullptr, 0},

    {"Orvanto TeamViewer 8 Host", Method::WaitWindow, "TeamViewer 8 Host", "TeamViewer 8 Host Uninstall", 0},
    {"Orvanto TeamViewer 13 Host", Method::TeamViewer13, nullptr, nullptr, 0},
    {"Speccy v1.25", Method::Speccy, nullptr, nullptr, 0},
    {"TightVNC 2.6.4 - 32 bit", Method::TightVnc, "{981B8EDC-E693-4F22-9694-C0FF8E56F134}", nullptr, 0},
    {"TightVNC 2.6.4 - 64 bit", Method::TightVnc, "{D71C967C-8709-4334-BF16-952469E96DCD}", nullptr, 0},
    {"MVS 2.2.3", Method::MvsCascade, nullptr, nullptr, 0},
    {"MVS 2.3.1", Method::MvsCascade, nullptr, nullptr, 1},
    {"MVS 2.4.0", Method::MvsCascade, nullptr, nullptr, 2},
    {"MVS 3.0.0", Method::MvsCascade, nullptr, nullptr, 3},
    {"MVS 3.1.0", Method::MvsCascade, nullptr, nullptr, 4},
    {"MVS 3.2.0", Method::MvsCascade, nullptr, nullptr, 5},
    {"Orvanto OPC Server 1.0.0.7", Method::OpcServer, nullptr, nullptr, 0},
    {"Adam/Apax .NET Utility 2.05.10", Method::AdamApax, nullptr, nullptr, 0},
    {"Python 2.7.9", Method::PythonRuntime, nullptr, nullptr, 27},
    {"Python 2.7.13", Method::PythonRuntime, nullptr, nullptr, 27},
    {"Python 3.6.6", Method::PythonRuntime, nullptr, nullptr, 36},
    {"Microsoft .Net 2.0.50727.42 Redist", Method::NotRemovable, nullptr, nullptr, 0},
    {"Windows Installer 3.1", Method::NotRemovable, nullptr, nullptr, 0},
    {"Adobe Acrobat Reader", Method::NotRemovable, nullptr, nullptr, 0},
};

// Oldest first; the first key has no element of its own.
const char* const kPylonKeys[] = {
    "{7d1403fe-dc29-4331-b008-d8899a59ae1f}", "{4f492672-60bc-405e-ab6a-9e51ebb2f609}",
    "{ffcf4e1b-f1d3-445b-8821-27942b95bc88}", "{3ba2c6e4-350c-4929-b790-ca0aca3cfdfe}",
    "{abb3d5f4-60c0-4322-b3ca-218ade521495}"};

struct MvsStep {
    const char* key;
    const char* version;
};
const MvsStep kMvsSteps[] = {{"MVS", "2.2.3"},     {"MVS", "2.3.1"},     {"HIK_MVS", "2.4.0"},
                             {"HIK_MVS", "3.0.0"}, {"HIK_MVS", "3.1.0"}, {"MVS SDK Runtime x86", "3.2.0.3"}};

const RemovalRow* findRemovalRow(const std::string& name) {
    for (const RemovalRow& row : kRemovalRows)
        if (hnEqualsNoCase(name, row.name))
            return &row;
    return nullptr;
}

// A value of an Uninstall key under HKLM, else HKCU; longer than 4096 bytes
// counts as missing.
bool readUninstallValue(const char* key, const char* valueName, std::string& value) {
    std::string path = std::string(kUninstallRoot) + key;
    return readRegistryText(HKEY_LOCAL_MACHINE, path.c_str(), valueName, kRegistryValueBytes, value) ||
           readRegistryText(HKEY_CURRENT_USER, path.c_str(), valueName, kRegistryValueBytes, value);
}

// Quoted form: program between the leading quote and the next one, the
// argument text after the separator that follows it is the whole command line.
bool runQuotedCommand(const char* key, const char* valueName, const hnStopBlock* stop) {
    std::string value, program, arguments;
    if (!readUninstallValue(key, valueName, value) || value.empty())
        return false;
    splitUninstallString(value, program, arguments);
    runProgram(hnRunMode::Wait, program, {arguments.empty() ? program : arguments}, stop);
    return true;
}

bool runFirstSpaceCommand(const char* key, const hnStopBlock* stop) {
    std::string value, program, arguments;
    if (!readUninstallValue(key, kUninstallString, value) || value.empty())
        return false;
    splitUninstallString(value, program, arguments);
    if (arguments.empty())
        runProgram(hnRunMode::Wait, program, {program}, stop);
    else
        runProgram(hnRunMode::Wait, program, {program, arguments}, stop);
    return true;
}

// Runs the registered command as it stands, then follows `imageName`.
void runRegisteredCommandAndFollow(const char* key, const char* imageName, const hnActionTimings& timings) {
    std::string value, program, arguments;
    if (!readUninstallValue(key, kUninstallString, value) || value.empty())
        return;
    splitUninstallString(value, program, arguments);
    runProgram(hnRunMode::Wait, program, {value}, timings.stop);
    followProcessByImageName(imageName, timings);
}

bool removePylon(int index, const hnStopBlock* stop) {
    for (int older = 0; older < index; ++older)
        if (hnCheckInstallations::isUninstallKeyPresent(kPylonKeys[older]))
            runQuotedCommand(kPylonKeys[older], kUninstallString, stop);
    return runQuotedCommand(kPylonKeys[index], kUninstallString, stop);
}

void removeMvs(int index, const hnActionTimings& timings) {
    if (index > 0)
        removeMvs(index - 1, timings);
    else
        runRegisteredCommandAndFollow("MVS", "Au_.exe", timings);
    std::string version;
    if (readUninstallValue(kMvsSteps[index].key, "DisplayVersion", version) &&
        version == kMvsSteps[index].version)
        runRegisteredCommandAndFollow(kMvsSteps[index].key, "Un_A.exe", timings);
}

bool removeTightVnc(const char* productCode, const hnActionTimings& timings) {
    std::string displayName;
    if (readUninstallValue("TightVNC", "DisplayName", displayName)) {
        std::string title = hnFormatText("%s Uninstall ", displayName.c_str());
        runUninstallStringAndWaitWindow("TightVNC", title.c_str(), timings.tightVncWindow,
                                        timings.tightVncWindowGone, timings.stop);
    }
    return uninstallMsiProduct(productCode, timings.stop);
}

bool removeOpcServer(const hnActionTimings& timings) {
    std::string runtime, folder, program;
    if (!actionRuntimeFolder(runtime) ||
        !hnFormat(folder, kPathCapacity, "%s%s", runtime.c_str(), "OrvantoOPCServer") ||
        !hnFormat(program, kPathCapacity, "%s%s\\%s", runtime.c_str(), "OrvantoOPCServer",
                  "OrvantoOPCServer.exe"))
        return false;
    runProgram(hnRunMode::NoWait, program, {program, "-uninstall"}, timings.stop);
    closeOrvantoOpcServerWindow(timings.opcServerWindow, timings.stop);
    if (!hnPause(timings.stop, timings.opcServerUninstallPauseMs))
        return false;
    deleteFileForced(program);
    ::RemoveDirectoryA(folder.c_str());
    return !fileExists(program);
}

bool removeAdamApax(const hnStopBlock* stop) {
    std::string value;
    if (readUninstallValue("{C2E6E999-4516-40D2-8191-79B5CB4B987B}", kUninstallString, value) &&
        !value.empty()) {
        std::size_t blank = value.find(' ', 1);
        std::string program = value.substr(0, blank);
        std::string parameters = blank == std::string::npos ? std::string() : value.substr(blank + 1);
        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_DOENVSUBST;
        info.lpVerb = "open";
        info.lpFile = program.c_str();
        info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
        info.nShow = SW_SHOW;
        if ((!stop || !stop->stopRequested()) && ::ShellExecuteExA(&info) && info.hProcess) {
            hnScopedHandle process(info.hProcess);
            hnSessionLogF("Program", "started %s (%s)", program.c_str(), parameters.c_str());
            if (hnWaitOrStop(stop, process.get(), INFINITE) != hnStopBlock::Wait::Signalled)
                return false;
            DWORD exitCode = 0;
            ::GetExitCodeProcess(process.get(), &exitCode);
            hnSessionLogF("Program", "%s ended with exit code %lu", program.c_str(), exitCode);
        }
    }
    return uninstallMsiProduct("{E0372F59-9433-4342-B0B2-5B06C42C1773}", stop);
}

bool removeTree(const std::string& folder, const char* guard) {
    if (fileExists(folder))
        deleteFolderTree(folder.c_str(), guard);
    return !fileExists(folder);
}

// Whether a toolbox build folder of the runtime other than `own` holds
// `relative` (a path below the build folder).
bool otherBuildHolds(const std::string& runtime, const char* own, const std::string& relative) {
    WIN32_FIND_DATAA found = {};
    hnScopedFind find(::FindFirstFileA((runtime + "DeepformVision*").c_str(), &found));
    if (!find)
        return false;
    do {
        std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && _stricmp(name.c_str(), own) != 0 &&
            name.find("_1_0_0_") != std::string::npos && fileExists(runtime + name + "\\" + relative))
            return true;
    } while (::FindNextFileA(find.get(), &found));
    return false;
}

// Deletes what the installation action of `row` created, no more.
bool removeInstalledFiles(const hnActionRow& row, const std::string& elementName) {
    std::string runtime, path;
    switch (row.family) {
    case hnActionFamily::RuntimeSubFolder: {
        if (!actionRuntimeFolder(runtime) ||
            !hnFormat(path, kPathCapacity, "%s%s", runtime.c_str(), row.target))
            return false;
        if (row.followUp == hnArchiveFollowUp::OpenCv) {
            // The runtime's "cv2.pyd" goes only when it is this build's copy.
            std::string own = path + "\\Python\\cv2.pyd", shared = runtime + "Python\\cv2.pyd";
            if (fileExists(own) && fileExists(shared) && filesHaveSameContent(own, shared))
                deleteFileIfPresent(shared);
        }
        hnFileSet toolbox;
        if (deepformBuildFileSet(row.target, toolbox)) {
            // The runtime loads the toolbox from the copies of the build's
            // files: those still identical to the build's go with it, unless
            // another build folder holds a file of that name (a shared
            // assembly the other build needs).
            for (const hnFileSetEntry& entry : toolbox.files)
                if (!entry.reference.empty() && fileExists(entry.file) && fileExists(entry.reference) &&
                    filesHaveSameContent(entry.file, entry.reference) &&
                    !otherBuildHolds(runtime, row.target, entry.file.substr(path.size() + 1)))
                    deleteFileIfPresent(entry.reference);
        }
        bool olderGone = true;
        if (row.followUp == hnArchiveFollowUp::SystemPath) {
            // The older module folders that detection flags go too, or the
            // row could never read "Installed" again.
            for (const char* older : {"IPP924", "IPP0802031069"})
                olderGone = removeTree(runtime + older, older) && olderGone;
        }
        return removeTree(path, row.target) && olderGone;
    }
    case hnActionFamily::RuntimeFolder: {
        if (!actionRuntimeFolder(runtime))
            return false;
        if (row.followUp != hnArchiveFollowUp::PythonFolder)
            return deleteFileIfPresent(runtime + "SMCameraClient.dll");
        bool gone = true;
        for (const char* file : {"zentraapi.py", "pyzentra24.pyd", "pyzentra25.pyd", "pyzentra26.pyd"})
            gone = deleteFileIfPresent(runtime + "Python\\" + file) && gone;
        return gone;
    }
    case hnActionFamily::Documents: {
        std::string documents;
        if (!hnDocumentsFolder(documents) || !hnFormat(path, kPathCapacity, "%s\\%s\\%s", documents.c_str(),
                                                       "Orvanto 15.0", elementName.c_str()))
            return false;
        return removeTree(path, "Orvanto 15.0");
    }
    case hnActionFamily::CycleController:
        return removeCycleControllerFiles();
    default:
        return false;
    }
}

bool removeWheelPackage(const hnWheelRow& row, bool stopOnErrors, const hnStopBlock* stop) {
    if (row.python == 27)
        return pythonEnvironment().uninstallPy27Package(row.package, stopOnErrors, stop);
    std::string package(row.package);
    if (package == "pyserial")
        return pythonEnvironment().uninstallPy36PyserialPackages(stopOnErrors, stop);
    if (package == "opencv-python" || package == "opencv-contrib-python")
        return pythonEnvironment().uninstallPy36OpenCvPackages(stopOnErrors, stop);
    return pythonEnvironment().uninstallPy36Package(row.package, stopOnErrors, stop);
}

// The pip package of an extension row: the name after "Python 27 extension - "
// or "Python 36 extension - " (letter case of the prefix ignored).
bool extensionPackage(const std::string& name, int& python, std::string& package) {
    for (int version : {27, 36}) {
        std::string prefix = hnFormatText("Python %d extension - ", version);
        if (name.size() > prefix.size() && hnEqualsNoCase(name.substr(0, prefix.size()), prefix)) {
            python = version;
            package = name.substr(prefix.size());
            return true;
        }
    }
    return false;
}

bool removeExtensionPackage(int python, const std::string& package, bool stopOnErrors,
                            const hnStopBlock* stop) {
    if (python == 27)
        return pythonEnvironment().uninstallPy27Package(package.c_str(), stopOnErrors, stop);
    return pythonEnvironment().uninstallPy36Package(package.c_str(), stopOnErrors, stop);
}

bool runRemovalRow(const RemovalRow& row, bool stopOnErrors, const hnActionTimings& timings) {
    const hnStopBlock* stop = timings.stop;
    switch (row.method) {
    case Method::Msi: {
        bool removed = uninstallMsiProduct(row.a, stop);
        return (row.b ? uninstallMsiProduct(row.b, stop) : true) && removed;
    }
    case Method::RuntimeMsi:
        if (!uninstallMsiProduct(row.a, stop))
            return false;
        pythonEnvironment().removePythonIntegration();
        return true;
    case Method::QuotedCommand:
        return runQuotedCommand(row.a, row.b, stop);
    case Method::InstallShield:
        return runInstallShieldUninstall(row.a, stop);
    case Method::PylonCascade:
        return removePylon(row.index, stop);
    case Method::AutoConfirm: {
        bool removed = runUninstallStringWithAutoConfirm(std::string(kUninstallRoot) + row.a, stop);
        return (row.b ? pythonEnvironment().uninstallPy27Package(row.b, stopOnErrors, stop) : true) &&
               removed;
    }
    case Method::FirstSpaceCommand:
        return runFirstSpaceCommand(row.a, stop);
    case Method::WaitWindow:
        return runUninstallStringAndWaitWindow(row.a, row.b, kUninstallerWindowAppears,
                                               kUninstallerWindowGone, stop);
    case Method::TeamViewer13:
        runUninstallStringAndWaitWindow("TeamViewer 8 Host", "TeamViewer 8 Host Uninstall",
                                        kUninstallerWindowAppears, kUninstallerWindowGone, stop);
        return runUninstallStringAndWaitWindow("TeamViewer", "TeamViewer 13 Host Uninstall ",
                                               kUninstallerWindowAppears, kUninstallerWindowGone, stop);
    case Method::Speccy: {
        bool removed = runUninstallStringAndWaitWindow(
            "Speccy", "Speccy v1.25 Uninstall", kUninstallerWindowAppears, kUninstallerWindowGone, stop);
        return hnPause(stop, timings.speccyPauseMs) && removed;
    }
    case Method::TightVnc:
        return removeTightVnc(row.a, timings);
    case Method::MvsCascade:
        removeMvs(row.index, timings);
        return true;
    case Method::OpcServer:
        return removeOpcServer(timings);
    case Method::AdamApax:
        return removeAdamApax(stop);
    case Method::PythonRuntime:
        return pythonEnvironment().uninstallPythonRuntime(row.index, stop);
    case Method::NotRemovable:
        return false;
    }
    return false;
}

// Windows Installer asks this about every progress step of a removal that a
// worker runs; once its stop is requested the answer cancels the removal,
// which the installer then rolls back.
INT CALLBACK cancelOnStop(LPVOID context, UINT, LPCSTR) {
    return static_cast<const hnStopBlock*>(context)->stopRequested() ? IDCANCEL : 0;
}

// MsiConfigureProductA to absent; with `stop` the removal is cancelled once a
// stop is requested instead of holding its worker until it ends.
UINT configureProductAbsent(const char* productCode, const hnStopBlock* stop) {
    if (!stop)
        return ::MsiConfigureProductA(productCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    // Nothing else in the program sets a handler; none is in place afterwards.
    INSTALLUI_HANDLERA previous = ::MsiSetExternalUIA(
        cancelOnStop, INSTALLLOGMODE_PROGRESS | INSTALLLOGMODE_ACTIONSTART, const_cast<hnStopBlock*>(stop));
    UINT result = ::MsiConfigureProductA(productCode, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    ::MsiSetExternalUIA(previous, 0, nullptr);
    if (result == ERROR_INSTALL_USEREXIT)
        hnDebugOutF("uninstallMsiProduct - removal of %s cancelled by a stop\n", productCode);
    return result;
}

bool isConfiguredWithoutTest(const std::string& name) {
    return hnEqualsNoCase(name, "Orvanto Version XV 15.0.0.774 Runtime") ||
           hnEqualsNoCase(name, "Orvanto Kadrix Version XV 15.0.0.774 SDK") ||
           hnEqualsNoCase(name, "Orvanto Vision Software Version XV 15.0.0.774");
}

} // namespace

bool hasRemovalMethod(const std::string& name) {
    const RemovalRow* row = findRemovalRow(name);
    if (row)
        return row->method != Method::NotRemovable;
    const hnActionRow* action = findActionRow(name);
    if (action &&
        (action->family == hnActionFamily::RuntimeSubFolder ||
         action->family == hnActionFamily::RuntimeFolder || action->family == hnActionFamily::Documents ||
         action->family == hnActionFamily::CycleController))
        return true;
    int python = 0;
    std::string package;
    return findWheelRow(name) != nullptr || extensionPackage(name, python, package);
}

bool isKnownAsNotRemovable(const std::string& name) {
    const RemovalRow* row = findRemovalRow(name);
    return row && row->method == Method::NotRemovable;
}

bool followProcessByImageName(const char* imageName, const hnActionTimings& timings) {
    bool seen = countProcessesByImageName(imageName) > 0;
    for (int i = 0; !seen && i < timings.processStart.polls; ++i) {
        if (!hnPause(timings.stop, timings.processStart.intervalMs))
            return false;
        seen = countProcessesByImageName(imageName) > 0;
    }
    for (int i = 0; seen && i < timings.processEnd.polls && countProcessesByImageName(imageName) > 0; ++i)
        if (!hnPause(timings.stop, timings.processEnd.intervalMs))
            break;
    return seen;
}

bool uninstallMsiProduct(const char* productCode, const hnStopBlock* stop) {
    if (!productCode || !actionMsiProductInstalled(productCode))
        return true;
    if (stop && stop->stopRequested())
        return false;
    UINT result = configureProductAbsent(productCode, stop);
    if (result != ERROR_SUCCESS)
        hnDebugOutF("uninstallMsiProduct - Unable to remove %s (%u)\n", productCode, result);
    return result == ERROR_SUCCESS;
}

bool uninstallComponentByName(hnInstallationElement& element, bool stopOnErrors,
                              const hnActionTimings& timings) {
    if (const RemovalRow* row = findRemovalRow(element.name))
        return runRemovalRow(*row, stopOnErrors, timings);
    if (const hnActionRow* action = findActionRow(element.name))
        return removeInstalledFiles(*action, element.name);
    if (const hnWheelRow* wheel = findWheelRow(element.name))
        return removeWheelPackage(*wheel, stopOnErrors, timings.stop);
    // Extensions installed by their own setups are registered with pip too.
    int python = 0;
    std::string package;
    if (extensionPackage(element.name, python, package))
        return removeExtensionPackage(python, package, stopOnErrors, timings.stop);
    return false;
}

int uninstallElement(hnElementActions& detection, hnInstallationElement& element, int position, int runLength,
                     bool stopOnErrors, const hnActionTimings& timings) {
    if (!detection.isInstalled(element)) {
        element.setProgress(kProgressOk);
        return 1;
    }
    element.setProgress(kProgressUninstalling);
    std::unique_ptr<DUninstallComponent> dialog(
        new DUninstallComponent(position, runLength, &element, stopOnErrors, timings));
    dialog->doModal(appMainWindow());
    if (detection.isInstalled(element)) {
        element.setProgress(kProgressUninstallError,
                            "After the removal the component is still found: " + element.statusReason());
        return -1;
    }
    element.setProgress(kProgressOk);
    element.setStatus(kStatusNotInstalled);
    element.statusDetail.clear();
    return 1;
}

int repairElement(bool stopOnErrors, hnInstallationElement& element, const hnActionTimings& timings) {
    const std::string& status = element.status();
    if (status != kStatusReinstallNeeded && status != kStatusVersionMismatch &&
        status != kStatusMultipleVersions && status != kStatusIncompleteModule)
        return 1;
    if (isConfiguredWithoutTest(element.name)) {
        const RemovalRow* row = findRemovalRow(element.name);
        if (configureProductAbsent(row->a, timings.stop) != ERROR_SUCCESS)
            return -1;
        if (row->method == Method::RuntimeMsi)
            pythonEnvironment().removePythonIntegration();
        return 1;
    }
    if (!hasRemovalMethod(element.name))
        return 1;
    return uninstallComponentByName(element, stopOnErrors, timings) ? 1 : -1;
}
