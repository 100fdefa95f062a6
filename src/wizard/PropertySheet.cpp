#include "wizard/PropertySheet.h"

#include <algorithm>

#include "app/AppBase.h"
#include "app/DebugOut.h"

namespace {
// The head of an extended dialog template.
#pragma pack(push, 2)
struct DLGTEMPLATEEX_STYLE {
    WORD version;
    WORD signature;
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
};
#pragma pack(pop)

const UINT_PTR kSheetSubclassId = 0x5348;

// The sheet is created hidden; whoever runs it shows it.
int CALLBACK sheetCallback(HWND, UINT message, LPARAM lParam) {
    if (message == PSCB_PRECREATE && lParam) {
        auto* words = reinterpret_cast<WORD*>(lParam);
        if (words[0] == 1 && words[1] == 0xFFFF) // extended template: the style follows the help id
            reinterpret_cast<DLGTEMPLATEEX_STYLE*>(lParam)->style &= ~WS_VISIBLE;
        else
            reinterpret_cast<DLGTEMPLATE*>(lParam)->style &= ~WS_VISIBLE;
    }
    return 0;
}
} // namespace

// ---------------------------------------------------------------- page

hnPropertyPage::hnPropertyPage(UINT templateId, const std::string& title)
    : hnDialog(templateId), title_(title) {}

HWND hnPropertyPage::sheetWindow() const {
    return hwnd() ? ::GetParent(hwnd()) : (sheet_ ? sheet_->hwnd() : nullptr);
}

void hnPropertyPage::onHelp() {
    if (sheet_)
        sheet_->onHelp();
}

HPROPSHEETPAGE hnPropertyPage::createHandle() {
    PROPSHEETPAGEA desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = PSP_USETITLE | PSP_HASHELP;
    HINSTANCE instance =
        hnAppBase::current() ? hnAppBase::current()->instance() : ::GetModuleHandleA(nullptr);
    desc.hInstance = instance;
    desc.pszTemplate = MAKEINTRESOURCEA(templateId());
    desc.pszTitle = title_.c_str();
    desc.pfnDlgProc = pageProc;
    desc.lParam = reinterpret_cast<LPARAM>(this);
    return ::CreatePropertySheetPageA(&desc);
}

bool hnPropertyPage::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (!hwnd() || header->hwndFrom != ::GetParent(hwnd()))
        return hnDialog::onNotify(id, header, result);
    switch (header->code) {
    case PSN_SETACTIVE:
        result = activate() ? 0 : -1;
        return true;
    case PSN_KILLACTIVE:
        result = onKillActive() ? FALSE : TRUE;
        return true;
    case PSN_WIZBACK:
        result = onWizardBack();
        return true;
    case PSN_WIZNEXT:
        result = onWizardNext();
        return true;
    case PSN_WIZFINISH:
        result = onWizardFinish() ? FALSE : TRUE;
        return true;
    case PSN_QUERYCANCEL:
        result = onQueryCancel() ? FALSE : TRUE;
        return true;
    case PSN_HELP:
        onHelp();
        return true;
    default:
        return hnDialog::onNotify(id, header, result);
    }
}

