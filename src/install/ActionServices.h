#pragma once
// What the installation and removal actions need from detection, the
// download-and-install dialog and archive extraction, in one narrow place.
#include <memory>
#include <string>
#include <windows.h>

#include "process/UninstallRunners.h"

class hnStopBlock;

struct hnInstallationElement;
class DDownloadAndInstallComponent;

// The runtime's installation folder, ending with a separator; false while the
// runtime product is not installed under its expected name.
bool actionRuntimeFolder(std::string& folder);
// Windows Installer knows the product in the machine, user-managed or
// user-unmanaged context.
bool actionMsiProductInstalled(const char* productCode);

// Runs the download-and-install dialog for `element` modally (download-only
// or install mode) and keeps it until this object goes away, so that the
// dialog's worker is stopped only then.
class hnInstallDialogRun {
public:
    hnInstallDialogRun(int position, int runLength, hnInstallationElement& element, bool downloadOnly,
                       bool refresh, bool showMessages);
    ~hnInstallDialogRun();
    hnInstallDialogRun(const hnInstallDialogRun&) = delete;
    hnInstallDialogRun& operator=(const hnInstallDialogRun&) = delete;

    void run();
    const std::string& finalPath() const;

private:
    std::unique_ptr<DDownloadAndInstallComponent> dialog_;
};

// Extracts a whole zip archive into an existing folder; no entry may land
// outside that folder.
bool extractComponentArchive(const std::string& archive, const std::string& folder);

// Waits of the actions that follow programs and windows they cannot hold a
// handle to. The shipped values are the defaults; tests shorten them. `stop`,
// the stop block of the worker that runs the action (if any), ends every wait
// and keeps further programs from starting.
struct hnActionTimings {
    const hnStopBlock* stop = nullptr;
    hnWindowPoll processStart{25, 2400};  // a started setup or uninstaller appears
    hnWindowPoll processEnd{1000, 600};   // ... and ends
    hnWindowPoll opcScoutStart{25, 4800}; // the OPC Scout's detached setup appears
    hnWindowPoll opcScoutEnd{1000, 600};
    UINT opcScoutCloseDelayMs = 1000;
    hnOpcWindowTimings opcServerWindow;
    DWORD opcServerUninstallPauseMs = 15000;
    DWORD speccyPauseMs = 10000;
    hnWindowPoll tightVncWindow{25, 2400}; // the uninstaller's window appears
    hnWindowPoll tightVncWindowGone{1000, 600};
};
