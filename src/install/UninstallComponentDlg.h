#pragma once
// Progress dialog of one removal: its worker runs the removal dispatcher and
// reports with message 1029; the dialog closes by itself on success and waits
// for Abort on failure.
#include <string>

#include "app/Dialog.h"
#include "controls/ComponentInstallHeader.h"
#include "install/ActionServices.h"
#include "app/StopBlock.h"

struct hnInstallationElement;

class DUninstallComponent : public hnDialog {
public:
    DUninstallComponent(int elementNumber, int elementCount, hnInstallationElement* element,
                        bool stopOnErrors, const hnActionTimings& timings = hnActionTimings());
    ~DUninstallComponent() override;

    const std::string& title() const { return title_; }
    const std::string& subtitle() const { return subtitle_; }

    static constexpr UINT kWorkerMessage = WM_USER + 5;
    static constexpr WPARAM kStarted = 102;
    static constexpr WPARAM kCompleted = 104;
    static constexpr WPARAM kFailed = 105;

protected:
    bool onInitDialog() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onTimer(UINT_PTR id) override;
    void onCancel() override;
    void onDestroy() override;

private:
    void work();
    void setProgress(int position);

    hnInstallationElement* element_;
    int elementNumber_;
    int elementCount_;
    std::string title_;
    std::string subtitle_;
    bool stopOnErrors_;
    hnActionTimings timings_;
    std::unique_ptr<hnComponentInstallHeader> header_; // the banner at the top
    HWND window_ = nullptr;                            // read by the worker
    hnWorkerThread worker_{"DUninstallComponent::stopWorker"};
};
