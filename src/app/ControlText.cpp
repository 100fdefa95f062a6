#include "app/ControlText.h"

bool hnSetTextIfChanged(HWND control, const std::string& text) {
    if (!control)
        return false;
    int length = ::GetWindowTextLengthA(control);
    if (length == static_cast<int>(text.size())) {
        std::string shown(static_cast<std::size_t>(length) + 1, '\0');
        shown.resize(static_cast<std::size_t>(::GetWindowTextA(control, &shown[0], length + 1)));
        if (shown == text)
            return false;
    }
    ::SetWindowTextA(control, text.c_str());
    return true;
}
