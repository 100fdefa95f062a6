#include "process/ProcessLaunch.h"

#include <algorithm>
#include <windows.h>

#include "app/DebugOut.h"
#include "app/Dialog.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SessionLog.h"
#include "app/StopBlock.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "process/ProcessList.h"
#include "process/SystemInfo.h"

namespace {
constexpr DWORD kPauseConsoleLimitMs = 600000;
constexpr std::size_t kPauseCommandCapacity = 3072;
} // namespace

int runProgram(hnRunMode mode, const std::string& programPath, const std::vector<std::string>& arguments,
               const hnStopBlock* stop) {
    if (programPath.empty() || arguments.empty() || arguments.front().empty())
        return -1;
    if (stop && stop->stopRequested())
        return -1;
    std::string commandLine;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& item = arguments[i];
        if (i > 0)
            commandLine += ' ';
        // A program under "Program Files" would otherwise see its own path
        // split into arguments.
        bool quoteOwnPath = i == 0 && item == programPath && item.find(' ') != std::string::npos;
        commandLine += quoteOwnPath ? "\"" + item + "\"" : item;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::string logged = commandLine; // CreateProcess may write into the command line
    if (!::CreateProcessA(programPath.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE,
                          nullptr, nullptr, &startup, &info)) {
        hnSessionLogF("Program", "%s (%s) could not be started (%lu)", programPath.c_str(), logged.c_str(),
                      ::GetLastError());
        return -1;
    }
    hnScopedHandle process(info.hProcess);
    hnScopedHandle thread(info.hThread);
    hnSessionLogF("Program", "started %s (%s)", programPath.c_str(), logged.c_str());
    if (mode == hnRunMode::NoWait)
        return 0;
    if (hnWaitOrStop(stop, process.get(), INFINITE) != hnStopBlock::Wait::Signalled) {
        hnDebugOutF("runProgram - stopped while %s runs\n", programPath.c_str());
        return -1;
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    hnSessionLogF("Program", "%s ended with exit code %lu", programPath.c_str(), exitCode);
    return static_cast<int>(exitCode);
}

namespace {
// The system folder with forward slashes and no trailing one.
std::string slashedSystemFolder() {
    std::string folder;
    if (!hnSystemFolder(folder))
        folder.clear();
    std::replace(folder.begin(), folder.end(), '\\', '/');
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return folder;
}
} // namespace

std::string msiexecPath() {
    return slashedSystemFolder() + "\\msiexec.exe";
}

std::string regsvr32Path() {
    return slashedSystemFolder() + "/regsvr32.exe";
}

namespace {
// The mutex Windows Installer holds while an installation runs its execute
// phase; msiexec answers 1618 meanwhile.
const char* const kInstallerExecuteMutex = "Global\\_MSIExecute";

// True while another process holds the mutex. Taking it for a moment tells;
// it is given back at once. A mutex that cannot be opened counts as free:
// msiexec's own answer then decides.
bool installerBusy() {
    hnScopedHandle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, kInstallerExecuteMutex));
    if (!mutex)
        return false;
    DWORD taken = ::WaitForSingleObject(mutex.get(), 0);
    if (taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED) {
        ::ReleaseMutex(mutex.get());
        return false;
    }
    return true;
}

DWORD msSince(DWORD start) {
    return ::GetTickCount() - start;
}

enum class hnInstallerWait { Free, Busy, Stopped };

// Waits until the installer is free, a stop or `start` + `limitMs`.
hnInstallerWait waitForFreeInstaller(const std::string& program, DWORD start,
                                     const hnInstallerBusyLimits& limits, const hnStopBlock* stop) {
    if (!installerBusy())
        return hnInstallerWait::Free;
    hnDebugOutF("runWindowsInstaller - Windows Installer is busy with another installation, %s waits up to "
                "%lu ms\n",
                program.c_str(), static_cast<unsigned long>(limits.freeWithinMs));
    DWORD waitStart = ::GetTickCount();
    while (msSince(start) < limits.freeWithinMs) {
        if (!hnPause(stop, limits.pollMs))
            return hnInstallerWait::Stopped;
        if (!installerBusy()) {
            hnDebugOutF("runWindowsInstaller - Windows Installer free after %lu ms\n",
                        static_cast<unsigned long>(msSince(waitStart)));
            return hnInstallerWait::Free;
        }
    }
    return hnInstallerWait::Busy;
}
} // namespace

