// The reference of the start-up bench: a trivial Windows program that shows
// one window with a few controls, started and timed the same way.
#include <windows.h>

namespace {
LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "StartupTrivial";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowA("StartupTrivial", "Trivial program", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
    const char* labels[] = {"Welcome", "A trivial program", "Next", "Cancel", "Help"};
    for (int i = 0; i < 5; ++i)
        ::CreateWindowA(i < 2 ? "STATIC" : "BUTTON", labels[i], WS_CHILD | WS_VISIBLE, 20 + 110 * i, 20, 100,
                        24, window, nullptr, instance, nullptr);
    ::ShowWindow(window, show == SW_HIDE ? SW_SHOWNORMAL : show);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}
