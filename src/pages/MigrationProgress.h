#pragma once
// What the data import and the profile copy dialogs share: one worker that
// reports files or profiles done with kProgressMessage, the progress bar with
// its "(%d%%)" text, Abort (the worker is asked to stop and ends on its own;
// the dialog answers its messages while it waits) and Close, which refuses
// while the worker runs.
#include <atomic>
#include <functional>
#include <string>
#include <windows.h>

#include "app/Dialog.h"
#include "app/StopBlock.h"

class DMigrationProgressBase : public hnDialog {
public:
    explicit DMigrationProgressBase(UINT templateId, const char* who);
    ~DMigrationProgressBase() override;

    static constexpr UINT kProgressMessage = WM_USER + 6; // wParam: done so far
    static constexpr UINT kFinishedMessage = WM_USER + 7; // the worker's body has ended

    bool running() const { return running_; }
    bool started() const { return started_; }
    const hnStopBlock& stopBlock() const { return worker_.stopBlock(); }
    // The percentage text as shown.
    std::string percentText() const;

protected:
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    void onOK() override { onClose(); }
    void onCancel() override { onClose(); }
    void onDestroy() override;

    // Sets the bar to 0 .. total (any size: the bar's 32-bit range).
    void startProgress(long long total);
    // Position min(done, total) and "(%d%%)"; 0 of 0 reads "(100%)".
    virtual void onProgress(long long done);
    // Runs `body` on the worker; the dialog shows running until it ends.
    bool startWorker(std::function<void()> body);
    // Enables the dialog's own controls for the state; the base handles
    // Abort and the progress controls.
    virtual void applyRunning(bool running) { (void)running; }
    void setRunning(bool running);
    // Sends from the worker: progress, and the end of its body.
    void reportProgress(long long done) const;
    void setPercentText(const std::string& text);
    // Stops a running worker; derived dialogs call it from their destructor,
    // before the members their worker reads are gone.
    void stopWorker();

    long long total_ = 0;
    HWND window_ = nullptr; // read by the worker

private:
    void onAbort();
    void onClose();

    std::atomic<bool> running_{false};
    bool started_ = false;
    hnWorkerThread worker_;
};
