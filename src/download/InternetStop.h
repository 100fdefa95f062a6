#pragma once
// What a thread that opens internet handles shares with the thread that may
// stop it: a stop flag and the open handles. Stopping closes those handles,
// which makes a request waiting on the network return, so the worker ends on
// its own instead of being killed while it holds library locks.
#include <atomic>
#include <windows.h>
#include <wininet.h>

class hnInternetStop {
public:
    static constexpr int kSlots = 4; // session, connection, request, spare

    bool stopRequested() const { return stop_.load(); }
    // Sets the flag and closes every handle the worker has registered.
    void requestStop();
    // Clears the flag for the next run; no handle may be registered.
    void rearm() { stop_.store(false); }
    // The worker registers each handle it opens. False when stopping has
    // begun: the handle is closed then and the worker gives up.
    bool registerHandle(HINTERNET handle);
    // Closes a registered handle unless stopping closed it already.
    void closeHandle(HINTERNET handle);

private:
    std::atomic<bool> stop_{false};
    std::atomic<HINTERNET> slots_[kSlots] = {};
};
