// Stand-in of a vendor's uninstaller that must not lock its own folder: it
// reads "uninstall.txt" beside itself, starts a copy of itself from the temp
// folder and ends at once; the copy shows a window while it removes the
// products with msiexec and then ends, as the installer's removal methods
// expect (they follow the copy by its window title or its image name).
//
// uninstall.txt, one setting a line:
//   title <window title>   the copy's window (none: no window)
//   child <image name>     the copy's file name (default "uninstall-copy.exe"); "none":
//                          no copy, the products are removed before it ends
//   product <code>         a product to remove; one line each
#include <fstream>
#include <string>
#include <vector>
#include <windows.h>

#include "handover.h"

namespace {

struct Settings {
    std::string title;
    std::string child = "uninstall-copy.exe";
    std::vector<std::string> products;
};

bool readSettings(const std::string& folder, Settings& settings) {
    std::ifstream file(folder + "uninstall.txt");
    if (!file)
        return false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t blank = line.find(' ');
        if (blank == std::string::npos)
            continue;
        std::string key = line.substr(0, blank), value = line.substr(blank + 1);
        if (key == "title")
            settings.title = value;
        else if (key == "child")
            settings.child = value;
        else if (key == "product")
            settings.products.push_back(value);
    }
    return true;
}

DWORD run(std::string commandLine, const char* program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &info))
        return 1;
    ::WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

void pumpFor(DWORD ms) {
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(20);
    }
}

int removeProducts(const Settings& settings) {
    HWND window = nullptr;
    if (!settings.title.empty())
        window = ::CreateWindowExA(0, "STATIC", settings.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                   100, 360, 120, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    pumpFor(500);
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    std::string msiexec = std::string(system) + "\\msiexec.exe";
    for (const std::string& product : settings.products)
        run("\"" + msiexec + "\" /x " + product + " /qn", msiexec.c_str());
    pumpFor(300);
    if (window)
        ::DestroyWindow(window);
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string ownPath = self;
    std::string commandLine = ::GetCommandLineA();
    std::size_t marker = commandLine.find("/child ");
    if (marker != std::string::npos) {
        Settings settings;
        std::string folder = commandLine.substr(marker + 7);
        if (!folder.empty() && folder.front() == '"')
            folder = folder.substr(1, folder.find('"', 1) - 1);
        if (!readSettings(folder, settings))
            return 2;
        int result = removeProducts(settings);
        ::MoveFileExA(ownPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return result;
    }
    std::string folder = ownPath.substr(0, ownPath.find_last_of("\\/") + 1);
    Settings settings;
    if (!readSettings(folder, settings))
        return 2;
    if (settings.child == "none")
        return removeProducts(settings);
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    return startCopyOfSelf(ownPath, std::string(temp) + settings.child, "/child \"" + folder + "\"");
}
