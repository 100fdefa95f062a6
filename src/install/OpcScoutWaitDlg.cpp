#include "install/OpcScoutWaitDlg.h"

#include <psapi.h>

#include "actions_ids.h"
#include "app/ScopedHandle.h"

namespace {
constexpr UINT_PTR kCloseTimer = 1047;
constexpr UINT kWatchOver = WM_USER + 7; // worker -> dialog: the wait is over
} // namespace

bool isProcessImageRunning(const std::string& fullPath) {
    DWORD ids[1024];
    DWORD bytes = 0;
    if (!::EnumProcesses(ids, sizeof(ids), &bytes))
        return false;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        if (!ids[i])
            continue;
        hnScopedHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        if (!process)
            continue;
        char image[MAX_PATH] = {};
        if (::GetModuleFileNameExA(process.get(), nullptr, image, MAX_PATH) &&
            !lstrcmpiA(image, fullPath.c_str()))
            return true;
    }
    return false;
}

DOpcScoutInstallPleaseWait::DOpcScoutInstallPleaseWait(const std::string& watchedPath,
                                                       const hnActionTimings& timings)
    : hnDialog(IDD_OPC_SCOUT_WAIT), watchedPath_(watchedPath), timings_(timings) {}

DOpcScoutInstallPleaseWait::~DOpcScoutInstallPleaseWait() {
    worker_.stop();
}

bool DOpcScoutInstallPleaseWait::onInitDialog() {
    centerOnOwner();
    window_ = hwnd();
    worker_.start([this] { watch(); });
    return true;
}

void DOpcScoutInstallPleaseWait::watch() {
    bool seen = isProcessImageRunning(watchedPath_);
    for (int i = 0; !seen && i < timings_.opcScoutStart.polls; ++i) {
        if (!worker_.pause(timings_.opcScoutStart.intervalMs))
            return;
        seen = isProcessImageRunning(watchedPath_);
    }
    for (int i = 0; seen && i < timings_.opcScoutEnd.polls; ++i) {
        if (!worker_.pause(timings_.opcScoutEnd.intervalMs))
            return;
        seen = isProcessImageRunning(watchedPath_);
    }
    if (!worker_.stopRequested())
        ::PostMessageA(window_, kWatchOver, 0, 0);
}

bool DOpcScoutInstallPleaseWait::onMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message != kWatchOver)
        return false;
    ::SetTimer(hwnd(), kCloseTimer, timings_.opcScoutCloseDelayMs, nullptr);
    return true;
}

void DOpcScoutInstallPleaseWait::onTimer(UINT_PTR id) {
    if (id != kCloseTimer)
        return;
    ::KillTimer(hwnd(), kCloseTimer);
    endDialog(IDOK);
}

void DOpcScoutInstallPleaseWait::onDestroy() {
    ::KillTimer(hwnd(), kCloseTimer);
    worker_.stop();
}
