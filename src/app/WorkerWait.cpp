#include "app/WorkerWait.h"

namespace {
// Re-checks at least this often, so a wake-up that never comes costs little.
constexpr DWORD kSliceMs = 100;
} // namespace

bool hnWaitForWorker(HANDLE thread, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        // Peeking delivers every message sent to this thread that is pending.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD elapsed = ::GetTickCount() - start;
        const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        const DWORD slice = left < kSliceMs ? left : kSliceMs;
        DWORD result = ::MsgWaitForMultipleObjectsEx(1, &thread, slice, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result == WAIT_FAILED)
            return false;
        if (left == 0)
            return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    }
}

bool hnWaitKeepingPainted(HANDLE object, DWORD timeoutMs) {
    return hnWaitAnyKeepingPainted(&object, object ? 1 : 0, timeoutMs) == 0;
}

int hnWaitAnyKeepingPainted(const HANDLE* objects, DWORD count, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageA(&msg);
        const DWORD elapsed = ::GetTickCount() - start;
        const DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        const DWORD slice = left < kSliceMs ? left : kSliceMs;
        DWORD result = ::MsgWaitForMultipleObjects(count, count ? objects : nullptr, FALSE, slice,
                                                   QS_PAINT | QS_SENDMESSAGE);
        if (result < WAIT_OBJECT_0 + count)
            return static_cast<int>(result - WAIT_OBJECT_0);
        if (result == WAIT_FAILED)
            return -1;
        if (left == 0) {
            DWORD last = count ? ::WaitForMultipleObjects(count, objects, FALSE, 0) : WAIT_TIMEOUT;
            return last < WAIT_OBJECT_0 + count ? static_cast<int>(last - WAIT_OBJECT_0) : -1;
        }
    }
}

void hnWaitHandlingMessages(DWORD ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms)
            return;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, ms - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
