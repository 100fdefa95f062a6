#pragma once
// Running the uninstall command that another product registered, and the
// window watchers that follow uninstallers and servers which detach from the
// process that started them.
#include <string>
#include <windows.h>

class hnStopBlock;

// Splits a registered uninstall string into program and argument text. A
// string that begins with a double quote takes the program up to the closing
// quote and the arguments after the one separator that follows it (without a
// closing quote the rest is the program). Otherwise the program runs up to
// the first blank.
void splitUninstallString(const std::string& text, std::string& program, std::string& arguments);

// "UninstallString" of the "InstallShield_<productKey>" Uninstall key (HKLM,
// else HKCU), run with its argument text as the whole command line.
bool runInstallShieldUninstall(const std::string& productKey, const hnStopBlock* stop = nullptr);

// "UninstallString" of `subKeyPath` (HKLM, else HKCU) run with its arguments
// while a helper thread confirms "Please confirm" and closes "Uninstall
// Finished!". A key that exists in neither hive counts as uninstalled.
bool runUninstallStringWithAutoConfirm(const std::string& subKeyPath, const hnStopBlock* stop = nullptr);

// Polling for a window: `polls` checks `intervalMs` apart.
struct hnWindowPoll {
    DWORD intervalMs;
    int polls;
};

// "UninstallString" of the Uninstall key `keyName`, run with its own path;
// with `windowTitle` the uninstaller's window is then looked for with
// `appear` (60 s in 25 ms steps unless a caller says otherwise) and followed
// with `gone` until it closes.
constexpr hnWindowPoll kUninstallerWindowAppears{25, 2400};
constexpr hnWindowPoll kUninstallerWindowGone{1000, 600};
bool runUninstallStringAndWaitWindow(const std::string& keyName, const char* windowTitle = nullptr,
                                     hnWindowPoll appear = kUninstallerWindowAppears,
                                     hnWindowPoll gone = kUninstallerWindowGone,
                                     const hnStopBlock* stop = nullptr);

// Polling of a top-level window by title: every `intervalMs`, at most
// `polls` times, until the window is present (or, with `present` false,
// gone). Returns the window found (present) or null. A stop ends the polling
// (not found, not gone).
HWND waitForWindow(const char* title, hnWindowPoll poll, const hnStopBlock* stop = nullptr);
bool waitForWindowGone(const char* title, hnWindowPoll poll, const hnStopBlock* stop = nullptr);

// Timings of closeOrvantoOpcServerWindow; the shipped ones are 10 ms x 3000
// to find it, a 15000 ms pause, then 10 ms x 1500 to see it gone.
struct hnOpcWindowTimings {
    hnWindowPoll find{10, 3000};
    DWORD settleMs = 15000;
    hnWindowPoll gone{10, 1500};
};

// Closes the window the OPC server shows after its registration: 1, or -1
// when it never appeared or a stop came first.
int closeOrvantoOpcServerWindow(const hnOpcWindowTimings& timings = hnOpcWindowTimings(),
                                const hnStopBlock* stop = nullptr);

// Reads "UninstallString" of `subKeyPath` under HKLM, else HKCU. Found says
// whether the key exists in either hive.
bool readUninstallString(const std::string& subKeyPath, std::string& value, bool* keyFound = nullptr);
