#pragma once
// What the sheet shares with its upgrade-check worker: a stop flag and the
// worker's open internet handles. Stopping closes those handles, which makes
// a request that hangs on the network return at once, so the worker ends on
// its own instead of being killed while it holds library locks.
#include <atomic>
#include <windows.h>
#include <wininet.h>

class hnUpgradeCheckControl {
public:
    static constexpr int kSlots = 4; // session, connection, request, spare

    bool stopRequested() const { return stop_.load(); }
    // Sets the flag and closes every handle the worker has registered.
    void requestStop();
    // The worker registers each handle it opens. False when stopping has
    // begun: the handle is closed then and the worker gives up.
    bool registerHandle(HINTERNET handle);
    // Closes a registered handle unless stopping closed it already.
    void closeHandle(HINTERNET handle);

private:
    std::atomic<bool> stop_{false};
    std::atomic<HINTERNET> slots_[kSlots] = {};
};
