#pragma once
// Shared pieces of the test programs: scripted prompter, captured debug lines,
// scratch folders and helper processes.
#include <deque>
#include <mutex>
#include <string>
#include <vector>
#include <windows.h>

#include "app/AppBase.h"
#include "app/Prompter.h"
#include "support/UiDriver.h"

// Answers message boxes and questions from a script and records each one.
class ScriptedPrompter : public hnPrompter {
public:
    struct Record {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
        int dialogId; // 0 for a message box
    };

    ScriptedPrompter();           // installs itself on the application
    ~ScriptedPrompter() override; // restores the previous prompter

    INT_PTR respond(const hnPrompt& prompt) override;

    void answer(INT_PTR result) { answers.push_back(result); }
    std::deque<INT_PTR> answers;
    INT_PTR fallback = IDOK; // answer when the script has run out
    std::vector<Record> records;

private:
    INT_PTR next();
    hnPrompter* previous_;
};

// What a failing case prints to explain itself: the prompter's records, one
// a line, and the session log's lines of one kind written since a mark.
std::string describeRecords(const ScriptedPrompter& prompter);
std::size_t sessionLogMark(); // the log's present size
std::string sessionLogLinesSince(std::size_t mark, const char* kind);
// Copies the session log into `folder` under the program's name; a failing
// test program leaves it beside its results.
bool keepSessionLog(const std::string& folder);

// Captures every debug line while it lives.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    std::vector<std::string> lines() const;
    bool contains(const std::string& line) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    hnAppBase::DebugSink previous_;
};

// A fresh folder under the test prefix's temp folder, deleted with its tree.
// Points the user's temp folder (TMP) at `folder` for as long as it lives:
// the fixtures' planted links stand in such folders.
class TempFolderAt {
public:
    explicit TempFolderAt(const std::string& folder) {
        char buffer[MAX_PATH] = {};
        DWORD length = ::GetEnvironmentVariableA("TMP", buffer, MAX_PATH);
        had_ = length > 0 && length < MAX_PATH;
        saved_.assign(buffer, had_ ? length : 0);
        ::SetEnvironmentVariableA("TMP", folder.c_str());
    }
    ~TempFolderAt() { ::SetEnvironmentVariableA("TMP", had_ ? saved_.c_str() : nullptr); }
    TempFolderAt(const TempFolderAt&) = delete;
    TempFolderAt& operator=(const TempFolderAt&) = delete;

private:
    bool had_;
    std::string saved_;
};

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Small file helpers for arranging fixtures.
bool writeTextFile(const std::string& path, const std::string& content);
std::string readTextFile(const std::string& path);
bool makeFolders(const std::string& path);
// A zip archive with nothing in it: the 22 bytes of its end record.
std::string emptyZip();

// The x86 console program replaced by the recorder, which logs its command
// line and ends (after `sleepMs`, at once by default; it never pauses). What
// was there comes back when this goes, and also when it is made, in case a
// killed run left the stand-in behind.
class LoggingConsole {
public:
    explicit LoggingConsole(unsigned long sleepMs = 0);
    ~LoggingConsole();
    LoggingConsole(const LoggingConsole&) = delete;
    LoggingConsole& operator=(const LoggingConsole&) = delete;
    std::string log() const { return readTextFile(log_.file("console.txt")); }

private:
    void restore();
    ScratchFolder log_;
    std::string console_, saved_, placed_;
};

// Folder of the helper programs (tests/tools) built beside the tests.
std::string toolsFolder();
// The folder of the running test program.
std::string testProgramFolder();

// The text a tooltip keeps for the tool of `control` (owned by `owner`);
// empty without one. Read whole: the narrow message gives only 80 bytes.
std::string toolTipText(HWND toolTip, HWND owner, HWND control);

// A helper process started from a copy of a tool under another image name;
// killed and its copy deleted when this goes out of scope.
class ToolProcess {
public:
    ToolProcess(const std::string& tool, const std::string& imageName, const std::string& arguments = "");
    ~ToolProcess();
    bool running() const;
    void stop();
    DWORD pid() const { return info_.dwProcessId; }

private:
    std::string copyPath_;
    PROCESS_INFORMATION info_ = {};
};

// The test programs' name for the driver's wait (see support/UiDriver.h).
template <typename F> bool waitFor(F condition, DWORD timeoutMs) {
    return uidriver::waitUntil(condition, timeoutMs);
}

// The installer program of this build.
std::string installerProgramPath();

// Runs the system's msiexec with the arguments as the program runs it
// (runWindowsInstaller: a busy Windows Installer is waited out) and waits
// for it; its exit code, or -1 when it did not start.
int runMsiexec(const std::string& arguments);
