#include "main/ExitCodes.h"

void hnRunOutcome::noteInstallerExitCode(unsigned long code) {
    if (code == static_cast<unsigned long>(exitcode::kRestartNeeded) ||
        code == static_cast<unsigned long>(exitcode::kRestartStarted))
        restartNeeded = true;
    else if (code == static_cast<unsigned long>(exitcode::kBusy))
        busy = true;
}

int hnExitCodeOf(const hnRunOutcome& outcome) {
    if (outcome.badSetFile)
        return exitcode::kBadSetFile;
    if (outcome.busy)
        return exitcode::kBusy;
    if (outcome.cancelled)
        return exitcode::kCancelled;
    if (outcome.failed)
        return exitcode::kFailed;
    return outcome.restartNeeded ? exitcode::kRestartNeeded : exitcode::kDone;
}

namespace {
struct CodeMeaning {
    int code;
    const char* meaning;
};
const CodeMeaning kMeanings[] = {
    {exitcode::kDone, "done"},
    {exitcode::kBadSetFile, "the set file cannot be used; nothing was installed"},
    {exitcode::kCancelled, "cancelled"},
    {exitcode::kFailed, "a component failed"},
    {exitcode::kBusy, "another installer is running"},
    {exitcode::kBadCommandLine, "the command line cannot be used"},
    {exitcode::kRestartNeeded, "done, a restart is needed"},
};
} // namespace

const char* hnExitCodeMeaning(int code) {
    for (const CodeMeaning& row : kMeanings)
        if (row.code == code)
            return row.meaning;
    return "unknown";
}
