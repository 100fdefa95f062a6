// Starts a program and watches its top-level windows until it ends:
//   windowwatch <program> [arguments...]
//   windowwatch @<file>        the whole command line is the file's first line;
//                              a second line "cancel at: <text>" makes the
//                              watcher press the Cancel button of the
//                              program's window once one of its controls
//                              shows <text> (as an operator's click does)
// Every visible top-level window of the process is reported once on the
// standard output as "visible window: <class> <title>", the press as
// "pressed Cancel at: <text>", and the program's exit code as "exit code: N"
// at the end; the exit code is the program's. The fleet test runs the quiet
// and passive modes through it.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <windows.h>

namespace {

struct Watch {
    DWORD pid;
    std::set<HWND> reported;
    std::string cancelAt; // empty: nothing to press
    bool pressed = false;
};

// The child controls of one window: the one whose text holds the wanted
// text, and the Cancel button.
struct Controls {
    const std::string* wanted;
    bool shown = false;
    HWND cancel = nullptr;
};

BOOL CALLBACK visitControl(HWND control, LPARAM parameter) {
    Controls& controls = *reinterpret_cast<Controls*>(parameter);
    char text[512] = {};
    ::GetWindowTextA(control, text, sizeof(text));
    if (std::strstr(text, controls.wanted->c_str()))
        controls.shown = true;
    char windowClass[64] = {};
    ::GetClassNameA(control, windowClass, sizeof(windowClass));
    if (!lstrcmpiA(windowClass, "Button") && !lstrcmpA(text, "Cancel"))
        controls.cancel = control;
    return TRUE;
}

// Presses Cancel in `window` once it shows the wanted text.
void pressCancelWhenShown(Watch& watch, HWND window) {
    if (watch.cancelAt.empty() || watch.pressed)
        return;
    Controls controls = {&watch.cancelAt};
    ::EnumChildWindows(window, visitControl, reinterpret_cast<LPARAM>(&controls));
    if (!controls.shown || !controls.cancel)
        return;
    // Posted, not sent: the watcher never waits on the program's messages.
    ::PostMessageA(controls.cancel, BM_CLICK, 0, 0);
    watch.pressed = true;
    std::printf("pressed Cancel at: %s\n", watch.cancelAt.c_str());
    std::fflush(stdout);
}

BOOL CALLBACK visitWindow(HWND hwnd, LPARAM parameter) {
    Watch& watch = *reinterpret_cast<Watch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != watch.pid || !::IsWindowVisible(hwnd))
        return TRUE;
    pressCancelWhenShown(watch, hwnd);
    if (watch.reported.count(hwnd))
        return TRUE;
    watch.reported.insert(hwnd);
    char title[256] = {}, windowClass[128] = {};
    ::GetWindowTextA(hwnd, title, sizeof(title));
    ::GetClassNameA(hwnd, windowClass, sizeof(windowClass));
    std::printf("visible window: %s %s\n", windowClass, title);
    std::fflush(stdout);
    return TRUE;
}

} // namespace

int main() {
    // The command line after this program's own name, passed on as it is.
    const char* line = ::GetCommandLineA();
    bool quoted = *line == '"';
    const char* rest = line + (quoted ? 1 : 0);
    while (*rest && (quoted ? *rest != '"' : *rest != ' '))
        ++rest;
    if (*rest == '"')
        ++rest;
    while (*rest == ' ')
        ++rest;
    if (!*rest) {
        std::fprintf(stderr, "usage: windowwatch <program> [arguments...]\n");
        return 2;
    }
    std::string command(rest), cancelAt;
    if (command.size() > 2 && command.front() == '"' && command[1] == '@' && command.back() == '"')
        command = command.substr(1, command.size() - 2); // the caller quoted a file name with blanks
    if (command[0] == '@') {
        std::FILE* file = std::fopen(command.c_str() + 1, "rb");
        char buffer[8192] = {};
        std::size_t read = file ? std::fread(buffer, 1, sizeof(buffer) - 1, file) : 0;
        if (file)
            std::fclose(file);
        std::string text(buffer, read);
        std::size_t end = text.find_first_of("\r\n");
        command = text.substr(0, end);
        const std::string cancelKey = "cancel at: ";
        std::size_t at = text.find(cancelKey, end == std::string::npos ? text.size() : end);
        if (at != std::string::npos) {
            cancelAt = text.substr(at + cancelKey.size());
            cancelAt = cancelAt.substr(0, cancelAt.find_first_of("\r\n"));
        }
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        std::fprintf(stderr, "cannot start %s (%lu)\n", command.c_str(), ::GetLastError());
        return 2;
    }
    Watch watch;
    watch.pid = info.dwProcessId;
    watch.cancelAt = cancelAt;
    while (::WaitForSingleObject(info.hProcess, 20) == WAIT_TIMEOUT)
        ::EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&watch));
    DWORD code = 0;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    // The whole code: a Linux caller sees only its low byte.
    std::printf("exit code: %lu\n", code);
    return static_cast<int>(code);
}
