#pragma once
// The modal progress dialog through which installation elements are
// downloaded (and, in install mode, installed), and the two small dialogs of
// download failures.
#include <memory>
#include <string>
#include <windows.h>

#include "app/Dialog.h"
#include "controls/ComponentInstallHeader.h"
#include "download/DownloadEngine.h"

struct hnInstallationElement;
struct hnDownloadJob;

// Message from the worker to the dialog (sent, so the worker waits for it);
// the word parameter is one of the codes below.
constexpr UINT kDownloadWorkerMessage = WM_USER + 5;
enum DownloadWorkerCode : WPARAM {
    DownloadStarted = 100,   // total KB is set
    DownloadProgress = 101,  // lParam: the received KB as "%ld" text
    DownloadCompleted = 102, // file transferred or already present
    OperationFailed = 103,
    InstallCompleted = 104,
};
constexpr UINT_PTR kInstallCreepTimer = 783;

class DDownloadAndInstallComponent : public hnDialog {
public:
    // Computes the element's download paths and creates its download folder
    // at once, so an object that is never shown still serves its paths.
    DDownloadAndInstallComponent(int elementNumber, int elementCount, hnInstallationElement* element,
                                 bool downloadOnly, bool refresh, bool showMessages);
    // Stops the worker: sets the abort flag and closes its internet handles,
    // then waits up to 5 s for it. A worker still running then (inside an
    // installer) is left to end on its own; it never touches this object.
    ~DDownloadAndInstallComponent() override;

    const ElementDownloadPaths& paths() const { return paths_; }
    const std::string& finalPath() const { return paths_.finalPath; }
    bool userAborted() const { return userAborted_; }
    // The failed download's text as the user is shown it ("Error. Unable to
    // download file - Server responded with HTTP error - 404"); empty
    // otherwise.
    const std::string& failure() const { return failure_; }

    // What the dialog shows, for its owner and for tests.
    const std::string& title() const { return title_; }
    const std::string& subtitle() const { return subtitle_; }
    const std::string& line1() const { return line1_; }
    const std::string& line2() const { return line2_; }
    const std::string& line3() const { return line3_; }

protected:
    bool onInitDialog() override;
    void onCancel() override; // the Abort button, after a confirmation
    void onTimer(UINT_PTR id) override;
    void onDestroy() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static DWORD WINAPI downloadAndInstallWorker(LPVOID param);
    void handleWorkerMessage(WPARAM code, LPARAM lParam);
    void setProgress(int position);
    void stopWorker();

    hnInstallationElement* element_;
    HANDLE worker_ = nullptr;
    // What the worker uses, shared with it so it may outlive this object.
    std::shared_ptr<hnDownloadJob> job_;
    int elementNumber_;
    int elementCount_;
    bool downloadOnly_;
    bool refresh_;
    bool showMessages_;
    ElementDownloadPaths paths_;
    std::unique_ptr<hnComponentInstallHeader> header_; // the banner at the top
    std::string title_;
    std::string subtitle_;
    std::string line1_, line2_, line3_;
    bool userAborted_ = false;
    std::string failure_;
};

// A download failure with its URL in a read-only field, so it can be copied.
class DDownloadErrorDisplayDlg : public hnDialog {
public:
    DDownloadErrorDisplayDlg(const std::string& errorText, const std::string& url);

protected:
    bool onInitDialog() override;

private:
    std::string errorText_;
    std::string url_;
};

// The question after a failed download: Retry (1), Ignore (2), Ignore All (3)
// close with OK, Abort (0) with Cancel.
class DDownloadErrorHandlingOption : public hnDialog {
public:
    DDownloadErrorHandlingOption();
    std::string text;
    int choice = 0;

protected:
    bool onInitDialog() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
};

// Shows the error display through the prompter (question 212); `owner` may
// belong to another thread.
void showDownloadError(HWND owner, const std::string& errorText, const std::string& url);
