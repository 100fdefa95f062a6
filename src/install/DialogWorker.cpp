#include "install/DialogWorker.h"

#include "app/DebugOut.h"
#include "app/WorkerWait.h"

bool hnDialogWorker::start(std::function<void()> body) {
    stop();
    stop_ = false;
    body_ = std::move(body);
    thread_.reset(::CreateThread(nullptr, 0, entry, this, 0, nullptr));
    return static_cast<bool>(thread_);
}

void hnDialogWorker::stop() {
    if (!thread_)
        return;
    stop_ = true;
    // Answering what the worker sends meanwhile: it may be blocked in a
    // report to a window of this thread.
    if (!hnWaitForWorker(thread_.get(), 5000)) {
        hnDebugOut("hnDialogWorker::stop - Worker did not end, terminating it\n");
        ::TerminateThread(thread_.get(), 0);
    }
    thread_.reset();
    stop_ = false;
}

bool hnDialogWorker::pause(DWORD ms) const {
    for (DWORD slept = 0; slept < ms; slept += 25) {
        if (stop_)
            return false;
        ::Sleep(ms - slept < 25 ? ms - slept : 25);
    }
    return !stop_;
}

DWORD WINAPI hnDialogWorker::entry(LPVOID self) {
    try {
        static_cast<hnDialogWorker*>(self)->body_();
    } catch (...) {
        hnDebugOut("hnDialogWorker::entry - unexpected exception\n");
    }
    return 1;
}
