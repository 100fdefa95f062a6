#pragma once
// The stop block of a thread that opens internet handles: stopping also
// closes those handles, which makes a request waiting on the network return,
// so the worker ends on its own instead of being killed while it holds
// library locks.
#include <atomic>
#include <windows.h>
#include <wininet.h>

#include "app/StopBlock.h"

class hnInternetStop : public hnStopBlock {
public:
    static constexpr int kSlots = 4; // session, connection, request, spare

    // Sets the flag and the event and closes every handle the worker has
    // registered. rearm() readies it for the next run (no handle registered).
    void requestStop() override;
    // The worker registers each handle it opens. False when stopping has
    // begun: the handle is closed then and the worker gives up.
    bool registerHandle(HINTERNET handle);
    // Closes a registered handle unless stopping closed it already.
    void closeHandle(HINTERNET handle);

private:
    std::atomic<HINTERNET> slots_[kSlots] = {};
};
