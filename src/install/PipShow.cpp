#include "install/PipShow.h"

#include <windows.h>

#include "app/Dialog.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "install/PythonEnvironment.h"
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

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

bool hnPipAnswers::inScope() const {
    return depth_ > 0 && thread_ == ::GetCurrentThreadId();
}

void hnPipAnswers::open() {
    if (depth_ == 0)
        thread_ = ::GetCurrentThreadId();
    if (thread_ == ::GetCurrentThreadId())
        ++depth_;
}

void hnPipAnswers::close() {
    if (!inScope())
        return;
    if (--depth_ == 0)
        answers_.clear();
}

void hnPipAnswers::forget() {
    if (inScope())
        answers_.clear();
}

bool hnPipAnswers::find(const std::string& commandLine, std::string& output, int& result) const {
    if (!inScope())
        return false;
    auto found = answers_.find(lowerCase(commandLine));
    if (found == answers_.end())
        return false;
    result = found->second.first;
    output = found->second.second;
    return true;
}

void hnPipAnswers::keep(const std::string& commandLine, const std::string& output, int result) {
    if (inScope())
        answers_[lowerCase(commandLine)] = std::make_pair(result, output);
}

hnPipAnswerScope::hnPipAnswerScope() : answers_(pythonEnvironment().pipAnswers()) {
    if (answers_)
        answers_->open();
}

hnPipAnswerScope::~hnPipAnswerScope() {
    if (answers_)
        answers_->close();
}

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
    hnPipAnswers* answers = pythonEnvironment().pipAnswers();
    int result = 0;
    if (answers && answers->find(commandLine, output, result))
        return result;
    result = captureKeepingPainted(commandLine.c_str(), &output);
    if (result == kExecCmdTimedOut) {
        hnWaitKeepingPainted(nullptr, kRepeatPauseMs);
        result = captureKeepingPainted(commandLine.c_str(), &output);
    }
    if (result != kExecCmdOk)
        output.clear();
    if (answers)
        answers->keep(commandLine, output, result);
    return result;
}

bool pipOutputMatches(const std::string& output, const char* needle, const char* excluded) {
    if (!needle || output.find(needle) == std::string::npos)
        return false;
    return !excluded || output.find(excluded) == std::string::npos;
}
