#pragma once
#include "app/Dialog.h"

// Modeless "Please wait..." box shown while start-up waits for a conflicting
// installer to close, and behind other bounded waits.
class DPleaseWaitDlg : public hnDialog {
public:
    DPleaseWaitDlg();

protected:
    bool onInitDialog() override;
};
