#include "process/ExecCmd.h"

#include <cstring>
#include <string>

#include "app/DebugOut.h"
#include "app/ScopedHandle.h"

namespace {
constexpr DWORD kCommandTimeLimitMs = 30000;
constexpr DWORD kReaderJoinMs = 5000;
constexpr DWORD kReadChunk = 4096;
} // namespace

hnExecCmdNCaptureStdOut::hnExecCmdNCaptureStdOut() = default;

hnExecCmdNCaptureStdOut::~hnExecCmdNCaptureStdOut() {
    stopReader();
    closePipe();
}

void hnExecCmdNCaptureStdOut::closePipe() {
    if (pipeRead_ != INVALID_HANDLE_VALUE && pipeRead_ != nullptr)
        ::CloseHandle(pipeRead_);
    pipeRead_ = INVALID_HANDLE_VALUE;
}

// Gives the reader 5 s to end, then ends it forcibly. With `drain` it may
// first read on to the end of the data (the command has ended, so the pipe
// reaches its end soon); otherwise it stops after its current chunk. The pipe
// is closed only after this, so the reader never reads a closed handle.
void hnExecCmdNCaptureStdOut::stopReader(bool drain) {
    if (!readerThread_)
        return;
    stopRequest_ = !drain;
    if (::WaitForSingleObject(readerThread_, kReaderJoinMs) != WAIT_OBJECT_0)
        ::TerminateThread(readerThread_, 0);
    ::CloseHandle(readerThread_);
    readerThread_ = nullptr;
    stopRequest_ = false;
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
    while (!self->stopRequest_) {
        DWORD read = 0;
        if (!::ReadFile(self->pipeRead_, chunk, kReadChunk, &read, nullptr) || read == 0)
            break;
        // After an overflow the rest is read and discarded: a command that
        // keeps writing must not block on a full pipe until it is killed.
        if (!self->overflow_)
            self->appendCharsToCapturedStdOutStr(chunk, read);
    }
    return 1;
}

int hnExecCmdNCaptureStdOut::execCmd(const char* commandLine, char* output) {
    if (!commandLine) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - NULL pointer 1\n");
        return kExecCmdNullArgument;
    }
    if (!output) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - NULL pointer 2\n");
        return kExecCmdNullArgument;
    }
    output[0] = '\0';
    stopReader(); // nothing may still write into the buffer replaced below
    closePipe();
    capture_.reset(new char[kExecCmdOutputCapacity]);
    capture_[0] = '\0';
    captureCapacity_ = kExecCmdOutputCapacity;
    capturedLength_ = 0;
    overflow_ = false;

    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - Unable to create pipe\n");
        return kExecCmdPipeFailed;
    }
    pipeRead_ = readEnd;
    // The child needs only the write end; our read end stays private.
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
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
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                          &startup, &info)) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - Unable to launch process\n");
        closePipe();
        return kExecCmdLaunchFailed;
    }
    hnScopedHandle process(info.hProcess);
    hnScopedHandle thread(info.hThread);

    if (!::CloseHandle(write.release())) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - Unable to close pipe write end handle\n");
        ::TerminateProcess(process.get(), 0);
        closePipe();
        return kExecCmdCloseWriteEndFailed;
    }

    readerThread_ =
        ::CreateThread(nullptr, 0, &hnExecCmdNCaptureStdOut::stdOutCaptureCallbk, this, 0, nullptr);

    int result = kExecCmdOk;
    if (::WaitForSingleObject(process.get(), kCommandTimeLimitMs) != WAIT_OBJECT_0) {
        hnDebugOut("hnExecCmdNCaptureStdOut::execCmd - warning - terminating process\n");
        ::TerminateProcess(process.get(), 0);
        result = kExecCmdTimedOut;
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
