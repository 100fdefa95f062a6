// Start-up of a Windows program as a user meets it:
//   startup_bench RUNS CAPTION_PREFIX MIN_CONTROLS PROGRAM [ARGUMENTS]
// starts PROGRAM RUNS times and times each start from process creation until
// a visible top-level window of the process whose caption begins with
// CAPTION_PREFIX, holding at least MIN_CONTROLS visible controls, has painted
// itself and every control (no update region left anywhere); then ends that
// process. Prints "seconds <s>" per run and "median_s <s>".
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

#include "BenchMachine.h"

namespace {

struct Search {
    DWORD process;
    std::string prefix;
    int minControls;
    HWND found;
};

BOOL CALLBACK countVisible(HWND child, LPARAM count) {
    if (::IsWindowVisible(child))
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK findWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !::IsWindowVisible(window))
        return TRUE;
    char caption[512] = {};
    ::GetWindowTextA(window, caption, sizeof(caption));
    if (std::string(caption).compare(0, search->prefix.size(), search->prefix) != 0)
        return TRUE;
    int controls = 0;
    ::EnumChildWindows(window, countVisible, reinterpret_cast<LPARAM>(&controls));
    if (controls < search->minControls)
        return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK findUnpainted(HWND child, LPARAM unpainted) {
    if (::IsWindowVisible(child) && ::GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(unpainted) = true;
        return FALSE;
    }
    return TRUE;
}

// Painted: the window's thread answers (it has handled what was queued
// before) and no part of the window or its controls waits for painting.
bool painted(HWND window) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer))
        return false;
    if (::GetUpdateRect(window, nullptr, FALSE))
        return false;
    bool unpainted = false;
    ::EnumChildWindows(window, findUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

double oneStart(const std::string& commandLine, const Search& wanted) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    double start = bench::now();
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return -1;
    double seconds = -1;
    Search search = wanted;
    search.process = process.dwProcessId;
    while (bench::now() - start < 60) {
        search.found = nullptr;
        ::EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && painted(search.found)) {
            seconds = bench::now() - start;
            break;
        }
        if (::WaitForSingleObject(process.hProcess, 2) == WAIT_OBJECT_0)
            break;
    }
    // The program has been measured; it is ended as a whole process.
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: startup_bench RUNS CAPTION_PREFIX MIN_CONTROLS PROGRAM [ARGUMENTS]\n");
        return 2;
    }
    int runs = std::atoi(argv[1]);
    Search wanted{0, argv[2], std::atoi(argv[3]), nullptr};
    std::string commandLine = "\"" + std::string(argv[4]) + "\"";
    for (int i = 5; i < argc; ++i)
        commandLine += " \"" + std::string(argv[i]) + "\"";
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        double seconds = oneStart(commandLine, wanted);
        std::printf("seconds %.3f\n", seconds);
        if (seconds < 0)
            return 1;
        times.push_back(seconds);
    }
    std::printf("median_s %.3f\n", bench::median(times));
    return 0;
}
