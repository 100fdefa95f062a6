#include "pages/MigrationProgress.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "migration_ids.h"

DMigrationProgressBase::DMigrationProgressBase(UINT templateId, const char* who)
    : hnDialog(templateId), worker_(who) {}

DMigrationProgressBase::~DMigrationProgressBase() {
    worker_.stop();
}

std::string DMigrationProgressBase::percentText() const {
    return hnWindowText(item(IDC_MIGRATION_PERCENT));
}

void DMigrationProgressBase::setPercentText(const std::string& text) {
    ::SetDlgItemTextA(hwnd(), IDC_MIGRATION_PERCENT, text.c_str());
}

void DMigrationProgressBase::startProgress(long long total) {
    total_ = total < 0 ? 0 : total;
    // PBM_SETRANGE stops at 65535 steps; the 32-bit range holds any data folder.
    LPARAM upper = static_cast<LPARAM>(total_ > 0x7fffffffLL ? 0x7fffffffLL : (total_ > 0 ? total_ : 1));
    ::SendDlgItemMessageA(hwnd(), IDC_MIGRATION_PROGRESS, PBM_SETRANGE32, 0, upper);
    ::SendDlgItemMessageA(hwnd(), IDC_MIGRATION_PROGRESS, PBM_SETPOS, 0, 0);
    setPercentText("");
}

void DMigrationProgressBase::onProgress(long long done) {
    long long position = done < total_ ? done : total_;
    int percent = total_ > 0 ? static_cast<int>(position * 100 / total_) : 100;
    WPARAM bar = static_cast<WPARAM>(total_ > 0 ? position : 1);
    ::SendDlgItemMessageA(hwnd(), IDC_MIGRATION_PROGRESS, PBM_SETPOS, bar, 0);
    setPercentText(hnFormatText("(%d%%)", percent));
}

bool DMigrationProgressBase::startWorker(std::function<void()> body) {
    window_ = hwnd();
    setRunning(true);
    started_ = true;
    // The dialog hears the end however the body ends: an exception must not
    // leave it running with its buttons locked.
    auto run = [this, body] {
        try {
            body();
        } catch (...) {
            hnDebugOut("DMigrationProgressBase::startWorker - unexpected exception in the worker\n");
        }
        ::SendMessageA(window_, kFinishedMessage, 0, 0);
    };
    if (!worker_.start(run)) {
        setRunning(false);
        return false;
    }
    return true;
}

void DMigrationProgressBase::reportProgress(long long done) const {
    ::SendMessageA(window_, kProgressMessage, static_cast<WPARAM>(done), 0);
}

void DMigrationProgressBase::setRunning(bool running) {
    running_ = running;
    applyRunning(running);
    ::EnableWindow(item(IDC_MIGRATION_ABORT), running);
    // Before the first start the progress shows only while running; once
    // started it stays in sight, enabled only while running.
    const int progress[] = {IDC_MIGRATION_PROGRESS, IDC_MIGRATION_PERCENT, IDC_MIGRATION_PROGRESS_LABEL};
    for (int id : progress) {
        ::ShowWindow(item(id), running || started_ ? SW_SHOW : SW_HIDE);
        ::EnableWindow(item(id), running);
    }
}

bool DMigrationProgressBase::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == kProgressMessage) {
        onProgress(static_cast<long long>(wParam));
    } else if (message == kFinishedMessage) {
        if (!worker_.stopRequested())
            setRunning(false);
    } else {
        return false;
    }
    result = 0;
    return true;
}

bool DMigrationProgressBase::onCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_MIGRATION_ABORT && code == BN_CLICKED) {
        onAbort();
        return true;
    }
    return hnDialog::onCommand(id, code, control);
}

void DMigrationProgressBase::stopWorker() {
    worker_.stop(); // answers the worker's progress messages meanwhile
}

void DMigrationProgressBase::onAbort() {
    if (hnAppBase::current()->prompter().messageBox(hwnd(), "Do you want to abort the import process?",
                                                    kInstallerCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    stopWorker();
    setPercentText("Processing aborted.");
    setRunning(false);
}

void DMigrationProgressBase::onClose() {
    if (running_) {
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Import processing is on.\nPlease abort the process before closing the dialog.",
            kInstallerCaption, MB_OK | MB_ICONINFORMATION);
        return;
    }
    endDialog(IDOK);
}

void DMigrationProgressBase::onDestroy() {
    stopWorker();
    running_ = false;
}
