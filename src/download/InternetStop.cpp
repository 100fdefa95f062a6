#include "download/InternetStop.h"

void hnInternetStop::requestStop() {
    hnStopBlock::requestStop();
    for (auto& slot : slots_)
        if (HINTERNET handle = slot.exchange(nullptr))
            ::InternetCloseHandle(handle);
}

bool hnInternetStop::registerHandle(HINTERNET handle) {
    if (!handle)
        return false;
    for (auto& slot : slots_) {
        HINTERNET empty = nullptr;
        if (slot.compare_exchange_strong(empty, handle)) {
            if (!stopRequested())
                return true;
            // Stopping began meanwhile: whoever empties the slot closes it.
            if (slot.exchange(nullptr))
                ::InternetCloseHandle(handle);
            return false;
        }
    }
    ::InternetCloseHandle(handle);
    return false;
}

void hnInternetStop::closeHandle(HINTERNET handle) {
    if (!handle)
        return;
    for (auto& slot : slots_) {
        HINTERNET expected = handle;
        if (slot.compare_exchange_strong(expected, nullptr)) {
            ::InternetCloseHandle(handle);
            return;
        }
    }
    // Not registered any more: stopping has closed it.
}
