#pragma once
#include <string>
// Runs one hidden console command and captures what it writes to standard
// output and standard error (at most 2047 characters). One object may run
// several commands in turn; each execCmd starts and joins its own reader.
#include <atomic>
#include <memory>
#include <windows.h>

#include "app/StopBlock.h"

// Results of execCmd and of the append step.
constexpr int kExecCmdOk = 1;
constexpr int kExecCmdNullArgument = -15401;
constexpr int kExecCmdPipeFailed = -15404;
constexpr int kExecCmdLaunchFailed = -15405;
constexpr int kExecCmdCloseWriteEndFailed = -15406;
constexpr int kExecCmdEmptyChunk = -15407;
constexpr int kExecCmdOutputTooLong = -15408;
constexpr int kExecCmdTimedOut = -15409;
constexpr int kExecCmdStopped = -15410;

// Size, terminator included, of the caller's output buffer and of the capture.
constexpr DWORD kExecCmdOutputCapacity = 2048;

class hnExecCmdNCaptureStdOut {
public:
    // `capacity`: size, terminator included, of the capture and of the
    // caller's output buffer.
    explicit hnExecCmdNCaptureStdOut(DWORD capacity = kExecCmdOutputCapacity);
    ~hnExecCmdNCaptureStdOut();
    hnExecCmdNCaptureStdOut(const hnExecCmdNCaptureStdOut&) = delete;
    hnExecCmdNCaptureStdOut& operator=(const hnExecCmdNCaptureStdOut&) = delete;

    // Starts `commandLine` (the first token names the program, searched the
    // usual way) with a hidden console and waits up to 30 s. On 1 the output
    // is in `output` (the capacity's characters); on any other result
    // `output` is left empty. A stop requested through `stop` (may be null)
    // ends the wait at once with -15410; the command is left running, since
    // killing pip midway could leave its packages half changed.
    int execCmd(const char* commandLine, char* output, const hnStopBlock* stop = nullptr);
    // After -15408: the first capacity - 1 characters of the output, for
    // callers that decide on its beginning; empty otherwise.
    std::string keptOutput() const;
    // The exit code of the last command when it ended by itself; STILL_ACTIVE
    // when it was ended, left running or never started.
    DWORD exitCode() const { return exitCode_; }

    // Reader thread: drains the pipe until every writer has closed it or a
    // stop is requested; a stop also ends a read that waits for data (a
    // program the command left behind may hold the pipe open). `param` is the
    // runner.
    static DWORD WINAPI stdOutCaptureCallbk(LPVOID param);

    // Appends `size` bytes to the capture; -15407 for an empty chunk, -15408
    // (chunk dropped whole, overflow set) when it does not fit.
    int appendCharsToCapturedStdOutStr(const char* chunk, DWORD size);

private:
    void stopReader(bool drain = false);
    void closePipe();

    HANDLE readerThread_ = nullptr;
    hnStopBlock readerStop_;
    std::unique_ptr<char[]> capture_;
    DWORD capacity_;
    DWORD captureCapacity_ = 0;
    DWORD exitCode_ = STILL_ACTIVE;
    DWORD capturedLength_ = 0;
    bool overflow_ = false;
    HANDLE pipeRead_ = INVALID_HANDLE_VALUE;
};
