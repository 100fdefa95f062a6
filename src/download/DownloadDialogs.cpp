#include "download/DownloadDialogs.h"

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerApp.h"
#include "app/Text.h"
#include "download_ids.h"
#include "install/InstallationElement.h"
#include "process/ProcessLaunch.h"

namespace {
constexpr DWORD kWorkerStopMs = 5000;
constexpr int kProgressRange = 1000;
constexpr int kHeaderHeight = 100;
} // namespace

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
    workerTarget_ = nullptr;
    if (!worker_)
        return;
    abort_ = true;
    if (::WaitForSingleObject(worker_, kWorkerStopMs) != WAIT_OBJECT_0)
        ::TerminateThread(worker_, 0);
    ::CloseHandle(worker_);
    worker_ = nullptr;
    abort_ = false;
}

bool DDownloadAndInstallComponent::onInitDialog() {
    const char* mode = downloadOnly_ ? "Downloading component %d of %d" : "Installing component %d of %d";
    title_ = hnFormatText(mode, elementNumber_, elementCount_);
    ::SetWindowTextA(hwnd(), hnFormatText(downloadOnly_ ? "%s - Download Component Installables"
                                                        : "%s - Download and Install Components",
                                          kInstallerCaption)
                                 .c_str());
    subtitle_ = element_ ? element_->name : std::string();

    // The banner across the top: title over subtitle.
    if (header_)
        ::DestroyWindow(header_);
    header_ = ::CreateWindowExA(0, "STATIC", (title_ + "\r\n" + subtitle_).c_str(),
                                WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 190, 90, hwnd(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DOWNLOAD_HEADER)),
                                ::GetModuleHandleA(nullptr), nullptr);
    if (header_)
        ::SetWindowTextA(header_, (title_ + "\r\n" + subtitle_).c_str());
    layoutHeader();

    line1_ = "Downloading component... Please wait...";
    line2_.clear();
    line3_.clear();
    ::SendDlgItemMessageA(hwnd(), IDC_DOWNLOAD_PROGRESS, PBM_SETRANGE32, 0, kProgressRange);
    setProgress(0);
    transferToControls();
    centerOnOwner();

    userAborted_ = false;
    abort_ = false;
    workerTarget_ = hwnd();
    worker_ =
        ::CreateThread(nullptr, 0, &DDownloadAndInstallComponent::downloadAndInstallWorker, this, 0, nullptr);
    if (!worker_) {
        hnDebugOut("DDownloadAndInstallComponent::onInitDialog - unable to start worker\n");
        handleWorkerMessage(OperationFailed, 0);
    }
    return true;
}

void DDownloadAndInstallComponent::layoutHeader() {
    if (!header_)
        return;
    RECT client;
    ::GetClientRect(hwnd(), &client);
    ::SetWindowPos(header_, nullptr, 0, 0, client.right - client.left, kHeaderHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void DDownloadAndInstallComponent::setProgress(int position) {
    ::SendDlgItemMessageA(hwnd(), IDC_DOWNLOAD_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void DDownloadAndInstallComponent::onCancel() {
    const char* question = downloadOnly_ ? "Do you want to abort download of the selected components?"
                                         : "Do you want to abort installation of the selected components?";
    if (theApp()->prompter().messageBox(hwnd(), question, "Confirmation", MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
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
    workerTarget_ = nullptr;
    abort_ = true;
    ::KillTimer(hwnd(), kInstallCreepTimer);
}

bool DDownloadAndInstallComponent::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kDownloadWorkerMessage) {
        handleWorkerMessage(wParam, lParam);
        result = 0;
        return true;
    }
    if (message == WM_PAINT)
        layoutHeader(); // painting itself stays with the dialog manager
    return false;
}

void DDownloadAndInstallComponent::handleWorkerMessage(WPARAM code, LPARAM lParam) {
    long total = totalKb_;
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

LRESULT DDownloadAndInstallComponent::sendToDialog(WPARAM code, LPARAM lParam) {
    HWND target = workerTarget_;
    return target ? ::SendMessageA(target, kDownloadWorkerMessage, code, lParam) : 0;
}

void DDownloadAndInstallComponent::downloadStarted(long totalKb) {
    totalKb_ = totalKb;
    sendToDialog(DownloadStarted);
}

void DDownloadAndInstallComponent::downloadProgress(long receivedKb) {
    char text[128];
    std::snprintf(text, sizeof(text), "%ld", receivedKb);
    sendToDialog(DownloadProgress, reinterpret_cast<LPARAM>(text));
}

int DDownloadAndInstallComponent::messageBox(const std::string& text) {
    return theApp()->prompter().messageBox(workerTarget_, text.c_str(), kInstallerCaption, MB_OK);
}

DWORD WINAPI DDownloadAndInstallComponent::downloadAndInstallWorker(LPVOID param) {
    return static_cast<DDownloadAndInstallComponent*>(param)->runWorker();
}

DWORD DDownloadAndInstallComponent::runWorker() {
    const std::string url = element_->url;
    WPARAM result = downloadOnly_ ? DownloadCompleted : InstallCompleted;
    if (paths_.temporaryPath.size() >= kPathCapacity) {
        sendToDialog(OperationFailed);
        if (showMessages_)
            messageBox("Error. Download path too long. Please copy the installer EXE to shorter path and try "
                       "again.");
        ::Sleep(5000);
        return 0;
    }
    try {
        DownloadResult download = downloadElementFile(url, paths_, refresh_, abort_, this);
        switch (download.outcome) {
        case DownloadOutcome::Transferred:
        case DownloadOutcome::Present:
            break;
        case DownloadOutcome::Aborted:
            return 0;
        case DownloadOutcome::RenameFailed:
            if (showMessages_)
                messageBox(download.userText());
            result = OperationFailed;
            break;
        case DownloadOutcome::Unexpected:
        case DownloadOutcome::PathTooLong:
            throw std::runtime_error("unexpected download failure");
        default:
            if (showMessages_)
                showDownloadError(workerTarget_, download.userText(), url);
            result = OperationFailed;
            break;
        }
        if (downloadOnly_) {
            sendToDialog(result);
            return 0;
        }
        sendToDialog(DownloadCompleted); // the dialog puts a kept backup back in place
        if (abort_)
            return 0;
        if (!fileExists(paths_.finalPath)) {
            sendToDialog(OperationFailed);
            return 0;
        }
        runDownloadedInstaller(paths_.finalPath, element_->switches, element_->isMsiPackage);
        sendToDialog(InstallCompleted);
    } catch (...) {
        if (showMessages_) {
            if (downloadOnly_)
                showDownloadError(workerTarget_, "Error. Unable to download the component - Unexpected error",
                                  url);
            else
                messageBox("Error. Unable to install the component - Unexpected error");
        }
        sendToDialog(OperationFailed);
    }
    return 0;
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
    theApp()->prompter().question(IDD_DOWNLOAD_ERROR_DISPLAY, owner, errorText.c_str(), [&](HWND parent) {
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
