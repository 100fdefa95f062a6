#pragma once
// The log of one session for support: every debug line, every message box
// and question with the user's answer, every download and every started
// program, one time-stamped line each, in "<folder><prefix>YYYYMMDDhhmmss.log".
// The newest files of that name are kept, older ones deleted. A log that
// cannot be opened or written is skipped silently: it never stops the program.
#include <windows.h>

#include <mutex>
#include <string>

#include "app/ScopedHandle.h"

// How many seconds' names a session log tries before it gives up.
constexpr int kSessionLogNameAttempts = 60;

// The name "<prefix>YYYYMMDDhhmmss.log" of the session log started at
// `start` (local time) plus `secondsLater`; empty when that time cannot be
// told.
std::string hnSessionLogName(const std::string& prefix, const SYSTEMTIME& start, int secondsLater);

class hnSessionLog {
public:
    hnSessionLog() = default;
    hnSessionLog(const hnSessionLog&) = delete;
    hnSessionLog& operator=(const hnSessionLog&) = delete;

    // `folder` ends with a separator. Creates the session's file, a new one
    // always and never through a link: when the name of this second is taken
    // (by a file, a folder or a link), those of the following seconds are
    // tried. Then keeps the `keep` newest logs of `prefix`.
    bool open(const std::string& folder, const std::string& prefix, int keep = 10);
    void close();
    bool isOpen() const;
    std::string path() const;
    // Copies the log as it is now to `target` (replaced). False, and no
    // target left behind, when the log is not open or the copy fails: an
    // empty or cut file must not pass for a session's log.
    bool copyTo(const std::string& target) const;

    // One line "YYYY-MM-DD hh:mm:ss.mmm <kind>: <text>"; line breaks inside
    // the text are written as "\n" so each entry stays on one line.
    void write(const char* kind, const std::string& text);

private:
    mutable std::mutex mutex_;
    hnScopedHandle file_;
    std::string path_;
};

// Writes to the log of the application object, if there is one.
void hnSessionLogWrite(const char* kind, const std::string& text);
void hnSessionLogF(const char* kind, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