INT_PTR CALLBACK hnPropertyPage::pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    hnPropertyPage* self = nullptr;
    if (message == WM_INITDIALOG) {
        // The sheet hands the page its own copy of the page description.
        self = reinterpret_cast<hnPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        self->adopt(hwnd);
    }
    return route(self, hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------- sheet

hnPropertySheet::hnPropertySheet(const std::string& caption) : caption_(caption) {}

hnPropertySheet::~hnPropertySheet() {
    destroy();
}

void hnPropertySheet::addPage(hnPropertyPage* page) {
    if (!page)
        return;
    page->sheet_ = this;
    pages_.push_back(page);
    if (hwnd_)
        PropSheet_AddPage(hwnd_, page->createHandle());
}

bool hnPropertySheet::removePage(int index) {
    if (index < 0 || index >= pageCount())
        return false;
    if (hwnd_)
        PropSheet_RemovePage(hwnd_, index, nullptr); // destroys the page's window, not the object
    pages_.erase(pages_.begin() + index);
    return true;
}

hnPropertyPage* hnPropertySheet::page(int index) const {
    return index >= 0 && index < pageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

int hnPropertySheet::pageIndex(const hnPropertyPage* page) const {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

int hnPropertySheet::activeIndex() const {
    if (!hwnd_)
        return -1;
    HWND current = PropSheet_GetCurrentPageHwnd(hwnd_);
    for (int i = 0; i < pageCount(); ++i)
        if (current && pages_[static_cast<std::size_t>(i)]->hwnd() == current)
            return i;
    return -1;
}

hnPropertyPage* hnPropertySheet::activePage() const {
    return page(activeIndex());
}

bool hnPropertySheet::setActivePage(int index) {
    if (!hwnd_ || index < 0 || index >= pageCount())
        return false;
    return PropSheet_SetCurSel(hwnd_, nullptr, index) != FALSE;
}

bool hnPropertySheet::isOpen() const {
    return hwnd_ && PropSheet_GetCurrentPageHwnd(hwnd_) != nullptr;
}

bool hnPropertySheet::create() {
    if (hwnd_ || pages_.empty())
        return false;
    std::vector<HPROPSHEETPAGE> handles;
    for (hnPropertyPage* page : pages_)
        handles.push_back(page->createHandle());
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS | PSH_HASHELP | PSH_USECALLBACK | (wizard_ ? PSH_WIZARD : 0);
    header.pfnCallback = sheetCallback;
    header.hInstance = hnAppBase::current() ? hnAppBase::current()->instance() : ::GetModuleHandleA(nullptr);
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.phpage = handles.data();
    INT_PTR created = ::PropertySheetA(&header);
    if (created <= 0)
        return false;
    hwnd_ = reinterpret_cast<HWND>(created);
    ::SetWindowSubclass(hwnd_, sheetProc, kSheetSubclassId, reinterpret_cast<DWORD_PTR>(this));
    try {
        onInitSheet();
    } catch (...) {
        hnDebugOut("hnPropertySheet::create - unexpected exception\n");
    }
    return true;
}

INT_PTR hnPropertySheet::runModal() {
    if (!create())
        return -1;
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
    MSG msg;
    bool quit = false;
    while (!quit && isOpen() && stepAfterFirstPaint()) {
        // Input stays queued: what the user does acts on the finished window.
        while (!quit && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                quit = true;
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    while (isOpen()) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop outside
            break;
        }
        hnPropertyPage* current = activePage();
        if (current && current->preTranslateMessage(&msg))
            continue;
        if (PropSheet_IsDialogMessage(hwnd_, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    destroy();
    return IDCANCEL;
}

void hnPropertySheet::destroy() {
    if (HWND window = hwnd_) {
        ::DestroyWindow(window); // the sheet's pages go with it
        hwnd_ = nullptr;
    }
}

bool hnPropertySheet::onCommand(WORD id, WORD code, HWND control) {
    (void)id;
    (void)code;
    (void)control;
    return false;
}

bool hnPropertySheet::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    (void)message;
    (void)wParam;
    (void)lParam;
    (void)result;
    return false;
}

LRESULT hnPropertySheet::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK hnPropertySheet::sheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR selfData) {
    auto* self = reinterpret_cast<hnPropertySheet*>(selfData);
    LRESULT result = 0;
    try {
        switch (message) {
        case WM_COMMAND:
            if (self->onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
                return 0;
            break;
        case WM_HELP:
            self->onHelp();
            return TRUE;
        case WM_DESTROY:
            self->onSheetDestroy();
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(hwnd, sheetProc, kSheetSubclassId);
            if (self->hwnd_ == hwnd)
                self->hwnd_ = nullptr;
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        default:
            if (self->onMessage(message, wParam, lParam, result))
                return result;
            break;
        }
    } catch (...) {
        hnDebugOut("hnPropertySheet::sheetProc - unexpected exception\n");
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}
