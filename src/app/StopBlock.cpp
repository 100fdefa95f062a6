#include "app/StopBlock.h"

#include "app/DebugOut.h"
#include "app/WorkerWait.h"

hnStopBlock::hnStopBlock() : event_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

void hnStopBlock::requestStop() {
    stop_.store(true);
    if (event_)
        ::SetEvent(event_.get());
}

void hnStopBlock::rearm() {
    stop_.store(false);
    if (event_)
        ::ResetEvent(event_.get());
}

bool hnStopBlock::pause(DWORD ms) const {
    if (!event_) { // no event: short steps that look at the flag
        for (DWORD slept = 0; slept < ms && !stopRequested(); slept += 25)
            ::Sleep(ms - slept < 25 ? ms - slept : 25);
        return !stopRequested();
    }
    return ::WaitForSingleObject(event_.get(), ms) == WAIT_TIMEOUT && !stopRequested();
}

hnStopBlock::Wait hnStopBlock::waitFor(HANDLE object, DWORD ms) const {
    if (stopRequested())
        return Wait::Stopped;
    if (!event_)
        return ::WaitForSingleObject(object, ms) == WAIT_OBJECT_0 ? Wait::Signalled : Wait::TimedOut;
    HANDLE handles[2] = {object, event_.get()};
    switch (::WaitForMultipleObjects(2, handles, FALSE, ms)) {
    case WAIT_OBJECT_0:
        return Wait::Signalled;
    case WAIT_OBJECT_0 + 1:
        return Wait::Stopped;
    default:
        return Wait::TimedOut;
    }
}

hnStopBlock::Wait hnStopBlock::waitKeepingPainted(HANDLE object, DWORD ms) const {
    if (stopRequested())
        return Wait::Stopped;
    HANDLE handles[2] = {object, event_.get()};
    switch (hnWaitAnyKeepingPainted(handles, event_ ? 2 : 1, ms)) {
    case 0:
        return Wait::Signalled;
    case 1:
        return Wait::Stopped;
    default:
        return stopRequested() ? Wait::Stopped : Wait::TimedOut;
    }
}

bool hnPause(const hnStopBlock* stop, DWORD ms) {
    if (stop)
        return stop->pause(ms);
    ::Sleep(ms);
    return true;
}

hnStopBlock::Wait hnWaitOrStop(const hnStopBlock* stop, HANDLE object, DWORD ms) {
    if (stop)
        return stop->waitFor(object, ms);
    return ::WaitForSingleObject(object, ms) == WAIT_OBJECT_0 ? hnStopBlock::Wait::Signalled
                                                              : hnStopBlock::Wait::TimedOut;
}

hnStopBlock::Wait hnWaitOrStopKeepingPainted(const hnStopBlock* stop, HANDLE object, DWORD ms) {
    if (stop)
        return stop->waitKeepingPainted(object, ms);
    return hnWaitKeepingPainted(object, ms) ? hnStopBlock::Wait::Signalled : hnStopBlock::Wait::TimedOut;
}

namespace {
// Requests the stop and waits up to `ms` while answering the worker's sent
// messages; true when it ended. Otherwise says so, with what happens next.
bool stopWithin(HANDLE thread, hnStopBlock& stop, const char* who, DWORD ms, const char* next) {
    stop.requestStop();
    if (!thread || hnWaitForWorker(thread, ms))
        return true;
    hnDebugOutF("%s - worker did not end within %lu ms, %s\n", who, static_cast<unsigned long>(ms), next);
    return false;
}
} // namespace

bool hnStopOrLeaveWorker(HANDLE thread, hnStopBlock& stop, const char* who, DWORD ms) {
    return stopWithin(thread, stop, who, ms, "left to finish on its own");
}

bool hnStopWorker(HANDLE thread, hnStopBlock& stop, const char* who, DWORD ms) {
    if (stopWithin(thread, stop, who, ms, "waiting for it to finish"))
        return true;
    // Its waits have all ended; whatever still holds it returns by itself.
    // A handle that cannot be waited on ends the wait rather than spinning.
    while (!hnWaitForWorker(thread, kWorkerStopMs))
        if (::WaitForSingleObject(thread, 0) == WAIT_FAILED)
            break;
    hnDebugOutF("%s - worker ended late\n", who);
    return false;
}

bool hnWorkerThread::start(std::function<void()> body) {
    stop();
    stop_.rearm();
    body_ = std::move(body);
    thread_.reset(::CreateThread(nullptr, 0, entry, this, 0, nullptr));
    return static_cast<bool>(thread_);
}

void hnWorkerThread::stop() {
    if (!thread_)
        return;
    hnStopWorker(thread_.get(), stop_, who_);
    thread_.reset();
}

DWORD WINAPI hnWorkerThread::entry(LPVOID self) {
    try {
        static_cast<hnWorkerThread*>(self)->body_();
    } catch (...) {
        hnDebugOut("hnWorkerThread::entry - unexpected exception\n");
    }
    return 1;
}
