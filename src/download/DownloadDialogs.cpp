#include "download/DownloadDialogs.h"

#include <atomic>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "download/InternetStop.h"
#include "download_ids.h"
#include "download/InstallationElement.h"
#include "process/ProcessLaunch.h"

namespace {
constexpr DWORD kPathFailurePauseMs = 5000;
constexpr int kProgressRange = 1000;
} // namespace

// One run of the worker: copies of what it reads from the element and the
// dialog, and what the two threads share. The worker holds it to its end.
struct hnDownloadJob : hnDownloadProgressSink {
    std::string url;
    std::string switches;
    bool isMsiPackage = false;
    ElementDownloadPaths paths;
    bool downloadOnly = false;
    bool refresh = false;
    bool showMessages = false;

    std::string failure; // what went wrong, written before OperationFailed is sent

    std::atomic<bool> abort{false};
    hnInternetStop internet; // the stop block; a stop also closes its open handles
    std::atomic<long> totalKb{0};
    std::atomic<HWND> target{nullptr}; // the dialog while it may be told

    // From the user interface thread: the worker ends at its next step, a
    // waiting network call returns, a pause ends; reports fail at once.
    void stop() {
        target = nullptr;
        abort = true;
        internet.requestStop();
    }
    bool pause(DWORD ms) const { return internet.pause(ms); }

    LRESULT send(WPARAM code, LPARAM lParam = 0) {
        HWND window = target;
        return window ? ::SendMessageA(window, kDownloadWorkerMessage, code, lParam) : 0;
    }
    void downloadStarted(long kb) override {
        totalKb = kb;
        send(DownloadStarted);
    }
    void downloadProgress(long receivedKb) override {
        char text[128];
        std::snprintf(text, sizeof(text), "%ld", receivedKb);
        send(DownloadProgress, reinterpret_cast<LPARAM>(text));
    }
    int messageBox(const std::string& text) {
        return hnAppBase::current()->prompter().messageBox(target, text.c_str(), kInstallerCaption, MB_OK);
    }
    void run();
};

DDownloadAndInstallComponent::DDownloadAndInstallComponent(int elementNumber, int elementCount,
                                                           hnInstallationElement* element, bool downloadOnly,
                                                           bool refresh, bool showMessages)
    : hnDialog(IDD_DOWNLOAD_AND_INSTALL), element_(element), elementNumber_(elementNumber),
      elementCount_(elementCount), downloadOnly_(downloadOnly), refresh_(refresh),
      showMessages_(showMessages) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    if (element_) {
        paths_ = elementDownloadPaths(element_->downloadFolder, element_->fileName);
        createFolderPath(element_->downloadFolder);
    }
    for (auto binding :
         {std::make_pair(IDC_DOWNLOAD_LINE1, &line1_), std::make_pair(IDC_DOWNLOAD_LINE2, &line2_),
          std::make_pair(IDC_DOWNLOAD_LINE3, &line3_)})
        bindText(binding.first, binding.second);
}

DDownloadAndInstallComponent::~DDownloadAndInstallComponent() {
    stopWorker();
}

void DDownloadAndInstallComponent::stopWorker() {
    if (job_)
        job_->stop();
    job_.reset();
    if (!worker_)
        return;
    // Ending a thread from outside may leave the system's or the internet
    // library's locks held for good, so a worker that does not end in time
    // (an installer still runs) is let go instead; it owns its job.
    if (!hnWaitForWorker(worker_, kWorkerStopMs))
        hnDebugOut(
            "DDownloadAndInstallComponent::stopWorker - worker still running, left to end on its own\n");
    ::CloseHandle(worker_);
    worker_ = nullptr;
}

