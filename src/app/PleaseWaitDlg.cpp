#include "app/PleaseWaitDlg.h"

#include "resource.h"

DPleaseWaitDlg::DPleaseWaitDlg() : hnDialog(IDD_PLEASE_WAIT) {}

void DPleaseWaitDlg::createOnDemand(HWND owner) {
    onDemand_ = true;
    owner_ = owner;
}

void DPleaseWaitDlg::showForWait() {
    if (onDemand_ && !hwnd()) {
        onDemand_ = false; // one attempt: a box that cannot be made is not asked for again
        create(owner_);
    }
    hnDialog::showForWait();
}

bool DPleaseWaitDlg::onInitDialog() {
    centerOnOwner();
    return true;
}
