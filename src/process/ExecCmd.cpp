#include "process/ExecCmd.h"

#include <cstring>
#include <string>

#include "app/Text.h"

#include "app/DebugOut.h"
#include "app/ScopedHandle.h"
#include "app/SessionLog.h"

namespace {
constexpr DWORD kCommandTimeLimitMs = 30000;
constexpr DWORD kReaderJoinMs = 5000;
constexpr DWORD kReadChunk = 4096;
} // namespace

hnExecCmdNCaptureStdOut::hnExecCmdNCaptureStdOut(DWORD capacity) : capacity_(capacity < 2 ? 2 : capacity) {}

hnExecCmdNCaptureStdOut::~hnExecCmdNCaptureStdOut() {
    stopReader();
    closePipe();
}

void hnExecCmdNCaptureStdOut::closePipe() {
    if (pipeRead_ != INVALID_HANDLE_VALUE && pipeRead_ != nullptr)
        ::CloseHandle(pipeRead_);
    pipeRead_ = INVALID_HANDLE_VALUE;
}

// With `drain` the reader first gets 5 s to read on to the end of the data
// (the command has ended, so the pipe normally reaches its end at once);
// then it is stopped, which ends even a read that waits for data. The pipe is
// closed only after this, so the reader never reads a closed handle.
void hnExecCmdNCaptureStdOut::stopReader(bool drain) {
    if (!readerThread_)
        return;
    if (drain)
        ::WaitForSingleObject(readerThread_, kReaderJoinMs);
    hnStopWorker(readerThread_, readerStop_, "hnExecCmdNCaptureStdOut::stopReader");
    ::CloseHandle(readerThread_);
    readerThread_ = nullptr;
    readerStop_.rearm();
}

int hnExecCmdNCaptureStdOut::appendCharsToCapturedStdOutStr(const char* chunk, DWORD size) {
    if (size == 0 || !chunk) {
        hnDebugOut("hnExecCmdNCaptureStdOut::appendCharsToCapturedStdOutStr - Invalid string buffer size\n");
        return kExecCmdEmptyChunk;
    }
    if (!capture_ || size + capturedLength_ >= captureCapacity_) {
        // The first characters that fit are kept (capturedText) for callers
        // that can decide on the beginning of a long output.
        if (capture_ && !overflow_ && capturedLength_ + 1 < captureCapacity_) {
            std::size_t room = captureCapacity_ - 1 - capturedLength_;
            std::memcpy(capture_.get() + capturedLength_, chunk, room);
            capturedLength_ += room;
            capture_[capturedLength_] = '\0';
        }
        overflow_ = true;
        hnDebugOut("hnExecCmdNCaptureStdOut::appendCharsToCapturedStdOutStr - Insufficient buffer\n");
        return kExecCmdOutputTooLong;
    }
    std::memcpy(capture_.get() + capturedLength_, chunk, size);
    capturedLength_ += size;
    capture_[capturedLength_] = '\0';
    return kExecCmdOk;
}

DWORD WINAPI hnExecCmdNCaptureStdOut::stdOutCaptureCallbk(LPVOID param) {
    auto* self = static_cast<hnExecCmdNCaptureStdOut*>(param);
    if (self->capture_)
        self->capture_[0] = '\0';
    self->capturedLength_ = 0;
    char chunk[kReadChunk];
    hnScopedHandle readDone(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!readDone)
        return 0;
    while (!self->readerStop_.stopRequested()) {
        OVERLAPPED overlapped = {};
        overlapped.hEvent = readDone.get();
        DWORD read = 0;
        if (!::ReadFile(self->pipeRead_, chunk, kReadChunk, nullptr, &overlapped)) {
            if (::GetLastError() != ERROR_IO_PENDING)
                break; // the writers are gone
            if (self->readerStop_.waitFor(readDone.get(), INFINITE) != hnStopBlock::Wait::Signalled) {
                ::CancelIo(self->pipeRead_);
                ::GetOverlappedResult(self->pipeRead_, &overlapped, &read, TRUE);
                break;
            }
        }
        if (!::GetOverlappedResult(self->pipeRead_, &overlapped, &read, TRUE) || read == 0)
            break;
        // After an overflow the rest is read and discarded: a command that
        // keeps writing must not block on a full pipe until it is killed.
        if (!self->overflow_)
            self->appendCharsToCapturedStdOutStr(chunk, read);
    }
    return 1;
}

