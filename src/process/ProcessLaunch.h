#pragma once
// Starting other programs by path: installers, packages, consoles that pause,
// and the process count by image name that follows programs the shell starts.
#include <string>
#include <vector>
#include <windows.h>

class hnDialog;
class hnStopBlock;

enum class hnRunMode { Wait, NoWait };

// Starts `programPath` with the command line formed by joining `arguments`
// with single spaces; the first item is what the program sees as its own
// name. When that first item is the program's own path and holds a blank it
// is enclosed in double quotes; every other item is passed as it is. Wait
// returns the exit code, NoWait 0 once the process exists; -1 when nothing
// was started (empty path, empty first item, start failure). With `stop`
// nothing starts once a stop is requested, and a stop ends the wait (-1; the
// program runs on by itself).
int runProgram(hnRunMode mode, const std::string& programPath, const std::vector<std::string>& arguments,
               const hnStopBlock* stop = nullptr);

// The Windows Installer program of the system folder, written
// "<folder with forward slashes>\\msiexec.exe".
std::string msiexecPath();
// The control registration program of the system folder, written
// "<folder with forward slashes>/regsvr32.exe".
std::string regsvr32Path();

// msiexec's answer while another installation holds Windows Installer.
constexpr int kInstallerBusyCode = 1618;

// How long a run of msiexec waits for a busy Windows Installer: while the
// mutex the installer holds for an installation's execute phase is held
// elsewhere it polls every `pollMs`; when msiexec answers 1618 all the same,
// it asks again after `retryAfterMs`. Both end `freeWithinMs` after the call.
struct hnInstallerBusyLimits {
    DWORD freeWithinMs = 600000;
    DWORD retryAfterMs = 5000;
    DWORD pollMs = 250;
};

// Runs msiexec (`program`, `arguments` as runProgram takes them) once Windows
// Installer is free, and asks again while it answers 1618, within `limits`.
// Returns msiexec's last exit code; 1618 when the installer stayed busy (then
// msiexec may not have been started at all); -1 when nothing was started or a
// stop came while msiexec ran (it runs on by itself). A stop while the
// installer is busy starts nothing more and returns 1618 if msiexec has
// answered so, else -1. Every wait and its outcome is logged.
int runWindowsInstaller(const std::string& program, const std::vector<std::string>& arguments,
                        const hnStopBlock* stop = nullptr, const hnInstallerBusyLimits& limits = {});

// Runs a downloaded installable and waits for it: packages through msiexec
// "/i" (with "/passive" when `switches` is empty) as runWindowsInstaller
// runs it, executables with `switches` as their whole command line, or with
// their own path when the switches are "CopyEXEFullPath". Empty switches of
// an executable start nothing. A stop ends the wait (the installer runs on
// by itself).
void runDownloadedInstaller(const std::string& installablePath, const std::string& switches,
                            bool isMsiPackage, const hnStopBlock* stop = nullptr);

// msiexec "/x" <product code> "/passive" as runWindowsInstaller runs it.
void runMsiexecUninstall(const std::string& productCode, const hnStopBlock* stop = nullptr);

// When the visible console of processCommandLineArgWithPause waits for a key.
enum class hnConsolePause {
    AfterSuccess, // "&&pause": a failing command closes the console at once
    Always,       // "&pause": the user can read a failure too
};

// Runs `command` in a visible console of the x86 cmd.exe that pauses as
// `pause` says; `dialog`, when given, is shown meanwhile and ended with 1
// afterwards, and this thread's windows stay painted during the wait. False
// when it could not start, ran past 10 minutes, or a stop was requested
// through `stop` (may be null): the wait then ends at once and the console
// is left open for the user to read and close.
bool processCommandLineArgWithPause(const char* command, hnDialog* dialog = nullptr,
                                    hnConsolePause pause = hnConsolePause::AfterSuccess,
                                    const hnStopBlock* stop = nullptr);

// Number of running processes whose image name equals `imageName`, ignoring
// case; 0 when the process list cannot be read.
int countProcessesByImageName(const std::string& imageName);
