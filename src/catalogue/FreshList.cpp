#include "catalogue/FreshList.h"

#include <atomic>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "catalogue/CatalogueSources.h"
#include "download/DownloadEngine.h"
#include "download/InternetStop.h"

// What the worker uses: its own share, so that it may outlive the page.
struct hnFreshList::Job {
    HWND page = nullptr;
    UINT message = 0;
    unsigned run = 0;
    std::vector<hnFreshFile> files; // the files mode: no list, no copy
    std::string url;
    std::string folder;
    std::string listPath;
    std::string fileName;
    ElementDownloadPaths copy; // set by the worker, read after its answer
    hnInternetStop internet;
    std::atomic<bool> arrived{false};
    std::atomic<DWORD> answeredAt{0};
};

bool hnFreshList::start(HWND page, const hnInstallationElement& listElement) {
    stop();
    auto job = std::make_shared<Job>();
    job->url = listElement.url;
    job->folder = listElement.downloadFolder;
    job->listPath = localListPath(listElement);
    job->fileName = listElement.fileName;
    // The copy is named after its worker (see entry); the longest name must fit.
    if (elementDownloadPaths(job->folder, job->fileName + "new4294967295").tooLong() || job->listPath.empty())
        return false;
    job->page = page;
    return run(job);
}

bool hnFreshList::startFiles(HWND page, std::vector<hnFreshFile> files) {
    stop();
    auto job = std::make_shared<Job>();
    for (hnFreshFile& file : files) {
        ElementDownloadPaths paths = elementDownloadPaths(file.folder, file.fileName);
        if (!paths.tooLong() && !fileExists(paths.finalPath))
            job->files.push_back(std::move(file));
    }
    if (job->files.empty())
        return false;
    job->page = page;
    return run(job);
}

bool hnFreshList::run(const std::shared_ptr<Job>& job) {
    job->message = message_;
    job->run = ++run_;
    auto* share = new std::shared_ptr<Job>(job);
    thread_.reset(::CreateThread(nullptr, 0, &hnFreshList::entry, share, 0, nullptr));
    if (!thread_) {
        delete share;
        return false;
    }
    job_ = job;
    due_ = false;
    return true;
}

DWORD WINAPI hnFreshList::entry(LPVOID share) {
    std::unique_ptr<std::shared_ptr<Job>> owned(static_cast<std::shared_ptr<Job>*>(share));
    Job& job = **owned;
    try {
        std::atomic<bool> abort(false);
        if (!job.files.empty()) {
            bool any = false;
            for (const hnFreshFile& file : job.files) {
                if (job.internet.stopRequested())
                    return 0;
                createFolderPath(file.folder);
                ElementDownloadPaths paths = elementDownloadPaths(file.folder, file.fileName);
                DownloadResult result =
                    downloadElementFile(file.url, paths, false, abort, nullptr, &job.internet);
                // A transfer cut off or stopped leaves its temporary behind.
                if (!result.succeeded())
                    deleteFileForced(paths.temporaryPath);
                any = any || result.outcome == DownloadOutcome::Transferred;
            }
            if (job.internet.stopRequested())
                return 0;
            job.arrived = any;
        } else {
            // Each fetch its own copy, named after its worker, which no other
            // live worker shares: one left to finish never meets the next.
            job.copy = elementDownloadPaths(job.folder,
                                            job.fileName + "new" + std::to_string(::GetCurrentThreadId()));
            createFolderPath(job.folder);
            // A copy that an earlier process left is no answer of this fetch.
            deleteFileForced(job.copy.finalPath);
            DownloadResult result =
                downloadElementFile(job.url, job.copy, false, abort, nullptr, &job.internet);
            if (!result.succeeded())
                deleteFileForced(job.copy.temporaryPath);
            if (job.internet.stopRequested()) {
                deleteFileForced(job.copy.finalPath);
                return 0;
            }
            job.arrived = result.outcome == DownloadOutcome::Transferred;
        }
        job.answeredAt = ::GetTickCount();
        ::PostMessageA(job.page, job.message, job.run, 0);
    } catch (...) {
        hnDebugOut("hnFreshList::entry - unexpected exception\n");
    }
    return 0;
}

void hnFreshList::stop() {
    if (job_)
        due_ = true;
    if (thread_ && job_)
        hnStopOrLeaveWorker(thread_.get(), job_->internet, who_, kStopWaitMs);
    thread_.reset();
    job_.reset();
}

bool hnFreshList::take(WPARAM run) {
    if (!job_ || run != job_->run)
        return false;
    // It has posted: only its return is left.
    if (thread_)
        hnStopOrLeaveWorker(thread_.get(), job_->internet, who_, kStopWaitMs);
    thread_.reset();
    answeredAt_ = job_->answeredAt;
    answer_ = std::move(job_);
    return true;
}

bool hnFreshList::adopt() {
    std::shared_ptr<Job> answer = std::move(answer_);
    if (answer && !answer->files.empty())
        return answer->arrived; // already in place
    if (!answer || !answer->arrived || !fileExists(answer->copy.finalPath))
        return false;
    if (moveFileReplacing(answer->copy.finalPath, answer->listPath))
        return true;
    hnDebugOutF("hnFreshList::adopt - the fresh copy could not replace %s\n", answer->listPath.c_str());
    deleteFileForced(answer->copy.finalPath);
    return false;
}