int hnExecCmdNCaptureStdOut::execCmd(const char* commandLine, char* output, const hnStopBlock* stop) {
    if (!commandLine) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - NULL pointer 1\n");
        return kExecCmdNullArgument;
    }
    if (!output) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - NULL pointer 2\n");
        return kExecCmdNullArgument;
    }
    output[0] = '\0';
    exitCode_ = STILL_ACTIVE;
    stopReader(); // nothing may still write into the buffer replaced below
    closePipe();
    capture_.reset(new char[capacity_]);
    capture_[0] = '\0';
    captureCapacity_ = capacity_;
    capturedLength_ = 0;
    overflow_ = false;

    // A pipe of our own with an overlapped read end, so that the reader's
    // waits can end on a stop; the child inherits only the write end.
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    std::string pipeName = hnFormatText("\\\\.\\pipe\\orvanto-execcmd-%lu-%p-%lu", ::GetCurrentProcessId(),
                                        static_cast<void*>(this), ::GetTickCount());
    HANDLE readEnd = ::CreateNamedPipeA(
        pipeName.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_WAIT, 1, kReadChunk, kReadChunk, 0, nullptr);
    if (readEnd == INVALID_HANDLE_VALUE) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - Unable to create pipe\n");
        return kExecCmdPipeFailed;
    }
    pipeRead_ = readEnd;
    HANDLE writeEnd = ::CreateFileA(pipeName.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (writeEnd == INVALID_HANDLE_VALUE) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - Unable to create pipe\n");
        closePipe();
        return kExecCmdPipeFailed;
    }
    hnScopedHandle write(writeEnd);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::string line(commandLine); // CreateProcess may write into the command line
    PROCESS_INFORMATION info = {};
    // A console of its own that never has a window: what a hidden new console
    // gives the command and the programs it starts, without making and hiding
    // a window for every query (a third of a short query's time).
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info)) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - Unable to launch process\n");
        hnSessionLogF("Program", "%s could not be started", commandLine);
        closePipe();
        return kExecCmdLaunchFailed;
    }
    hnScopedHandle process(info.hProcess);
    hnScopedHandle thread(info.hThread);
    hnSessionLogF("Program", "started %s", commandLine);

    if (!::CloseHandle(write.release())) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - Unable to close pipe write end handle\n");
        ::TerminateProcess(process.get(), 0);
        closePipe();
        return kExecCmdCloseWriteEndFailed;
    }

    readerThread_ =
        ::CreateThread(nullptr, 0, &hnExecCmdNCaptureStdOut::stdOutCaptureCallbk, this, 0, nullptr);

    int result = kExecCmdOk;
    hnStopBlock::Wait wait = hnWaitOrStop(stop, process.get(), kCommandTimeLimitMs);
    if (wait == hnStopBlock::Wait::Stopped) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - stop requested\n");
        hnSessionLogF("Program", "%s no longer waited for: stop requested (left running)", commandLine);
        result = kExecCmdStopped;
    } else if (wait != hnStopBlock::Wait::Signalled) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - warning - terminating process\n");
        ::TerminateProcess(process.get(), 0);
        result = kExecCmdTimedOut;
    }
    if (result != kExecCmdStopped) {
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process.get(), &exitCode);
        hnSessionLogF("Program", "%s ended with exit code %lu%s", commandLine, exitCode,
                      result == kExecCmdTimedOut ? " (ended after 30 s)" : "");
        if (result == kExecCmdOk)
            exitCode_ = exitCode;
    }
    if (!readerThread_) {
        // No reader means nothing was captured; the output cannot be trusted.
        overflow_ = true;
    }
    // After a normal end the tail of the output is still worth reading.
    stopReader(result == kExecCmdOk);
    closePipe();

    if (result != kExecCmdOk)
        return result;
    if (overflow_)
        return kExecCmdOutputTooLong;
    std::memcpy(output, capture_.get(), capturedLength_ + 1);
    return kExecCmdOk;
}

std::string hnExecCmdNCaptureStdOut::keptOutput() const {
    if (!overflow_ || !capture_)
        return std::string();
    return std::string(capture_.get(), capturedLength_);
}
