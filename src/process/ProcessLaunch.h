#pragma once
// Starting other programs by path: installers, packages, consoles that pause,
// and the process count by image name that follows programs the shell starts.
#include <string>
#include <vector>

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

// Runs a downloaded installable and waits for it: packages through msiexec
// "/i" (with "/passive" when `switches` is empty), executables with
// `switches` as their whole command line, or with their own path when the
// switches are "CopyEXEFullPath". Empty switches of an executable start
// nothing. A stop ends the wait (the installer runs on by itself).
void runDownloadedInstaller(const std::string& installablePath, const std::string& switches,
                            bool isMsiPackage, const hnStopBlock* stop = nullptr);

// msiexec "/x" <product code> "/passive", waited for (a stop ends the wait).
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
