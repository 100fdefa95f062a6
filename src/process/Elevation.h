#pragma once
// Starting a user-facing program with the signed-in user's ordinary rights
// instead of the installer's elevated ones: on systems with user account
// control the running desktop shell (explorer.exe) starts it.
#include <functional>
#include <windows.h>

// What the launch needs from the system; the defaults ask the real one.
// Tests replace them to reach both branches on any machine.
struct hnLaunchSystem {
    // Fills the version record; false when the query failed.
    std::function<bool(OSVERSIONINFOEXA&)> queryVersion;
    // ShellExecute "open" shown with SW_SHOW; returns the shell's result.
    std::function<INT_PTR(const char* file, const char* parameters, const char* folder)> shellOpen;

    static const hnLaunchSystem& real();
};

// Opens `file` (with `parameters`, if any) in `workingFolder`. With user
// account control (NT 6 or later) the shell starts it: explorer.exe with the
// file, or with a temporary shortcut that carries the parameters. Any failure
// on that road falls back to opening the file directly. Stores the shell's
// result (above 32 means started, preset 33) in `shellResult` and returns 1;
// -1 without a file, -2 without a working folder or result pointer.
int launchAppManagingUACElevation(const char* file, const char* workingFolder, const char* parameters,
                                  int* shellResult, const hnLaunchSystem& system = hnLaunchSystem::real());
