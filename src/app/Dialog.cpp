#include "app/Dialog.h"

#include "app/AppBase.h"
#include "app/ControlText.h"
#include "app/DebugOut.h"
#include "app/SubclassedControl.h"

hnDialog::hnDialog(UINT templateId) : templateId_(templateId) {}

hnDialog::~hnDialog() {
    if (hwnd_ && !modal_)
        destroy();
}

INT_PTR hnDialog::doModal(HWND parent) {
    modal_ = true;
    HINSTANCE instance =
        hnAppBase::current() ? hnAppBase::current()->instance() : ::GetModuleHandleA(nullptr);
    INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId_), parent, dialogProc,
                                       reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    modal_ = false;
    return result;
}

bool hnDialog::create(HWND parent) {
    modal_ = false;
    HINSTANCE instance =
        hnAppBase::current() ? hnAppBase::current()->instance() : ::GetModuleHandleA(nullptr);
    HWND hwnd = ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId_), parent, dialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void hnDialog::showForWait() {
    if (!hwnd_)
        return;
    if (!::IsWindowVisible(hwnd_))
        ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
}

void hnDialog::destroy() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        ::DestroyWindow(hwnd);
        hwnd_ = nullptr;
    }
}

void hnDialog::endDialog(INT_PTR result) {
    if (!hwnd_)
        return;
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        destroy();
}

void hnDialog::bindText(int controlId, std::string* text) {
    bindings_.emplace_back(controlId, text);
}

void hnDialog::transferToControls() {
    for (auto& binding : bindings_)
        hnSetTextIfChanged(::GetDlgItem(hwnd_, binding.first), *binding.second);
    afterTransferToControls();
}

int hnDialog::boundControl(const std::string* text) const {
    for (const auto& binding : bindings_)
        if (binding.second == text)
            return binding.first;
    return 0;
}

void hnDialog::transferFromControls() {
    for (auto& binding : bindings_)
        *binding.second = hnWindowText(item(binding.first));
}

void hnDialog::centerOnOwner() {
    RECT self, area;
    ::GetWindowRect(hwnd_, &self);
    HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    if (owner && ::IsWindowVisible(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    int width = self.right - self.left, height = self.bottom - self.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool hnDialog::onCommand(WORD id, WORD code, HWND control) {
    (void)control;
    if (code != BN_CLICKED && code != 0)
        return false;
    if (id == IDOK) {
        onOK();
        return true;
    }
    if (id == IDCANCEL) {
        onCancel();
        return true;
    }
    return false;
}

bool hnDialog::onNotify(int id, NMHDR* header, LRESULT& result) {
    (void)id;
    (void)header;
    (void)result;
    return false;
}

bool hnDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)message;
    (void)wParam;
    (void)lParam;
    (void)result;
    return false;
}

INT_PTR hnDialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    bool handled = false;
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        // Whatever shows a dialog of its own (a modal loop, a wait box) is
        // refused while the program runs without windows.
        if (hnAppBase::current() && hnAppBase::current()->windowsHidden() && lParam &&
            !(::GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD))
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
        handled = onMessage(message, wParam, lParam, result);
        break;
    case WM_INITDIALOG:
        transferToControls();
        return onInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        handled = onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        break;
    case WM_NOTIFY:
        handled = onNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), result);
        break;
    case WM_TIMER:
        onTimer(wParam);
        handled = true;
        break;
    case WM_DESTROY:
        onDestroy();
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        // Colour requests answer with the brush itself, not DWLP_MSGRESULT.
        if (hnReflectToControl(message, wParam, lParam, result) || onMessage(message, wParam, lParam, result))
            return static_cast<INT_PTR>(result);
        return FALSE;
    case WM_DRAWITEM:
        handled =
            hnReflectToControl(message, wParam, lParam, result) || onMessage(message, wParam, lParam, result);
        break;
    default:
        handled = onMessage(message, wParam, lParam, result);
        break;
    }
    if (!handled)
        return FALSE;
    // The one place where a handled message leaves its answer.
    ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK hnDialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    hnDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<hnDialog*>(lParam);
        self->adopt(hwnd);
    }
    return route(self, hwnd, message, wParam, lParam);
}

void hnDialog::adopt(HWND hwnd) {
    hwnd_ = hwnd;
    ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
}

INT_PTR hnDialog::route(hnDialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!self)
        self = reinterpret_cast<hnDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR answer = FALSE;
    try {
        answer = self->dispatch(message, wParam, lParam);
    } catch (...) {
        hnDebugOut("hnDialog::dialogProc - unexpected exception\n");
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        if (self->hwnd_ == hwnd)
            self->hwnd_ = nullptr;
    }
    return answer;
}

std::string hnWindowText(HWND hwnd) {
    int length = ::GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    int got = ::GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

bool hnComboSelection(HWND combo, std::string& text) {
    text.clear();
    LRESULT index = combo ? ::SendMessageA(combo, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (index == CB_ERR)
        return false;
    LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return false;
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&buffer[0]));
    text = buffer.c_str();
    return true;
}

void hnComboSelectExact(HWND combo, const std::string& text) {
    LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(combo, CB_SETCURSEL,
                   index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}
