#include "install/PipShow.h"

#include <windows.h>

#include "app/Dialog.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "process/ExecCmd.h"

namespace {

constexpr DWORD kRepeatPauseMs = 5000;
constexpr std::size_t kCommandCapacity = 2048;

struct CaptureJob {
    const char* commandLine;
    std::string* output;
    int result;
};

// pip's answers ("Name:", "Version:") come first: of a longer output the
// first characters the capture holds are decided on.
DWORD WINAPI runCapture(LPVOID param) {
    auto* job = static_cast<CaptureJob*>(param);
    hnExecCmdNCaptureStdOut runner;
    char captured[kExecCmdOutputCapacity] = {};
    job->result = runner.execCmd(job->commandLine, captured);
    if (job->result == kExecCmdOutputTooLong) {
        *job->output = runner.keptOutput();
        job->result = kExecCmdOk;
    } else if (job->result == kExecCmdOk) {
        *job->output = captured;
    }
    return 0;
}

// Runs the capture on a helper thread while this thread keeps its windows
// painted.
int captureKeepingPainted(const char* commandLine, std::string* output) {
    CaptureJob job{commandLine, output, 0};
    HANDLE thread = ::CreateThread(nullptr, 0, &runCapture, &job, 0, nullptr);
    if (!thread) {
        runCapture(&job);
        return job.result;
    }
    if (!hnWaitKeepingPainted(thread, INFINITE))
        ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    return job.result;
}

} // namespace

int runPipShow(const std::string& interpreterFolder, const char* package, std::string& output,
               hnDialog* dialog) {
    output.clear();
    std::string commandLine;
    if (!package || !hnFormat(commandLine, kCommandCapacity, "\"%sScripts\\pip.exe\" show \"%s\"",
                              interpreterFolder.c_str(), package))
        return kExecCmdNullArgument;
    if (dialog && dialog->hwnd() && !::IsWindowVisible(dialog->hwnd())) {
        ::ShowWindow(dialog->hwnd(), SW_SHOW);
        ::UpdateWindow(dialog->hwnd());
    }
    int result = captureKeepingPainted(commandLine.c_str(), &output);
    if (result == kExecCmdTimedOut) {
        hnWaitKeepingPainted(nullptr, kRepeatPauseMs);
        result = captureKeepingPainted(commandLine.c_str(), &output);
    }
    if (result != kExecCmdOk)
        output.clear();
    return result;
}

bool pipOutputMatches(const std::string& output, const char* needle, const char* excluded) {
    if (!needle || output.find(needle) == std::string::npos)
        return false;
    return !excluded || output.find(excluded) == std::string::npos;
}