int runWindowsInstaller(const std::string& program, const std::vector<std::string>& arguments,
                        const hnStopBlock* stop, const hnInstallerBusyLimits& limits) {
    const DWORD start = ::GetTickCount();
    int code = -1;
    for (;;) {
        hnInstallerWait wait = waitForFreeInstaller(program, start, limits, stop);
        if (wait == hnInstallerWait::Stopped) {
            hnSessionLogF("Program", "%s not started: stop requested while Windows Installer was busy",
                          program.c_str());
            return code == kInstallerBusyCode ? code : -1;
        }
        if (wait == hnInstallerWait::Busy) {
            hnSessionLogF("Program", "%s not started: Windows Installer still busy after %lu ms",
                          program.c_str(), static_cast<unsigned long>(msSince(start)));
            return kInstallerBusyCode;
        }
        code = runProgram(hnRunMode::Wait, program, arguments, stop);
        if (code != kInstallerBusyCode)
            return code;
        if (msSince(start) + limits.retryAfterMs >= limits.freeWithinMs) {
            hnSessionLogF("Program",
                          "%s: another installation still in progress after %lu ms, not asked again",
                          program.c_str(), static_cast<unsigned long>(msSince(start)));
            return code;
        }
        hnDebugOutF("runWindowsInstaller - another installation is in progress, %s asked again in %lu ms\n",
                    program.c_str(), static_cast<unsigned long>(limits.retryAfterMs));
        if (!hnPause(stop, limits.retryAfterMs)) {
            hnSessionLogF("Program", "%s not asked again: stop requested while another installation ran",
                          program.c_str());
            return code;
        }
    }
}

void runDownloadedInstaller(const std::string& installablePath, const std::string& switches,
                            bool isMsiPackage, const hnStopBlock* stop) {
    hnInstallerServices* services = installerServices();
    bool unattended = services && services->unattendedRun();
    int code = -1;
    if (isMsiPackage) {
        std::string program = msiexecPath();
        std::string quoted;
        if (!hnFormat(quoted, kPathCapacity, "\"%s\"", installablePath.c_str())) {
            hnDebugOut("runDownloadedInstaller - package path too long\n");
            return;
        }
        std::vector<std::string> arguments = {program, "/i", quoted,
                                              switches.empty() ? "/passive" : switches};
        // Nobody is at the screen: no package restarts the PC during a run.
        if (unattended)
            arguments.push_back("REBOOT=ReallySuppress");
        code = runWindowsInstaller(program, arguments, stop);
    } else if (switches == "CopyEXEFullPath") {
        code = runProgram(hnRunMode::Wait, installablePath, {installablePath}, stop);
    } else {
        code = runProgram(hnRunMode::Wait, installablePath, {switches}, stop);
    }
    if (unattended && code >= 0)
        services->noteInstallerExitCode(static_cast<unsigned long>(code));
}

void runMsiexecUninstall(const std::string& productCode, const hnStopBlock* stop) {
    std::string program = msiexecPath();
    runWindowsInstaller(program, {program, "/x", productCode, "/passive"}, stop);
}

bool processCommandLineArgWithPause(const char* command, hnDialog* dialog, hnConsolePause pause,
                                    const hnStopBlock* stop) {
    if (!command) {
        hnDebugOut("processCommandLineArgWithPause - NULL pointer 1\n");
        return false;
    }
    std::string folder;
    if (!systemX86Folder(folder)) {
        hnDebugOut("processCommandLineArgWithPause - Unable to get Windows directory path\n");
        return false;
    }
    std::string program = folder + "\\cmd.exe";
    std::string commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    const char* format = pause == hnConsolePause::Always ? "/c \"%s&pause\"" : "/c \"%s&&pause\"";
    if (!hnFormat(commandLine, kPauseCommandCapacity, format, command) ||
        !::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                          nullptr, nullptr, &startup, &info)) {
        hnDebugOut("hnPyhton36InstallFunctions::processCommandLineArgWithPause - Unable to start process\n");
        return false;
    }
    hnScopedHandle process(info.hProcess);
    hnScopedHandle thread(info.hThread);
    if (dialog)
        dialog->showForWait();
    hnSessionLogF("Program", "started %s (%s)", program.c_str(), commandLine.c_str());
    hnStopBlock::Wait wait = hnWaitOrStopKeepingPainted(stop, process.get(), kPauseConsoleLimitMs);
    if (wait == hnStopBlock::Wait::Stopped) {
        hnSessionLogF("Program", "%s (%s) no longer waited for: stop requested (console left open)",
                      program.c_str(), commandLine.c_str());
        if (dialog)
            dialog->endDialog(1);
        return false;
    }
    bool ended = wait == hnStopBlock::Wait::Signalled;
    if (!ended)
        ::TerminateProcess(process.get(), 0);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    hnSessionLogF("Program", "%s ended with exit code %lu%s", program.c_str(), exitCode,
                  ended ? "" : " (ended after 10 minutes)");
    if (dialog)
        dialog->endDialog(1);
    return ended;
}

int countProcessesByImageName(const std::string& imageName) {
    int count = 0;
    forEachProcessImageName([&](const std::string& name) {
        if (hnEqualsNoCase(name, imageName))
            ++count;
    });
    return count;
}
