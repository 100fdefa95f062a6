#include "main/PassiveProgress.h"

#include <commctrl.h>

#include "app/AppBase.h"

namespace {
const char* const kWindowClass = "OrvantoPassiveProgress";
constexpr int kWidth = 420, kHeight = 140;
constexpr int kRange = 1000;
} // namespace

CPassiveProgress::CPassiveProgress() = default;

CPassiveProgress::~CPassiveProgress() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

bool CPassiveProgress::create(const char* caption) {
    HINSTANCE instance =
        hnAppBase::current() ? hnAppBase::current()->instance() : ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassA(&windowClass); // a second run in the process finds it registered
    hwnd_ =
        ::CreateWindowExA(WS_EX_DLGMODALFRAME, kWindowClass, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                          CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, instance, this);
    if (!hwnd_)
        return false;
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    label_ = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS,
                               12, 12, kWidth - 36, 18, hwnd_, nullptr, instance, nullptr);
    bar_ = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 12, 36, kWidth - 36, 18, hwnd_,
                             nullptr, instance, nullptr);
    HWND cancel = ::CreateWindowExA(
        0, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kWidth - 112, 64, 88, 26,
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), instance, nullptr);
    for (HWND control : {label_, cancel})
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SendMessageA(bar_, PBM_SETRANGE32, 0, kRange);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd_);
    return true;
}

void CPassiveProgress::show(const std::string& component, int done, int total) {
    component_ = component;
    if (!hwnd_)
        return;
    ::SetWindowTextA(label_, component.c_str());
    int position =
        total > 0 ? static_cast<int>(static_cast<long long>(done < total ? done : total) * kRange / total)
                  : 0;
    ::SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    ::UpdateWindow(hwnd_);
}

LRESULT CALLBACK CPassiveProgress::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CPassiveProgress*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && self) {
            self->cancelled_ = true;
            ::SetWindowTextA(self->label_, "Cancelling after the current step...");
            return 0;
        }
        break;
    case WM_CLOSE: // the caption's close box is Cancel too
        if (self)
            self->cancelled_ = true;
        return 0;
    case WM_DESTROY:
        if (self)
            self->hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}
