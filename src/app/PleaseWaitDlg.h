#pragma once
#include "app/Dialog.h"

// Modeless "Please wait..." box shown while start-up waits for a conflicting
// installer to close, and behind other bounded waits.
class DPleaseWaitDlg : public hnDialog {
public:
    DPleaseWaitDlg();
    // Remembers the owner; the box is made by the first showForWait(). Most
    // queries of a refresh are answered without a wait, and a box made and
    // painted for each of them would cost more than the answers.
    void createOnDemand(HWND owner);
    void showForWait() override;

protected:
    bool onInitDialog() override;

private:
    bool onDemand_ = false;
    HWND owner_ = nullptr;
};
