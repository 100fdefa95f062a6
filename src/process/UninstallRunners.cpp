#include "process/UninstallRunners.h"

#include <vector>

#include "app/DebugOut.h"
#include "app/ScopedHandle.h"
#include "app/StopBlock.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "process/ProcessLaunch.h"

namespace {

constexpr DWORD kUninstallStringBytes = 4096;
const char* const kUninstallRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Confirms the uninstaller's question, then closes its last window; ends by
// itself after at most 30 s.
DWORD WINAPI confirmationClicker(LPVOID) {
    if (HWND confirm = waitForWindow("Please confirm", {10, 1000}))
        ::SendMessageA(confirm, WM_COMMAND, 6, 0);
    if (HWND finished = waitForWindow("Uninstall Finished!", {10, 2000}))
        ::SendMessageA(finished, WM_CLOSE, 0, 0);
    return 0;
}

} // namespace

bool readUninstallString(const std::string& subKeyPath, std::string& value, bool* keyFound) {
    if (keyFound)
        *keyFound = false;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        hnScopedKey key;
        if (hnRegOpenKey(root, subKeyPath.c_str(), KEY_READ, key.put()) != ERROR_SUCCESS)
            continue;
        if (keyFound)
            *keyFound = true;
        std::vector<char> buffer(kUninstallStringBytes + 1, '\0');
        DWORD size = kUninstallStringBytes;
        DWORD type = 0;
        if (::RegQueryValueExA(key.get(), "UninstallString", nullptr, &type,
                               reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            value.assign(buffer.data());
            return true;
        }
    }
    return false;
}

void splitUninstallString(const std::string& text, std::string& program, std::string& arguments) {
    program.clear();
    arguments.clear();
    if (!text.empty() && text[0] == '"') {
        std::size_t close = text.find('"', 1);
        if (close == std::string::npos) {
            program = text.substr(1);
            return;
        }
        program = text.substr(1, close - 1);
        if (close + 2 <= text.size())
            arguments = text.substr(close + 2);
        return;
    }
    std::size_t blank = text.find(' ');
    program = text.substr(0, blank);
    if (blank != std::string::npos)
        arguments = text.substr(blank + 1);
}

bool runInstallShieldUninstall(const std::string& productKey, const hnStopBlock* stop) {
    std::string value;
    if (!readUninstallString(std::string(kUninstallRoot) + "InstallShield_" + productKey, value))
        return false;
    std::string program, arguments;
    splitUninstallString(value, program, arguments);
    // Its setup program reads its options from the command line alone.
    runProgram(hnRunMode::Wait, program, {arguments.empty() ? program : arguments}, stop);
    return true;
}

bool runUninstallStringWithAutoConfirm(const std::string& subKeyPath, const hnStopBlock* stop) {
    std::string value;
    bool keyFound = false;
    if (!readUninstallString(subKeyPath, value, &keyFound))
        return !keyFound;
    std::string program, arguments;
    splitUninstallString(value, program, arguments);
    HANDLE clicker = ::CreateThread(nullptr, 0, confirmationClicker, nullptr, 0, nullptr);
    if (clicker)
        ::CloseHandle(clicker);
    if (arguments.empty())
        runProgram(hnRunMode::Wait, program, {program}, stop);
    else
        runProgram(hnRunMode::Wait, program, {program, arguments}, stop);
    return true;
}

bool runUninstallStringAndWaitWindow(const std::string& keyName, const char* windowTitle, hnWindowPoll appear,
                                     hnWindowPoll gone, const hnStopBlock* stop) {
    std::string program;
    if (!readUninstallString(kUninstallRoot + keyName, program))
        return false;
    if (!program.empty() && program.front() == '"')
        program.erase(0, 1);
    if (!program.empty() && program.back() == '"')
        program.pop_back();
    runProgram(hnRunMode::Wait, program, {program}, stop);
    if (windowTitle && waitForWindow(windowTitle, appear, stop))
        waitForWindowGone(windowTitle, gone, stop);
    return true;
}

HWND waitForWindow(const char* title, hnWindowPoll poll, const hnStopBlock* stop) {
    HWND window = ::FindWindowA(nullptr, title);
    for (int i = 0; !window && i < poll.polls; ++i) {
        if (!hnPause(stop, poll.intervalMs))
            return nullptr;
        window = ::FindWindowA(nullptr, title);
    }
    return window;
}

bool waitForWindowGone(const char* title, hnWindowPoll poll, const hnStopBlock* stop) {
    for (int i = 0; i < poll.polls; ++i) {
        if (!::FindWindowA(nullptr, title))
            return true;
        if (!hnPause(stop, poll.intervalMs))
            return false;
    }
    return !::FindWindowA(nullptr, title);
}

int closeOrvantoOpcServerWindow(const hnOpcWindowTimings& timings, const hnStopBlock* stop) {
    const char* const title = "Orvanto OPCServer [ Halvenor.OPC.Orvanto.DA.1 ]";
    HWND window = waitForWindow(title, timings.find, stop);
    if (!window || !hnPause(stop, timings.settleMs))
        return -1;
    ::SendMessageA(window, WM_CLOSE, 0, 0);
    waitForWindowGone(title, timings.gone, stop);
    return 1;
}
