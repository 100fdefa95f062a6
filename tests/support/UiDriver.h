#pragma once
// Works the installer as a user would, from another process under the same
// wine server: starts it, finds its windows by caption and class, clicks
// controls by id, chooses combo items, reads texts, answers message boxes,
// waits for texts and saves screenshots. Header-only, so that test programs
// and the screenshot tool share it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace uidriver {

// Waits `ms`, handling this thread's messages meanwhile.
inline void pause(DWORD ms) {
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        DWORD spent = ::GetTickCount() - start;
        if (spent >= ms)
            return;
        ::Sleep(ms - spent < 20 ? ms - spent : 20);
    }
}

// Waits up to `timeoutMs` for `condition`, handling messages meanwhile.
template <typename F> bool waitUntil(F condition, DWORD timeoutMs) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        pause(20);
    }
}

// The text of a window of any process.
inline std::string windowText(HWND hwnd) {
    char buffer[4096] = {};
    DWORD_PTR copied = 0;
    if (!hwnd || !::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                                        SMTO_ABORTIFHUNG, 5000, &copied))
        return "";
    return std::string(buffer, copied);
}

inline std::string className(HWND hwnd) {
    char buffer[256] = {};
    ::GetClassNameA(hwnd, buffer, sizeof(buffer));
    return buffer;
}

class Installer {
public:
    // Starts the program with its own folder as working folder.
    bool start(const std::string& exePath) {
        std::string folder = exePath.substr(0, exePath.find_last_of("\\/"));
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        std::string command = "\"" + exePath + "\"";
        return ::CreateProcessA(exePath.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                folder.c_str(), &si, &info_) != FALSE;
    }
    ~Installer() { stop(); }

    DWORD pid() const { return info_.dwProcessId; }
    bool running() const {
        return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
    }
    bool waitForExit(DWORD timeoutMs) {
        return !info_.hProcess || ::WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

    // A visible top-level window of the program whose caption begins with
    // `captionPrefix` (and whose class is `windowClass` when given).
    HWND findWindow(const std::string& captionPrefix, const char* windowClass = nullptr,
                    DWORD timeoutMs = 20000) {
        HWND found = nullptr;
        waitUntil(
            [&] {
                found = lookUp(captionPrefix, windowClass);
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }
    HWND lookUp(const std::string& captionPrefix, const char* windowClass) {
        struct Search {
            DWORD pid;
            const std::string* prefix;
            const char* cls;
            HWND hit;
        } search = {pid(), &captionPrefix, windowClass, nullptr};
        ::EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(hwnd, &owner);
                if (owner != s->pid || !::IsWindowVisible(hwnd))
                    return TRUE;
                if (s->cls && className(hwnd) != s->cls)
                    return TRUE;
                if (windowText(hwnd).compare(0, s->prefix->size(), *s->prefix) != 0)
                    return TRUE;
                s->hit = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.hit;
    }

    // Clicks a control as the mouse would (posted: a click that opens a
    // modal box must not block the driver).
    static bool click(HWND parent, int id) {
        HWND control = ::GetDlgItem(parent, id);
        return control && ::PostMessageA(control, BM_CLICK, 0, 0);
    }
    static std::string text(HWND parent, int id) { return windowText(::GetDlgItem(parent, id)); }
    static bool waitForText(HWND parent, int id, const std::string& expected, DWORD timeoutMs = 10000) {
        return waitUntil([&] { return text(parent, id) == expected; }, timeoutMs);
    }
    static bool waitForCaption(HWND window, const std::string& expected, DWORD timeoutMs = 10000) {
        return waitUntil([&] { return windowText(window) == expected; }, timeoutMs);
    }
    // Selects the item with exactly this text and tells the owner, as a user's choice does.
    static bool chooseComboItem(HWND parent, int id, const std::string& item) {
        HWND combo = ::GetDlgItem(parent, id);
        LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item.c_str()));
        if (index == CB_ERR || ::SendMessageA(combo, CB_SETCURSEL, index, 0) == CB_ERR)
            return false;
        return ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(combo));
    }

    // Waits for a message box (dialog class "#32770") with this caption,
    // returns its text through `text` and presses the button `buttonId`.
    bool answerMessageBox(const std::string& caption, int buttonId, std::string* text = nullptr,
                          DWORD timeoutMs = 10000) {
        HWND box = findWindow(caption, "#32770", timeoutMs);
        if (!box)
            return false;
        if (text)
            *text = windowText(::GetDlgItem(box, 0xFFFF));
        return click(box, buttonId);
    }

    // Saves what the screen shows of the window as a 24-bit BMP.
    static bool screenshot(HWND window, const std::string& path) {
        RECT r;
        if (!::GetWindowRect(window, &r))
            return false;
        int w = r.right - r.left, h = r.bottom - r.top;
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        ::GdiFlush();
        DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u, size = stride * static_cast<DWORD>(h);
        BITMAPFILEHEADER file = {
            0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
            sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
        bool ok = false;
        if (FILE* out = std::fopen(path.c_str(), "wb")) {
            ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                 std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                 std::fwrite(bits, 1, size, out) == size;
            std::fclose(out);
        }
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        return ok;
    }

    // Closes the program's windows politely, then ends it if it lingers.
    void stop() {
        if (!info_.hProcess)
            return;
        if (running()) {
            ::EnumWindows(
                [](HWND hwnd, LPARAM data) -> BOOL {
                    DWORD owner = 0;
                    ::GetWindowThreadProcessId(hwnd, &owner);
                    if (owner == static_cast<DWORD>(data) && ::IsWindowVisible(hwnd))
                        ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
                    return TRUE;
                },
                static_cast<LPARAM>(pid()));
            if (::WaitForSingleObject(info_.hProcess, 8000) == WAIT_TIMEOUT)
                ::TerminateProcess(info_.hProcess, 1);
        }
        ::CloseHandle(info_.hProcess);
        ::CloseHandle(info_.hThread);
        info_ = {};
    }

private:
    PROCESS_INFORMATION info_ = {};
};

} // namespace uidriver
