#include "app/SessionLog.h"

#include <algorithm>
#include <cstdarg>
#include <vector>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/SessionLogLines.h"
#include "app/Text.h"

namespace {

// "<prefix>" followed by fourteen digits and ".log": the only names pruned.
bool isSessionLogName(const std::string& name, const std::string& prefix) {
    const std::size_t stamp = 14;
    if (name.size() != prefix.size() + stamp + 4 || !hnEqualsNoCase(name.substr(0, prefix.size()), prefix) ||
        !hnEqualsNoCase(name.substr(name.size() - 4), ".log"))
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + stamp; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return true;
}

// Deletes the oldest session logs of `prefix` in `folder` beyond `keep`; the
// time stamp in the name sorts them.
void pruneSessionLogs(const std::string& folder, const std::string& prefix, int keep) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data = {};
    hnScopedFind find(::FindFirstFileA((folder + prefix + "*.log").c_str(), &data));
    if (!find)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isSessionLogName(data.cFileName, prefix))
            names.push_back(data.cFileName);
    } while (::FindNextFileA(find.get(), &data));
    std::sort(names.begin(), names.end());
    for (std::size_t i = 0; i + keep < names.size(); ++i)
        ::DeleteFileA((folder + names[i]).c_str());
}

std::string oneLine(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

} // namespace

std::string hnSessionLogName(const std::string& prefix, const SYSTEMTIME& start, int secondsLater) {
    FILETIME startTime;
    if (!::SystemTimeToFileTime(&start, &startTime))
        return std::string();
    ULARGE_INTEGER stamp;
    stamp.LowPart = startTime.dwLowDateTime;
    stamp.HighPart = startTime.dwHighDateTime;
    stamp.QuadPart += static_cast<ULONGLONG>(secondsLater) * 10000000ull; // 100 ns units
    FILETIME time = {stamp.LowPart, stamp.HighPart};
    SYSTEMTIME t;
    if (!::FileTimeToSystemTime(&time, &t))
        return std::string();
    return prefix + hnFormatText("%04u%02u%02u%02u%02u%02u.log", t.wYear, t.wMonth, t.wDay, t.wHour,
                                 t.wMinute, t.wSecond);
}

bool hnSessionLog::open(const std::string& folder, const std::string& prefix, int keep) {
    // Any process of the user can plant a file or link under the expected
    // name: the log is always a new file, never opened through a link; a
    // taken name gives way to the next seconds' names.
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::string path;
    hnScopedHandle file;
    for (int attempt = 0; attempt < kSessionLogNameAttempts && !file; ++attempt) {
        std::string name = hnSessionLogName(prefix, now, attempt);
        if (name.empty())
            break;
        path = folder + name;
        file.reset(::CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file && ::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        file_ = std::move(file);
        path_ = file_ ? path : std::string();
    }
    if (!isOpen())
        return false;
    pruneSessionLogs(folder, prefix, keep < 1 ? 1 : keep);
    return true;
}

void hnSessionLog::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    file_.reset();
    path_.clear();
}

bool hnSessionLog::isOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<bool>(file_);
}

std::string hnSessionLog::path() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return path_;
}

bool hnSessionLog::copyTo(const std::string& target) const {
    // The target may lie in a folder the user can write: no link on the way
    // is passed. (Said before the lock: the debug line goes into this log.)
    std::string refusal;
    if (!hnWriteFolderIsSafe(target, refusal)) {
        hnDebugOutF("hnSessionLog::copyTo - %s\n",
                    refusal.empty() ? "The target folder cannot be checked" : refusal.c_str());
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_); // no line is copied half-written
    if (!file_ || path_.empty())
        return false;
    hnScopedHandle source(::CreateFileA(path_.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source)
        return false;
    // Made afresh, never opened through a link put at its name: a link there
    // goes as a link, and one put back meanwhile makes the copy fail.
    ::DeleteFileA(target.c_str());
    hnScopedHandle copy(::CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!copy)
        return false;
    char buffer[8192];
    DWORD read = 0;
    bool done = true;
    while (done && (done = ::ReadFile(source.get(), buffer, sizeof(buffer), &read, nullptr) != FALSE) &&
           read > 0) {
        DWORD written = 0;
        done = ::WriteFile(copy.get(), buffer, read, &written, nullptr) && written == read;
    }
    copy.reset();
    if (!done)
        ::DeleteFileA(target.c_str());
    return done;
}

void hnSessionLog::write(const char* kind, const std::string& text) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    std::string line = hnFormatText("%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay,
                                    now.wHour, now.wMinute, now.wSecond, now.wMilliseconds) +
                       (kind ? kind : "") + ": " + oneLine(text) + "\r\n";
    std::lock_guard<std::mutex> lock(mutex_);
    if (!file_)
        return;
    DWORD written = 0;
    ::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void hnSessionLogWrite(const char* kind, const std::string& text) {
    if (hnAppBase* app = hnAppBase::current())
        app->sessionLog().write(kind, text);
}

void hnSessionLogLines(const char* kind, const std::string& text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        hnSessionLogWrite(kind, line);
        begin = end + 1;
    }
}

void hnSessionLogF(const char* kind, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = hnFormatTextV(format, args);
    va_end(args);
    hnSessionLogWrite(kind, text);
}
