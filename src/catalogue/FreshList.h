#pragma once
// A fresh copy of a catalogue's list file, fetched on a worker so that the
// page shows its cached list at once. The copy lands beside the cached list
// ("<name>new<worker>") and takes the cached list's place only on the page's
// thread, when the page adopts it: whatever reads the cached list meanwhile
// reads it whole. The answer reaches the page as a posted message; the
// worker touches no window.
//
// Leaving the page, Abort or closing stops the fetch through its stop block,
// which closes the transfer's internet handles: a request waiting on the
// network returns then (at once on Windows; under wine only with the
// server's next data). A worker not ended within a moment is left to finish
// on its own, never killed: it holds its own share of what it uses, removes
// its copy and posts nothing once stopped, and a stopped fetch's answer is
// passed over.
//
// The same worker fetches the files a list names (pictures, say) that are
// not cached yet, each straight into its place: the engine puts a file there
// only once it has arrived whole, under its temporary name until then.
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "app/ScopedHandle.h"
#include "download/InstallationElement.h"

// A file that a list names: its address, and where it is cached.
struct hnFreshFile {
    std::string url;
    std::string folder;
    std::string fileName;
};

class hnFreshList {
public:
    // Posted to the page with the fetch's number in wParam.
    static constexpr UINT kAnsweredMessage = WM_APP + 0x232;
    // How long stopping waits for the worker before it is left to finish.
    static constexpr DWORD kStopWaitMs = 500;

    // `message` is posted for each answer (pages with two fetches tell
    // them apart by it).
    explicit hnFreshList(const char* who, UINT message = kAnsweredMessage) : who_(who), message_(message) {}
    ~hnFreshList() { stop(); }
    hnFreshList(const hnFreshList&) = delete;
    hnFreshList& operator=(const hnFreshList&) = delete;

    // Starts fetching the file of `listElement` for `page`; false when the
    // cache path does not fit or no worker could be started.
    bool start(HWND page, const hnInstallationElement& listElement);
    // Starts fetching those of `files` that are missing; false when none is
    // or no worker could be started.
    bool startFiles(HWND page, std::vector<hnFreshFile> files);
    // Ends a fetch still running, which is then due again; its answer, if
    // already posted, is ignored.
    void stop();
    // Ends a fetch still running that another download answers for: nothing
    // is due.
    void drop() {
        stop();
        due_ = false;
    }
    // Whether the page's next activation is to fetch: set for a new window,
    // by a stopped fetch, and cleared by a fetch that starts.
    bool due() const { return due_; }
    void setDue(bool due) { due_ = due; }
    // A fetch was started and its answer not yet taken.
    bool fetching() const { return static_cast<bool>(job_); }
    // For its message: true when `run` answers the current fetch; its
    // worker has ended then, and adopt() may put its copy in place.
    bool take(WPARAM run);
    // Puts the copy that the taken fetch brought in place of the cached
    // list: true when one arrived and took the list's place. Without one the
    // cached list stays as it was. After startFiles: true when any of the
    // files arrived (each is in place already).
    bool adopt();
    // GetTickCount when the last fetch taken had its answer in (benchmarks).
    DWORD answeredAt() const { return answeredAt_; }
    UINT message() const { return message_; }

private:
    struct Job;
    static DWORD WINAPI entry(LPVOID share);
    bool run(const std::shared_ptr<Job>& job);
    const char* who_;
    UINT message_;
    std::shared_ptr<Job> job_;    // the fetch running
    std::shared_ptr<Job> answer_; // the fetch taken, until adopted
    hnScopedHandle thread_;
    unsigned run_ = 0;
    DWORD answeredAt_ = 0;
    bool due_ = false;
};
