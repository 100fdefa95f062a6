#pragma once
// What a worker thread shares with the thread that may stop it, and the one
// way every worker of the program is stopped. Stopping sets a flag and a
// manual-reset event; the worker's waits (pauses, processes it started) wake
// on that event, so it ends by itself within moments. A worker is never
// killed: that may leave process-wide locks held for good, and it frees
// nothing the worker still uses.
#include <atomic>
#include <functional>
#include <windows.h>

#include "app/ScopedHandle.h"

class hnStopBlock {
public:
    hnStopBlock();
    virtual ~hnStopBlock() = default;
    hnStopBlock(const hnStopBlock&) = delete;
    hnStopBlock& operator=(const hnStopBlock&) = delete;

    bool stopRequested() const { return stop_.load(); }
    // From the stopping thread: sets the flag and the event.
    virtual void requestStop();
    // Clears flag and event for the next run of a worker.
    void rearm();

    // Lets `ms` pass; false as soon as a stop is requested.
    bool pause(DWORD ms) const;

    enum class Wait { Signalled, TimedOut, Stopped };
    // Waits up to `ms` (INFINITE allowed) for `object`, e.g. a process, or a stop.
    Wait waitFor(HANDLE object, DWORD ms) const;
    // The same while this thread's windows stay painted (hnWaitKeepingPainted).
    Wait waitKeepingPainted(HANDLE object, DWORD ms) const;

private:
    std::atomic<bool> stop_{false};
    hnScopedHandle event_;
};

// The same waits for code that may run with or without a stop block: without
// one they are plain waits.
bool hnPause(const hnStopBlock* stop, DWORD ms);
hnStopBlock::Wait hnWaitOrStop(const hnStopBlock* stop, HANDLE object, DWORD ms);
hnStopBlock::Wait hnWaitOrStopKeepingPainted(const hnStopBlock* stop, HANDLE object, DWORD ms);

// The time a stopped worker gets before its lateness is logged.
constexpr DWORD kWorkerStopMs = 5000;

// Stops a worker thread from the thread it reports to: requests the stop,
// then waits while answering the messages the worker sends meanwhile. A
// worker still running after `ms` is left to finish, never killed: the wait
// goes on (logged as "<who> - worker did not end within <ms> ms, waiting for
// it to finish"), so the caller may free what the worker used once this
// returns. True when the worker ended within `ms`.
bool hnStopWorker(HANDLE thread, hnStopBlock& stop, const char* who, DWORD ms = kWorkerStopMs);
// The same for a worker that holds its own share of everything it uses (its
// stop block included): one still running after `ms` is left to finish on its
// own and release its share, never killed, and the caller goes on ("<who> -
// worker did not end within <ms> ms, left to finish on its own").
bool hnStopOrLeaveWorker(HANDLE thread, hnStopBlock& stop, const char* who, DWORD ms = kWorkerStopMs);

// A worker thread with its stop block: runs one body at a time and is
// stopped through hnStopWorker.
class hnWorkerThread {
public:
    explicit hnWorkerThread(const char* who) : who_(who) {}
    ~hnWorkerThread() { stop(); }
    hnWorkerThread(const hnWorkerThread&) = delete;
    hnWorkerThread& operator=(const hnWorkerThread&) = delete;

    // Stops a body still running, then runs `body` on a new thread.
    bool start(std::function<void()> body);
    void stop();
    bool running() const { return static_cast<bool>(thread_); }
    const hnStopBlock& stopBlock() const { return stop_; }
    bool stopRequested() const { return stop_.stopRequested(); }
    bool pause(DWORD ms) const { return stop_.pause(ms); }

private:
    static DWORD WINAPI entry(LPVOID self);
    const char* who_;
    std::function<void()> body_;
    hnScopedHandle thread_;
    hnStopBlock stop_;
};
