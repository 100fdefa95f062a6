#include "install/PipShow.h"

#include <windows.h>

#include "app/Dialog.h"
#include "app/Text.h"
#include "process/ExecCmd.h"

namespace {

constexpr DWORD kRepeatPauseMs = 5000;
constexpr std::size_t kCommandCapacity = 2048;

struct CaptureJob {
    const char* commandLine;
    char* output;
    int result;
};

DWORD WINAPI runCapture(LPVOID param) {
    auto* job = static_cast<CaptureJob*>(param);
    hnExecCmdNCaptureStdOut runner;
    job->result = runner.execCmd(job->commandLine, job->output);
    return 0;
}

// Runs the capture on a helper thread while this thread keeps its windows
// painted. Only paint messages and messages sent by other threads are handled
// meanwhile: input waits in the queue, so nothing else runs in between.
int captureKeepingPainted(const char* commandLine, char* output) {
    CaptureJob job{commandLine, output, 0};
    HANDLE thread = ::CreateThread(nullptr, 0, &runCapture, &job, 0, nullptr);
    if (!thread) {
        runCapture(&job);
        return job.result;
    }
    for (;;) {
        DWORD wait = ::MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_PAINT | QS_SENDMESSAGE);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_FAILED)
            break;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    return job.result;
}

void pause(DWORD ms) {
    DWORD start = ::GetTickCount();
    for (;;) {
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_PAINT | QS_SENDMESSAGE);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
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
    char captured[kExecCmdOutputCapacity] = {};
    int result = captureKeepingPainted(commandLine.c_str(), captured);
    if (result == kExecCmdTimedOut) {
        pause(kRepeatPauseMs);
        result = captureKeepingPainted(commandLine.c_str(), captured);
    }
    if (result == kExecCmdOk)
        output = captured;
    return result;
}

bool pipOutputMatches(const std::string& output, const char* needle, const char* excluded) {
    if (!needle || output.find(needle) == std::string::npos)
        return false;
    return !excluded || output.find(excluded) == std::string::npos;
}
