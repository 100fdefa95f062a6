#include "controls/ToolTip.h"

#include <windows.h>

#include <commctrl.h>

HWND hnCreateToolTip(HWND owner, HFONT font) {
    HWND toolTip =
        ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (toolTip) {
        ::SendMessageA(toolTip, TTM_ACTIVATE, TRUE, 0);
        ::SendMessageA(toolTip, TTM_SETDELAYTIME, TTDT_INITIAL, 50);
        ::SendMessageA(toolTip, TTM_SETDELAYTIME, TTDT_RESHOW, 50);
        ::SendMessageA(toolTip, TTM_SETMAXTIPWIDTH, 0, 400);
        ::SendMessageA(toolTip, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return toolTip;
}

namespace {
// The tool of `control`, which belongs to `owner`, identified by its window.
TTTOOLINFOA toolOf(HWND owner, HWND control, const char* text) {
    TTTOOLINFOA info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<char*>(text);
    return info;
}
} // namespace

void hnAddToolTip(HWND toolTip, HWND owner, HWND control, const char* text) {
    if (!toolTip || !control || !text)
        return;
    TTTOOLINFOA info = toolOf(owner, control, text);
    ::SendMessageA(toolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void hnRemoveToolTip(HWND toolTip, HWND owner, HWND control) {
    if (!toolTip || !control)
        return;
    TTTOOLINFOA info = toolOf(owner, control, nullptr);
    ::SendMessageA(toolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

std::string hnTipSentence(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

void hnSetToolTipText(HWND toolTip, HWND owner, HWND control, const std::string& text) {
    if (!toolTip || !control)
        return;
    if (text.empty())
        return hnRemoveToolTip(toolTip, owner, control);
    char kind[16] = {};
    ::GetClassNameA(control, kind, sizeof(kind));
    if (lstrcmpiA(kind, "Static") == 0) {
        LONG style = ::GetWindowLongA(control, GWL_STYLE);
        if (!(style & SS_NOTIFY)) // without it the pointer over the label reaches only its parent
            ::SetWindowLongA(control, GWL_STYLE, style | SS_NOTIFY);
    }
    const std::string sentence = hnTipSentence(text);
    TTTOOLINFOA info = toolOf(owner, control, nullptr);
    if (::SendMessageA(toolTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) {
        info.lpszText = const_cast<char*>(sentence.c_str());
        ::SendMessageA(toolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        hnAddToolTip(toolTip, owner, control, sentence.c_str());
    }
}
