// Stand-in for vendor setups and uninstallers. It follows the script in the
// file "<its own path>.txt", one command per line, environment variables
// expanded, fields separated by '|':
//   setvalue HKLM|<key>|<name>|<value>   string value in the 32-bit view
//   deletekey HKLM|<key>
//   writefile <path>|<content>
//   deletefile <path>
//   args <path>                          appends the raw command line
//   window <title>|<ms>                  shows a window until closed (0: no limit)
//   confirm                              "Please confirm" window until command 6
//   launch <name>                        starts "<its own folder>\\<name>", no wait
//   spawn <name>                         copies itself and "<name>.txt" into the
//                                        temp folder as <name> and starts it
//   sleep <ms>
//   exit <code>                          ends here with that exit code
// Lines are run in order; a failed "confirm" stops the script.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string expand(const std::string& text) {
    char buffer[4096] = {};
    DWORD length = ::ExpandEnvironmentStringsA(text.c_str(), buffer, sizeof(buffer));
    return length > 0 && length <= sizeof(buffer) ? std::string(buffer) : text;
}

std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = text.find('|', start);
        out.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            return out;
        start = bar + 1;
    }
}

HKEY rootOf(const std::string& name) {
    return name == "HKCU" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

bool confirmed = false;

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == 6) {
        confirmed = true;
        ::DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_CLOSE) {
        ::DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// Shows a top-level window until it is destroyed or `ms` passed (0: no limit).
void showWindow(const std::string& title, DWORD ms) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "OrvantoStandInWindow";
    ::RegisterClassA(&wc);
    HWND hwnd = ::CreateWindowA(wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return;
    if (ms)
        ::SetTimer(hwnd, 1, ms, nullptr);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == hwnd) {
            ::DestroyWindow(hwnd);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void start(const std::string& target) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + target + "\"";
    if (::CreateProcessA(target.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
}

void spawn(const std::string& self, const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string target = std::string(temp) + name;
    std::string folder = self.substr(0, self.find_last_of('\\') + 1);
    ::CopyFileA(self.c_str(), target.c_str(), FALSE);
    ::CopyFileA((folder + name + ".txt").c_str(), (target + ".txt").c_str(), FALSE);
    start(target);
}

} // namespace

int main() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::ifstream script(std::string(self) + ".txt");
    std::string line;
    while (std::getline(script, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t blank = line.find(' ');
        std::string command = line.substr(0, blank);
        std::vector<std::string> f = fields(blank == std::string::npos ? "" : expand(line.substr(blank + 1)));
        if (command == "setvalue" && f.size() == 4) {
            HKEY key = nullptr;
            if (::RegCreateKeyExA(rootOf(f[0]), f[1].c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                  nullptr, &key, nullptr) == ERROR_SUCCESS) {
                ::RegSetValueExA(key, f[2].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(f[3].c_str()),
                                 static_cast<DWORD>(f[3].size() + 1));
                ::RegCloseKey(key);
            }
        } else if (command == "deletekey" && f.size() == 2) {
            ::RegDeleteKeyExA(rootOf(f[0]), f[1].c_str(), KEY_WOW64_32KEY, 0);
        } else if (command == "writefile" && f.size() == 2) {
            std::ofstream(f[0], std::ios::binary) << f[1];
        } else if (command == "deletefile") {
            ::DeleteFileA(f[0].c_str());
        } else if (command == "args") {
            if (FILE* file = std::fopen(f[0].c_str(), "ab")) {
                std::fprintf(file, "%s\n", ::GetCommandLineA());
                std::fclose(file);
            }
        } else if (command == "window" && f.size() == 2) {
            showWindow(f[0], static_cast<DWORD>(std::strtoul(f[1].c_str(), nullptr, 10)));
        } else if (command == "confirm") {
            confirmed = false;
            showWindow("Please confirm", 10000);
            if (!confirmed)
                return 1;
        } else if (command == "launch") {
            std::string me(self);
            start(me.substr(0, me.find_last_of('\\') + 1) + f[0]);
        } else if (command == "spawn") {
            spawn(self, f[0]);
        } else if (command == "exit") {
            return std::atoi(f[0].c_str());
        } else if (command == "sleep") {
            ::Sleep(static_cast<DWORD>(std::strtoul(f[0].c_str(), nullptr, 10)));
        }
    }
    return 0;
}
