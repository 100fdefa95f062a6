#pragma once
// Exit codes of the unattended mode, the conventions deployment systems
// already read from Windows Installer runs.
#include <string>

namespace exitcode {
constexpr int kDone = 0;
constexpr int kBadSetFile = 87; // a set file it cannot use; nothing was installed
constexpr int kCancelled = 1602;
constexpr int kFailed = 1603; // a component failed; the log names it
constexpr int kBusy = 1618;   // another installer of the family runs
constexpr int kBadCommandLine = 1639;
constexpr int kRestartNeeded = 3010;  // done, a restart is needed
constexpr int kRestartStarted = 1641; // only ever read from a started installer
} // namespace exitcode

// What one unattended run came to, gathered while it goes.
struct hnRunOutcome {
    bool cancelled = false;
    bool busy = false;          // a conflicting installer, or a started one said 1618
    bool failed = false;        // a component failed
    bool badSetFile = false;    // refused before anything was installed
    bool restartNeeded = false; // a started installer asked for one

    // Reads the exit code of a started msiexec or setup program. Only the
    // codes that change the run's own result count; every other code is left
    // to re-detection, which decides whether the component is installed.
    void noteInstallerExitCode(unsigned long code);
};

// The run's exit code. A refusal outranks everything (nothing was done), then
// a busy machine, a cancel and a failure; a restart is reported only for a
// run that otherwise succeeded.
int hnExitCodeOf(const hnRunOutcome& outcome);

// The words of an exit code for the log ("done", "a component failed", ...).
const char* hnExitCodeMeaning(int code);
