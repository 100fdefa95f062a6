#pragma once
// Waits behind a "Please wait..." box for a setup that detaches from the
// program that started it: first until a process with the watched full image
// path runs, then while it runs. Closes itself with OK when the wait is over.
#include <string>

#include "app/Dialog.h"
#include "install/ActionServices.h"
#include "app/StopBlock.h"

class DOpcScoutInstallPleaseWait : public hnDialog {
public:
    explicit DOpcScoutInstallPleaseWait(const std::string& watchedPath,
                                        const hnActionTimings& timings = hnActionTimings());
    ~DOpcScoutInstallPleaseWait() override;

protected:
    bool onInitDialog() override;
    void onTimer(UINT_PTR id) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onCancel() override {} // the wait cannot be cancelled
    void onDestroy() override;

private:
    void watch();

    std::string watchedPath_;
    hnActionTimings timings_;
    HWND window_ = nullptr; // read by the worker
    hnWorkerThread worker_{"DOpcScoutInstallPleaseWait::stopWorker"};
};

// True when a running process has exactly this full image path (letter case
// ignored).
bool isProcessImageRunning(const std::string& fullPath);
