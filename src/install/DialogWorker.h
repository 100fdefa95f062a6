#pragma once
// The worker thread of a progress dialog: started when the dialog opens,
// told to stop through a one-byte flag, waited for at most 5000 ms (messages
// it sends to the waiting thread are answered meanwhile) and ended forcibly
// after that. Bodies must check the flag often and never wait on the network.
#include <atomic>
#include <functional>
#include <windows.h>

#include "app/ScopedHandle.h"

class hnDialogWorker {
public:
    hnDialogWorker() = default;
    ~hnDialogWorker() { stop(); }
    hnDialogWorker(const hnDialogWorker&) = delete;
    hnDialogWorker& operator=(const hnDialogWorker&) = delete;

    bool start(std::function<void()> body);
    void stop();
    bool stopRequested() const { return stop_.load(); }

    // Sleeps `ms` in small steps; false when a stop was requested meanwhile.
    bool pause(DWORD ms) const;

private:
    static DWORD WINAPI entry(LPVOID self);
    std::function<void()> body_;
    hnScopedHandle thread_;
    std::atomic<bool> stop_{false};
};