bool DDownloadAndInstallComponent::onInitDialog() {
    const char* mode = downloadOnly_ ? "Downloading component %d of %d" : "Installing component %d of %d";
    title_ = hnFormatText(mode, elementNumber_, elementCount_);
    ::SetWindowTextA(hwnd(), hnFormatText(downloadOnly_ ? "%s - Download Component Installables"
                                                        : "%s - Download and Install Components",
                                          kInstallerCaption)
                                 .c_str());
    subtitle_ = element_ ? element_->name : std::string();

    header_.reset(); // of an earlier run
    header_ = hnComponentInstallHeader::createDialogBanner(hwnd(), title_, subtitle_);

    line1_ = "Downloading component... Please wait...";
    line2_.clear();
    line3_.clear();
    ::SendDlgItemMessageA(hwnd(), IDC_DOWNLOAD_PROGRESS, PBM_SETRANGE32, 0, kProgressRange);
    setProgress(0);
    transferToControls();
    centerOnOwner();

    userAborted_ = false;
    stopWorker(); // of an earlier run
    job_ = std::make_shared<hnDownloadJob>();
    if (element_) {
        job_->url = element_->url;
        job_->switches = element_->switches;
        job_->isMsiPackage = element_->isMsiPackage;
    }
    job_->paths = paths_;
    job_->downloadOnly = downloadOnly_;
    job_->refresh = refresh_;
    job_->showMessages = showMessages_;
    job_->target = hwnd();
    auto* reference = new std::shared_ptr<hnDownloadJob>(job_);
    worker_ = ::CreateThread(nullptr, 0, &DDownloadAndInstallComponent::downloadAndInstallWorker, reference,
                             0, nullptr);
    if (!worker_) {
        delete reference;
        hnDebugOut("DDownloadAndInstallComponent::onInitDialog - unable to start worker\n");
        handleWorkerMessage(OperationFailed, 0);
    }
    return true;
}

