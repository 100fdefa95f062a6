// Starts a program and watches its top-level windows until it ends:
//   windowwatch <program> [arguments...]
//   windowwatch @<file>        the whole command line is the file's first line
// Every visible top-level window of the process is reported once on the
// standard output as "visible window: <class> <title>", and the program's
// exit code as "exit code: N" at the end; the exit code is the program's. The
// fleet test runs the quiet mode through it.
#include <cstdio>
#include <set>
#include <string>
#include <windows.h>

namespace {

struct Watch {
    DWORD pid;
    std::set<HWND> reported;
};

BOOL CALLBACK visitWindow(HWND hwnd, LPARAM parameter) {
    Watch& watch = *reinterpret_cast<Watch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != watch.pid || !::IsWindowVisible(hwnd) || watch.reported.count(hwnd))
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
    std::string command(rest);
    if (command.size() > 2 && command.front() == '"' && command[1] == '@' && command.back() == '"')
        command = command.substr(1, command.size() - 2); // the caller quoted a file name with blanks
    if (command[0] == '@') {
        std::FILE* file = std::fopen(command.c_str() + 1, "rb");
        char buffer[8192] = {};
        std::size_t read = file ? std::fread(buffer, 1, sizeof(buffer) - 1, file) : 0;
        if (file)
            std::fclose(file);
        command.assign(buffer, read);
        command = command.substr(0, command.find_first_of("\r\n"));
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info)) {
        std::fprintf(stderr, "cannot start %s (%lu)\n", command.c_str(), ::GetLastError());
        return 2;
    }
    Watch watch = {info.dwProcessId, {}};
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
