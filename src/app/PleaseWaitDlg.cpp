#include "app/PleaseWaitDlg.h"

#include "resource.h"

DPleaseWaitDlg::DPleaseWaitDlg() : hnDialog(IDD_PLEASE_WAIT) {}

bool DPleaseWaitDlg::onInitDialog() {
    centerOnOwner();
    return true;
}
