#include "download/DownloadEngine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <windows.h>
#include <wininet.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "download/BackgroundWriter.h"
#include "download/InternetStop.h"

namespace {

constexpr long kProgressStep = 102400;
// Bytes asked of WinINet per call. A call returns only once that much has
// arrived (or the body ended), and progress reports and stop checks happen
// between calls; every call also costs a fixed amount of its own. So the size
// follows the link: it starts at the floor, doubles while calls come back
// quickly and halves when one takes long. On a slow link calls stay as short
// as the floor allows; on a fast one a call fills a whole write buffer.
constexpr DWORD kInternetReadFloor = 128 * 1024;
constexpr DWORD kInternetReadCeiling = kDownloadReadChunk;
constexpr double kQuickReadSeconds = 0.025;
constexpr double kSlowReadSeconds = 0.1;
constexpr std::size_t kDetailCapacity = 1024;
constexpr std::size_t kUserTextCapacity = 2048;
// The prompter's name for the credentials prompt of a 401 answer.
constexpr int kCredentialsQuestionId = ERROR_INTERNET_INCORRECT_PASSWORD;

// The engine's own failure inside a transfer: negative engine code, or the
// HTTP status the server answered.
class CCustomException {
public:
    explicit CCustomException(int code) : errorCode(code) {}
    int errorCode;
};

// A failure of the WinINet layer, with its error number.
class hnInternetException {
public:
    explicit hnInternetException(DWORD error) : errorNumber(error) {}
    DWORD errorNumber;
};

// The transfer ended before the announced length.
struct hnIncompleteBody {};

struct Aborted {};

// One internet handle of a transfer. With a stop control it is registered
// there, so that the stopping thread can close it to end a waiting call; it
// is closed once, by whichever side lets go of it first.
class TransferHandle {
public:
    TransferHandle(HINTERNET handle, hnInternetStop* stop) : handle_(handle), stop_(stop) {
        if (!handle_)
            throw hnInternetException(::GetLastError());
        if (stop_ && !stop_->registerHandle(handle_.get())) {
            handle_.release(); // closed by the control
            throw Aborted();
        }
    }
    ~TransferHandle() {
        if (stop_)
            stop_->closeHandle(handle_.release());
    }
    TransferHandle(const TransferHandle&) = delete;
    TransferHandle& operator=(const TransferHandle&) = delete;
    HINTERNET get() const { return handle_.get(); }

private:
    hnScopedInternet handle_;
    hnInternetStop* stop_;
};

// The internet session of one download; status callbacks stay off.
class CCustomSession {
public:
    explicit CCustomSession(hnInternetStop* stop)
        : handle_(::InternetOpenA("Internet Session", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
                  stop) {}
    HINTERNET get() const { return handle_.get(); }

private:
    TransferHandle handle_;
};

// The engine codes of the two entry points differ only in their thousands.
struct CodeRange {
    int invalidUrl, notHttp, loginRejected, redirected;
};
constexpr CodeRange kElementCodes = {-1001, -1002, -1003, -1004};
constexpr CodeRange kFolderCodes = {-3001, -3002, -3003, -3004};

void throwLastInternetError() {
    throw hnInternetException(::GetLastError());
}

DWORD statusCode(HINTERNET request) {
    DWORD status = 0, size = sizeof(status);
    if (!::HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        throwLastInternetError();
    return status;
}

void sendRequest(HINTERNET request) {
    if (!::HttpSendRequestA(request, nullptr, 0, nullptr, 0))
        throwLastInternetError();
}

// Decimal Content-Length, or -1 when missing or not a number.
long long contentLength(HINTERNET request) {
    char text[64] = {};
    DWORD size = sizeof(text) - 1;
    if (!::HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return -1;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    return (end == text || value < 0) ? -1 : value;
}

std::string internetErrorText(DWORD error) {
    char buffer[kDetailCapacity] = {};
    DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        ::GetModuleHandleA("wininet.dll"), error, 0, buffer, sizeof(buffer), nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = hnFormatText("Internet error %lu", static_cast<unsigned long>(error));
    return text;
}

struct Transfer {
    const std::string& url;
    const std::string& temporaryPath;
    const std::string& finalPath;
    const std::atomic<bool>& abort;
    hnDownloadProgressSink* progress;
    CodeRange codes;
    hnInternetStop* stop;
    // A file of this size kept when the server announces the same length
    // (the mirror's files already there); -1 never keeps.
    long long keepSize = -1;

    bool stopping() const { return abort || (stop && stop->stopRequested()); }
};

void checkAbort(const Transfer& t) {
    if (t.stopping())
        throw Aborted();
}

// Reserves the announced length up front, so that the file system places the
// file once instead of growing it with every write. However the transfer
// ends, the file is cut back to what arrived: a partial download never shows
// a length it does not have.
class hnReservedLength {
public:
    hnReservedLength(HANDLE file, long long announced, const long long& received)
        : file_(file), received_(received) {
        LARGE_INTEGER size, start = {};
        size.QuadPart = announced;
        if (announced > 0 && ::SetFilePointerEx(file, size, nullptr, FILE_BEGIN))
            ::SetEndOfFile(file);
        ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
    }
    ~hnReservedLength() {
        LARGE_INTEGER end;
        end.QuadPart = received_;
        if (::SetFilePointerEx(file_, end, nullptr, FILE_BEGIN))
            ::SetEndOfFile(file_);
    }
    hnReservedLength(const hnReservedLength&) = delete;
    hnReservedLength& operator=(const hnReservedLength&) = delete;

private:
    HANDLE file_;
    const long long& received_;
};

// The size of the next read, from how long the last one took.
class hnReadPace {
public:
    hnReadPace() { ::QueryPerformanceFrequency(&frequency_); }
    DWORD size() const { return size_; }
    void start() { ::QueryPerformanceCounter(&started_); }
    // After a read of `read` bytes that asked for size(): a short read is the
    // body's end and says nothing about the link.
    void finished(DWORD read) {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        double seconds = double(now.QuadPart - started_.QuadPart) / double(frequency_.QuadPart);
        if (seconds > kSlowReadSeconds)
            size_ = std::max(size_ / 2, kInternetReadFloor);
        else if (read == size_ && seconds < kQuickReadSeconds)
            size_ = std::min(size_ * 2, kInternetReadCeiling);
    }

private:
    LARGE_INTEGER frequency_, started_ = {};
    DWORD size_ = kInternetReadFloor;
};

// Streams the body into the temporary file, counting the bytes that arrived
// into `total` as it goes, so that a failure still tells how much came.
void streamBody(const Transfer& t, HINTERNET request, HANDLE file, long long announced, long long& total) {
    total = 0;
    hnReservedLength length(file, announced, total); // outlives the writer
    hnBackgroundWriter writer(file, kDownloadReadChunk);
    long long mark = 0;
    hnReadPace pace;
    for (bool end = false; !end;) {
        char* buffer = writer.acquire();
        if (!buffer)
            throw std::runtime_error("write failed");
        // WinINet hands out what has arrived; the buffer is filled before it
        // goes to the writer, so that disk writes stay large.
        DWORD filled = 0;
        while (filled < kDownloadReadChunk) {
            DWORD read = 0;
            DWORD wanted = std::min<DWORD>(kDownloadReadChunk - filled, pace.size());
            pace.start();
            if (!::InternetReadFile(request, buffer + filled, wanted, &read)) {
                writer.submit(buffer, 0);
                throwLastInternetError();
            }
            if (wanted == pace.size())
                pace.finished(read);
            if (read == 0) {
                end = true;
                break;
            }
            filled += read;
            total += read;
            if (t.stopping()) {
                writer.submit(buffer, 0);
                throw Aborted();
            }
            // One report per read that passes a 100 KB mark.
            if (total - mark > kProgressStep) {
                mark += kProgressStep * ((total - mark - 1) / kProgressStep);
                if (t.progress)
                    t.progress->downloadProgress(static_cast<long>(total / 1024));
            }
        }
        writer.submit(buffer, filled);
    }
    if (!writer.finish())
        throw std::runtime_error("write failed");
    if (announced >= 0 && total < announced)
        throw hnIncompleteBody();
}

const char* outcomeName(DownloadOutcome outcome) {
    static const char* const kNames[] = {"transferred", "present",        "path too long",  "aborted",
                                         "invalid URL", "not HTTP",       "login rejected", "redirected",
                                         "HTTP error",  "internet error", "incomplete",     "rename failed",
                                         "unexpected"};
    std::size_t index = static_cast<std::size_t>(outcome);
    return index < sizeof(kNames) / sizeof(kNames[0]) ? kNames[index] : "unexpected";
}

DownloadResult transfer(const Transfer& t, long long& received) {
    DownloadResult result;
    try {
        CCustomSession session(t.stop);
        char canonical[INTERNET_MAX_URL_LENGTH] = {};
        DWORD canonicalLength = sizeof(canonical);
        char host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
        char object[INTERNET_MAX_URL_LENGTH] = {};
        URL_COMPONENTSA parts = {};
        parts.dwStructSize = sizeof(parts);
        parts.lpszHostName = host;
        parts.dwHostNameLength = sizeof(host);
        parts.lpszUrlPath = object;
        parts.dwUrlPathLength = sizeof(object);
        if (t.url.empty() ||
            !::InternetCanonicalizeUrlA(t.url.c_str(), canonical, &canonicalLength, ICU_BROWSER_MODE) ||
            !::InternetCrackUrlA(canonical, 0, 0, &parts))
            throw CCustomException(t.codes.invalidUrl);
        if (parts.nScheme != INTERNET_SCHEME_HTTP)
            throw CCustomException(t.codes.notHttp);
        if (!host[0])
            throw CCustomException(t.codes.invalidUrl);
        // The object path carries the query too (the cracked path already
        // holds it when no extra-info buffer is given).
        TransferHandle connection(::InternetConnectA(session.get(), host, parts.nPort, nullptr, nullptr,
                                                     INTERNET_SERVICE_HTTP, 0, 1),
                                  t.stop);
        // Nothing is read from or written to the shared internet cache: the
        // installable has its own cache beside the program, and a second copy
        // of every installer there would only fill the disk (and writing it
        // costs as much as the transfer itself).
        TransferHandle request(
            ::HttpOpenRequestA(connection.get(), "GET", object[0] ? object : "/", nullptr, nullptr, nullptr,
                               INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT |
                                   INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_CACHE_WRITE,
                               1),
            t.stop);
        checkAbort(t);
        sendRequest(request.get());
        DWORD status = statusCode(request.get());
        if (status == HTTP_STATUS_DENIED) {
            checkAbort(t);
            HINTERNET handle = request.get();
            INT_PTR answer = hnAppBase::current()->prompter().question(
                kCredentialsQuestionId, nullptr, t.url.c_str(), [handle](HWND) {
                    return static_cast<INT_PTR>(::InternetErrorDlg(
                        ::GetDesktopWindow(), handle, ERROR_INTERNET_INCORRECT_PASSWORD,
                        FLAGS_ERROR_UI_FLAGS_GENERATE_DATA | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS, nullptr));
                });
            if (answer != ERROR_INTERNET_FORCE_RETRY)
                throw CCustomException(t.codes.loginRejected);
            sendRequest(request.get());
            status = statusCode(request.get());
        }
        if (status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT ||
            status == HTTP_STATUS_REDIRECT_METHOD)
            throw CCustomException(t.codes.redirected);
        if (status != HTTP_STATUS_OK)
            throw CCustomException(static_cast<int>(status));
        checkAbort(t);

        long long announced = contentLength(request.get());
        if (t.keepSize >= 0 && announced == t.keepSize) {
            result.outcome = DownloadOutcome::Present;
            result.detail = "kept, the size matches the server's";
            return result;
        }
        hnScopedHandle file(::CreateFileA(t.temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            throw std::runtime_error("temporary file");
        if (t.progress)
            t.progress->downloadStarted(static_cast<long>((announced > 0 ? announced : 0) / 1024));
        streamBody(t, request.get(), file.get(), announced, received);
        file.reset();
        if (!moveFileReplacing(t.temporaryPath, t.finalPath)) {
            result.outcome = DownloadOutcome::RenameFailed;
            return result;
        }
        checkAbort(t);
        result.outcome = DownloadOutcome::Transferred;
    } catch (const Aborted&) {
        result.outcome = DownloadOutcome::Aborted;
    } catch (const CCustomException& e) {
        result.code = e.errorCode;
        if (e.errorCode == t.codes.invalidUrl) {
            result.outcome = DownloadOutcome::InvalidUrl;
            result.detail = "Error - Invalid URL";
        } else if (e.errorCode == t.codes.notHttp) {
            result.outcome = DownloadOutcome::NotHttp;
            result.detail = "Error - Server does not provide HTTP service";
        } else if (e.errorCode == t.codes.loginRejected) {
            result.outcome = DownloadOutcome::LoginRejected;
            result.detail = "Error - Login rejected by the server";
        } else if (e.errorCode == t.codes.redirected) {
            result.outcome = DownloadOutcome::Redirected;
            result.detail = "Error - Server Redirection";
        } else if (e.errorCode > 0) {
            result.outcome = DownloadOutcome::HttpError;
            result.detail = hnFormatText("Server responded with HTTP error - %d", e.errorCode);
        } else {
            result.outcome = DownloadOutcome::Unexpected;
            result.detail = "Unexpected error";
        }
    } catch (const hnInternetException& e) {
        if (t.stopping()) { // the stop closed a handle under a waiting call
            result.outcome = DownloadOutcome::Aborted;
            return result;
        }
        result.outcome = DownloadOutcome::InternetError;
        result.code = static_cast<int>(e.errorNumber);
        result.detail = internetErrorText(e.errorNumber);
    } catch (const hnIncompleteBody&) {
        result.outcome = DownloadOutcome::Incomplete;
        // The user text puts "Error." in front already.
        result.detail = "The connection closed before the whole file was received";
    }
    return result;
}

// One transfer, written to the session log with its outcome.
DownloadResult runTransfer(const Transfer& t) {
    long long received = 0;
    DownloadResult result = transfer(t, received);
    hnSessionLogF("Download", "%s, %lld bytes, %s%s%s", t.url.c_str(), received, outcomeName(result.outcome),
                  result.detail.empty() ? "" : " - ", result.detail.c_str());
    return result;
}

// Sets an existing final file aside on the backup path; when it cannot be
// moved it is deleted.
void setAsideFinalFile(const ElementDownloadPaths& paths) {
    if (!fileExists(paths.finalPath))
        return;
    moveFileReplacing(paths.finalPath, paths.backupPath);
    if (fileExists(paths.finalPath))
        deleteFileForced(paths.finalPath);
}

} // namespace

ElementDownloadPaths elementDownloadPaths(const std::string& folder, const std::string& fileName) {
    ElementDownloadPaths paths;
    paths.fileName = fileName;
    if (folder.empty())
        return paths;
    paths.finalPath = folder + "\\" + fileName;
    paths.temporaryPath = paths.finalPath + "tmp";
    paths.backupPath = paths.finalPath + "bk";
    return paths;
}

bool ElementDownloadPaths::tooLong() const {
    return finalPath.empty() || temporaryPath.size() >= kPathCapacity;
}

std::string DownloadResult::userText() const {
    switch (outcome) {
    case DownloadOutcome::PathTooLong:
        return "Error. Download path too long. Please copy the installer EXE to shorter path and try again.";
    case DownloadOutcome::RenameFailed:
        return "Error. Unable to process the downloaded file";
    case DownloadOutcome::InvalidUrl:
    case DownloadOutcome::NotHttp:
    case DownloadOutcome::LoginRejected:
    case DownloadOutcome::Redirected:
    case DownloadOutcome::HttpError:
    case DownloadOutcome::InternetError:
    case DownloadOutcome::Incomplete: {
        std::string text = "Error. Unable to download file - " + detail.substr(0, kDetailCapacity - 1);
        return text.substr(0, kUserTextCapacity - 1);
    }
    default:
        return std::string();
    }
}

DownloadResult downloadElementFile(const std::string& url, const ElementDownloadPaths& paths, bool refresh,
                                   const std::atomic<bool>& abort, hnDownloadProgressSink* progress,
                                   hnInternetStop* stop) {
    DownloadResult result;
    if (paths.tooLong()) {
        result.outcome = DownloadOutcome::PathTooLong;
        return result;
    }
    try {
        if (!isPlainFileName(paths.fileName)) {
            hnDebugOut("downloadElementFile - invalid file name\n");
            return result; // Unexpected
        }
        if (refresh)
            setAsideFinalFile(paths);
        if (fileExists(paths.finalPath)) {
            result.outcome = DownloadOutcome::Present;
            hnSessionLogF("Download", "%s, 0 bytes, present: %s used", url.c_str(), paths.finalPath.c_str());
            return result;
        }
        return runTransfer({url, paths.temporaryPath, paths.finalPath, abort, progress, kElementCodes, stop});
    } catch (...) {
        result = DownloadResult();
        return result;
    }
}

int downloadFileToFolder(const std::string& folder, const std::string& fileName,
                         const std::atomic<bool>& abort, const std::string& url, hnInternetStop* stop) {
    try {
        if (!isPlainFileName(fileName)) {
            hnDebugOut("downloadFileToFolder - invalid file name\n");
            return 0;
        }
        ElementDownloadPaths paths;
        paths.fileName = fileName;
        if (folder.empty() ||
            !hnFormat(paths.temporaryPath, kPathCapacity, "%s\\%stmp", folder.c_str(), fileName.c_str()))
            return -2004;
        paths.finalPath = folder + "\\" + fileName;
        paths.backupPath = paths.finalPath + "bk";
        setAsideFinalFile(paths);
        if (fileExists(paths.finalPath))
            return 1;
        DownloadResult result =
            runTransfer({url, paths.temporaryPath, paths.finalPath, abort, nullptr, kFolderCodes, stop});
        switch (result.outcome) {
        case DownloadOutcome::Transferred:
            return 1;
        case DownloadOutcome::Aborted:
            return -2005;
        case DownloadOutcome::InvalidUrl:
        case DownloadOutcome::NotHttp:
        case DownloadOutcome::LoginRejected:
        case DownloadOutcome::Redirected:
            return result.code;
        case DownloadOutcome::HttpError:
            return -3008;
        case DownloadOutcome::InternetError:
        case DownloadOutcome::Incomplete:
            return -3007;
        case DownloadOutcome::RenameFailed:
            return -3006;
        default:
            return 0;
        }
    } catch (...) {
        return 0;
    }
}

DownloadResult mirrorFile(const std::string& url, const ElementDownloadPaths& paths,
                          const std::atomic<bool>& abort, hnInternetStop* stop) {
    DownloadResult result;
    if (paths.tooLong()) {
        result.outcome = DownloadOutcome::PathTooLong;
        return result;
    }
    try {
        Transfer t{url, paths.temporaryPath, paths.finalPath, abort, nullptr, kElementCodes, stop};
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (::GetFileAttributesExA(paths.finalPath.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            t.keepSize = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        result = runTransfer(t);
    } catch (...) {
        result = DownloadResult();
    }
    if (!result.succeeded() && fileExists(paths.temporaryPath))
        deleteFileForced(paths.temporaryPath);
    return result;
}

bool createFolderPath(const std::string& path) {
    if (path.empty() || fileExists(path))
        return true;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '/' || path[i] == '\\')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
    if (!fileExists(path))
        ::CreateDirectoryA(path.c_str(), nullptr);
    return true;
}

bool moveFileReplacing(const std::string& source, const std::string& destination) {
    if (!fileExists(source))
        return false;
    if (fileExists(destination))
        ::SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    return ::MoveFileExA(source.c_str(), destination.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

void resolveDownloadBackup(const ElementDownloadPaths& paths) {
    if (!fileExists(paths.finalPath) && fileExists(paths.backupPath))
        moveFileReplacing(paths.backupPath, paths.finalPath);
    if (fileExists(paths.backupPath))
        deleteFileForced(paths.backupPath);
}
