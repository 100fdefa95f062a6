#pragma once
// The one HTTP download engine: a plain GET over WinINet, streamed into a
// temporary file beside the target ("<name>tmp") and moved onto the target
// only after the whole body arrived. Two entry points share the transfer:
// the element download (the download-and-install worker, with progress and
// texts) and downloadFileToFolder (a plain code).
#include <atomic>
#include <string>

class hnInternetStop;

// Paths of one download: "<folder>\\<name>", the same with "tmp" and "bk".
// Without a folder (a cache path that did not fit) every path stays empty
// and the download counts as too long, so nothing lands in a drive root.
struct ElementDownloadPaths {
    std::string fileName;
    std::string finalPath;
    std::string temporaryPath;
    std::string backupPath;

    bool tooLong() const;
};
ElementDownloadPaths elementDownloadPaths(const std::string& folder, const std::string& fileName);

enum class DownloadOutcome {
    Transferred,
    Present,
    PathTooLong,
    Aborted,
    InvalidUrl,
    NotHttp,
    LoginRejected,
    Redirected,
    HttpError,
    InternetError,
    Incomplete, // the body ended before its announced length
    RenameFailed,
    Unexpected,
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::Unexpected;
    int code = 0;       // engine code (-1001...) or HTTP status; WinINet error for InternetError
    std::string detail; // detail text of the outcomes that have one

    bool succeeded() const {
        return outcome == DownloadOutcome::Transferred || outcome == DownloadOutcome::Present;
    }
    // What the user is shown: "Error. Unable to download file - <detail>",
    // the path and rename texts, or empty (success, abort, unexpected).
    std::string userText() const;
};

// Receives the element download's progress on the worker thread.
class hnDownloadProgressSink {
public:
    virtual ~hnDownloadProgressSink() = default;
    virtual void downloadStarted(long totalKb) = 0;
    virtual void downloadProgress(long receivedKb) = 0; // at most once per 100 KB
};

// File policy and transfer of one installation element. With `refresh` an
// existing final file is set aside on the backup path first; otherwise an
// existing final file is used as it is (Present). `abort` is read between
// steps; `progress` may be null. With `stop` the transfer's handles are
// registered there, so another thread can end a waiting call by stopping.
DownloadResult downloadElementFile(const std::string& url, const ElementDownloadPaths& paths, bool refresh,
                                   const std::atomic<bool>& abort, hnDownloadProgressSink* progress,
                                   hnInternetStop* stop = nullptr);

// The mirror's download of `url` onto `paths.finalPath`: a file already there
// is kept (Present, its body not read) when its size equals the length the
// server announces; otherwise the body is fetched whole into the temporary
// file and only then moved over the final file. A failed or stopped transfer
// leaves the final file as it was and removes the temporary one.
DownloadResult mirrorFile(const std::string& url, const ElementDownloadPaths& paths,
                          const std::atomic<bool>& abort, hnInternetStop* stop);

// Downloads `url` to "<folder>\\<fileName>", setting an existing file aside
// as "<fileName>bk" (left there). 1 on success (or when the old file cannot
// be removed); -2004 path too long, -2005 aborted, -3001 invalid URL, -3002
// not http, -3003 login rejected, -3004 redirected, -3006 rename failed,
// -3007 transport failure or incomplete body, -3008 HTTP error, 0 other.
// With `stop` the handles are registered there, as for the element download.
int downloadFileToFolder(const std::string& folder, const std::string& fileName,
                         const std::atomic<bool>& abort, const std::string& url,
                         hnInternetStop* stop = nullptr);

// Creates every missing level of `path`; always true.
bool createFolderPath(const std::string& path);

// Moves `source` onto `destination` (replace, write-through), clearing the
// destination's read-only attribute first; false when the source is missing.
bool moveFileReplacing(const std::string& source, const std::string& destination);

// Sets an existing backup back onto the final path when the final file is
// missing, then deletes any backup left.
void resolveDownloadBackup(const ElementDownloadPaths& paths);

// Size of the buffers the body is read into and written from (three of them
// circulate between the reader and the disk writer).
constexpr unsigned kDownloadReadChunk = 1024 * 1024;
