#include "support/TestSupport.h"

#include <atomic>
#include <commctrl.h>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "process/ProcessLaunch.h"
#include "process/SystemInfo.h"

ScriptedPrompter::ScriptedPrompter() : previous_(hnAppBase::current()->setPrompter(this)) {}

ScriptedPrompter::~ScriptedPrompter() {
    hnAppBase::current()->setPrompter(previous_);
}

INT_PTR ScriptedPrompter::next() {
    if (answers.empty())
        return fallback;
    INT_PTR result = answers.front();
    answers.pop_front();
    return result;
}

INT_PTR ScriptedPrompter::respond(const hnPrompt& prompt) {
    records.push_back({prompt.owner, prompt.text ? prompt.text : "", prompt.caption ? prompt.caption : "",
                       prompt.type, prompt.dialogId});
    return next();
}

std::string describeRecords(const ScriptedPrompter& prompter) {
    std::string text;
    for (const ScriptedPrompter::Record& record : prompter.records)
        text += (record.dialogId ? "question " + std::to_string(record.dialogId)
                                 : "message [" + record.caption + "]") +
                ": " + record.text + "\n";
    return text.empty() ? "no message or question\n" : text;
}

std::size_t sessionLogMark() {
    return readTextFile(hnAppBase::current()->sessionLog().path()).size();
}

std::string sessionLogLinesSince(std::size_t mark, const char* kind) {
    std::string log = readTextFile(hnAppBase::current()->sessionLog().path());
    std::istringstream lines(mark < log.size() ? log.substr(mark) : std::string());
    std::string line, text, tag = std::string(" ") + kind + ": ";
    while (std::getline(lines, line))
        if (line.find(tag) != std::string::npos)
            text += line + "\n";
    return text;
}

bool keepSessionLog(const std::string& folder) {
    std::string log = hnAppBase::current()->sessionLog().path();
    char own[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string name = own;
    name = name.substr(name.find_last_of("\\/") + 1);
    name = name.substr(0, name.rfind('.'));
    return !log.empty() && makeFolders(folder) &&
           ::CopyFileA(log.c_str(), (folder + "\\" + name + "-session.log").c_str(), FALSE) != FALSE;
}

DebugCapture::DebugCapture() {
    previous_ = hnAppBase::current()->setDebugSink([this](const char* line) {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(line);
    });
}

DebugCapture::~DebugCapture() {
    hnAppBase::current()->setDebugSink(previous_);
}

std::vector<std::string> DebugCapture::lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
}

bool DebugCapture::contains(const std::string& line) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& l : lines_)
        if (l == line)
            return true;
    return false;
}

ScratchFolder::ScratchFolder() {
    static std::atomic<int> serial{0};
    std::string temp;
    hnTempFolder(temp);
    char name[64];
    std::snprintf(name, sizeof(name), "orvanto-test-%lu-%d", ::GetCurrentProcessId(), ++serial);
    path_ = temp + name;
    makeFolders(path_);
}

ScratchFolder::~ScratchFolder() {
    deleteFolderTree(path_.c_str(), "orvanto-test-");
}

bool writeTextFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

// The unzip layer finds the end record only after at least one byte of other
// data: callers put something in front.
std::string emptyZip() {
    return std::string("PK\x05\x06", 4) + std::string(18, '\0');
}

std::string readTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool makeFolders(const std::string& path) {
    for (std::size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
    return fileExists(path);
}

std::string testProgramFolder() {
    char buffer[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of("\\/"));
}

std::string toolsFolder() {
    // Test programs live in <build>/tests, tools in <build>/tools.
    std::string folder = testProgramFolder();
    return folder.substr(0, folder.find_last_of("\\/")) + "\\tools";
}

ToolProcess::ToolProcess(const std::string& tool, const std::string& imageName,
                         const std::string& arguments) {
    std::string temp;
    hnTempFolder(temp);
    std::string folder = temp + "orvanto-tools";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    copyPath_ = folder + "\\" + imageName;
    ::CopyFileA((toolsFolder() + "\\" + tool + ".exe").c_str(), copyPath_.c_str(), FALSE);
    std::string commandLine = "\"" + copyPath_ + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!::CreateProcessA(copyPath_.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info_))
        info_ = {};
}

ToolProcess::~ToolProcess() {
    stop();
    ::DeleteFileA(copyPath_.c_str());
}

bool ToolProcess::running() const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void ToolProcess::stop() {
    if (!info_.hProcess)
        return;
    ::TerminateProcess(info_.hProcess, 0);
    ::WaitForSingleObject(info_.hProcess, 5000);
    ::CloseHandle(info_.hProcess);
    ::CloseHandle(info_.hThread);
    info_ = {};
}

std::string installerProgramPath() {
    std::string folder = testProgramFolder();
    return folder.substr(0, folder.find_last_of("\\/")) +
           "\\OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe";
}

int runMsiexec(const std::string& arguments) {
    // Windows Installer runs one installation at a time: one that a previous
    // test program left winding down is waited out the way the program waits.
    char system[MAX_PATH] = {};
    UINT length = ::GetSystemDirectoryA(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return -1;
    std::string program = std::string(system) + "\\msiexec.exe";
    int code = runWindowsInstaller(program, {program, arguments});
    // A failing case that checks the code shows its arguments; one that does
    // not (a clean-up) leaves its trace here.
    if (code != 0)
        std::fprintf(stderr, "msiexec %s ended with %d\n", arguments.c_str(), code);
    return code;
}

LoggingConsole::LoggingConsole(unsigned long sleepMs) {
    std::string folder;
    systemX86Folder(folder);
    console_ = folder + "\\cmd.exe";
    saved_ = console_ + ".orvanto-saved";
    placed_ = console_ + ".orvanto-placed"; // there was none to save
    restore();
    if (fileExists(console_))
        ::MoveFileExA(console_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING);
    else
        writeTextFile(placed_, "");
    ::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(), console_.c_str(), FALSE);
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", log_.file("console.txt").c_str());
    ::SetEnvironmentVariableA("ORVANTO_RECORD_SLEEP_MS", sleepMs ? std::to_string(sleepMs).c_str() : nullptr);
}

LoggingConsole::~LoggingConsole() {
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
    ::SetEnvironmentVariableA("ORVANTO_RECORD_SLEEP_MS", nullptr);
    restore();
}

void LoggingConsole::restore() {
    if (fileExists(saved_)) {
        ::MoveFileExA(saved_.c_str(), console_.c_str(), MOVEFILE_REPLACE_EXISTING);
    } else if (fileExists(placed_)) {
        deleteFileForced(console_);
        deleteFileForced(placed_);
    }
}

std::string toolTipText(HWND toolTip, HWND owner, HWND control) {
    if (!toolTip || !control)
        return std::string();
    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    if (!::SendMessageA(toolTip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)))
        return std::string();
    std::vector<wchar_t> wide(1024, L'\0');
    info.lpszText = wide.data();
    ::SendMessageA(toolTip, TTM_GETTEXTW, wide.size(), reinterpret_cast<LPARAM>(&info));
    char text[4096] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof(text) - 1, nullptr, nullptr);
    return text;
}