void DDownloadAndInstallComponent::setProgress(int position) {
    ::SendDlgItemMessageA(hwnd(), IDC_DOWNLOAD_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void DDownloadAndInstallComponent::onCancel() {
    const char* question = downloadOnly_ ? "Do you want to abort download of the selected components?"
                                         : "Do you want to abort installation of the selected components?";
    if (hnAppBase::current()->prompter().messageBox(hwnd(), question, "Confirmation",
                                                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    userAborted_ = true;
    endDialog(IDCANCEL);
}

void DDownloadAndInstallComponent::onTimer(UINT_PTR id) {
    if (id != kInstallCreepTimer)
        return;
    int position = static_cast<int>(::SendDlgItemMessageA(hwnd(), IDC_DOWNLOAD_PROGRESS, PBM_GETPOS, 0, 0));
    setProgress(position + 1);
}

void DDownloadAndInstallComponent::onDestroy() {
    // From here on the worker's reports fail at once instead of blocking, and
    // a worker still under way stops: after a confirmed Abort nothing more is
    // downloaded and no installer is started.
    if (job_)
        job_->stop();
    ::KillTimer(hwnd(), kInstallCreepTimer);
}

bool DDownloadAndInstallComponent::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kDownloadWorkerMessage) {
        handleWorkerMessage(wParam, lParam);
        result = 0;
        return true;
    }
    if (message == WM_PAINT && header_)
        header_->placeAsDialogBanner(); // painting itself stays with the dialog manager
    return false;
}

void DDownloadAndInstallComponent::handleWorkerMessage(WPARAM code, LPARAM lParam) {
    long total = job_ ? job_->totalKb.load() : 0;
    switch (code) {
    case DownloadStarted:
        line2_ = hnFormatText("Downloaded 0 KB from %ld KB", total);
        break;
    case DownloadProgress: {
        long received = lParam ? std::strtol(reinterpret_cast<const char*>(lParam), nullptr, 10) : 0;
        line2_ = hnFormatText("Downloaded %ld KB from %ld KB", received, total);
        // Without an announced size the bar stays where it is.
        if (total > 0) {
            long long position = static_cast<long long>(received) * kProgressRange / total;
            setProgress(static_cast<int>(position > kProgressRange ? kProgressRange : position));
        }
        break;
    }
    case DownloadCompleted:
        line1_ = "Download completed";
        line2_.clear();
        resolveDownloadBackup(paths_);
        if (downloadOnly_) {
            transferToControls();
            ::Sleep(100);
            endDialog(IDOK);
            return;
        }
        line3_ = "Installing... Please wait...";
        setProgress(0);
        ::SetTimer(hwnd(), kInstallCreepTimer, 750, nullptr);
        break;
    case OperationFailed:
        failure_ = job_->failure; // the worker waits for this message
        resolveDownloadBackup(paths_);
        line1_ = downloadOnly_ ? "Download failed. Please abort the current operation and try again."
                               : "Download failed. Please abort the installation and try again.";
        line2_.clear();
        line3_.clear();
        setProgress(kProgressRange);
        transferToControls();
        ::Sleep(100);
        endDialog(IDCANCEL);
        return;
    case InstallCompleted:
        line3_ = "Installation completed";
        setProgress(kProgressRange);
        ::KillTimer(hwnd(), kInstallCreepTimer);
        transferToControls();
        ::Sleep(100);
        endDialog(IDOK);
        return;
    default:
        return;
    }
    transferToControls();
}

DWORD WINAPI DDownloadAndInstallComponent::downloadAndInstallWorker(LPVOID param) {
    std::unique_ptr<std::shared_ptr<hnDownloadJob>> job(static_cast<std::shared_ptr<hnDownloadJob>*>(param));
    (*job)->run();
    return 0;
}

void hnDownloadJob::run() {
    WPARAM result = downloadOnly ? DownloadCompleted : InstallCompleted;
    if (paths.tooLong()) {
        send(OperationFailed);
        if (showMessages)
            messageBox("Error. Download path too long. Please copy the installer EXE to shorter path and try "
                       "again.");
        pause(kPathFailurePauseMs); // a stop ends the pause
        return;
    }
    try {
        DownloadResult download = downloadElementFile(url, paths, refresh, abort, this, &internet);
        switch (download.outcome) {
        case DownloadOutcome::Transferred:
        case DownloadOutcome::Present:
            break;
        case DownloadOutcome::Aborted:
            return;
        case DownloadOutcome::RenameFailed:
            failure = download.userText();
            if (showMessages)
                messageBox(download.userText());
            result = OperationFailed;
            break;
        case DownloadOutcome::Unexpected:
        case DownloadOutcome::PathTooLong:
            throw std::runtime_error("unexpected download failure");
        default:
            failure = download.userText();
            if (showMessages)
                showDownloadError(target, download.userText(), url);
            result = OperationFailed;
            break;
        }
        if (downloadOnly) {
            send(result);
            return;
        }
        send(DownloadCompleted); // the dialog puts a kept backup back in place
        if (abort)
            return;
        if (!fileExists(paths.finalPath)) {
            send(OperationFailed);
            return;
        }
        runDownloadedInstaller(paths.finalPath, switches, isMsiPackage, &internet);
        send(InstallCompleted);
    } catch (...) {
        if (showMessages) {
            if (downloadOnly)
                showDownloadError(target, "Error. Unable to download the component - Unexpected error", url);
            else
                messageBox("Error. Unable to install the component - Unexpected error");
        }
        send(OperationFailed);
    }
}

DDownloadErrorDisplayDlg::DDownloadErrorDisplayDlg(const std::string& errorText, const std::string& url)
    : hnDialog(IDD_DOWNLOAD_ERROR_DISPLAY), errorText_(errorText), url_(url) {}

bool DDownloadErrorDisplayDlg::onInitDialog() {
    ::SetDlgItemTextA(hwnd(), IDC_DOWNLOAD_ERROR_TEXT, errorText_.c_str());
    ::SetDlgItemTextA(hwnd(), IDC_DOWNLOAD_ERROR_URL, url_.c_str());
    centerOnOwner();
    return true;
}

void showDownloadError(HWND owner, const std::string& errorText, const std::string& url) {
    hnAppBase::current()->prompter().question(IDD_DOWNLOAD_ERROR_DISPLAY, owner, errorText.c_str(),
                                              [&](HWND parent) {
                                                  DDownloadErrorDisplayDlg dialog(errorText, url);
                                                  return dialog.doModal(parent);
                                              });
}

DDownloadErrorHandlingOption::DDownloadErrorHandlingOption() : hnDialog(IDD_DOWNLOAD_ERROR_OPTION) {
    bindText(IDC_DOWNLOAD_OPTION_TEXT, &text);
}

bool DDownloadErrorHandlingOption::onInitDialog() {
    centerOnOwner();
    return true;
}

bool DDownloadErrorHandlingOption::onCommand(WORD id, WORD code, HWND control) {
    struct Button {
        WORD id;
        int choice;
        INT_PTR result;
    };
    static const Button buttons[] = {
        {IDC_DOWNLOAD_OPTION_RETRY, 1, IDOK},
        {IDC_DOWNLOAD_OPTION_IGNORE, 2, IDOK},
        {IDC_DOWNLOAD_OPTION_IGNORE_ALL, 3, IDOK},
        {IDC_DOWNLOAD_OPTION_ABORT, 0, IDCANCEL},
    };
    if (code == BN_CLICKED) {
        for (const Button& button : buttons) {
            if (button.id == id) {
                choice = button.choice;
                endDialog(button.result);
                return true;
            }
        }
    }
    return hnDialog::onCommand(id, code, control);
}
