#include "wizard/InstallerSheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "app/InstallerApp.h"

namespace {

// A blank page in memory until the pages of the wizard exist.
struct BlankPageTemplate {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
};

INT_PTR CALLBACK blankPageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_SETACTIVE) {
        ::PostMessageA(::GetParent(hwnd), PSM_SETWIZBUTTONS, 0, PSWIZB_FINISH);
        ::SetWindowTextA(::GetParent(hwnd), kInstallerCaption);
        return TRUE;
    }
    return FALSE;
}

int CALLBACK sheetCallback(HWND hwnd, UINT message, LPARAM lParam) {
    (void)lParam;
    if (message == PSCB_INITIALIZED) {
        ::SetWindowTextA(hwnd, kInstallerCaption);
        if (COrvantoKadrixSDKInstallerApp* app = theApp())
            app->setMainWindow(hwnd);
    }
    return 0;
}

} // namespace

kdDKadrixSDKInstallerSheet::kdDKadrixSDKInstallerSheet() = default;
kdDKadrixSDKInstallerSheet::~kdDKadrixSDKInstallerSheet() = default;

INT_PTR kdDKadrixSDKInstallerSheet::runModal() {
    static const BlankPageTemplate page = {
        {WS_CHILD | DS_CONTROL, 0, 0, 0, 0, 600, 335}, 0, 0, 0};
    PROPSHEETPAGEA pageDesc = {};
    pageDesc.dwSize = sizeof(pageDesc);
    pageDesc.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    pageDesc.pszTitle = kInstallerCaption;
    pageDesc.pResource = &page.dialog;
    pageDesc.pfnDlgProc = blankPageProc;
    HPROPSHEETPAGE pages[1] = {::CreatePropertySheetPageA(&pageDesc)};

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_WIZARD | PSH_USECALLBACK;
    header.hInstance = ::GetModuleHandleA(nullptr);
    header.pszCaption = kInstallerCaption;
    header.nPages = 1;
    header.phpage = pages;
    header.pfnCallback = sheetCallback;
    INT_PTR result = ::PropertySheetA(&header);
    if (COrvantoKadrixSDKInstallerApp* app = theApp())
        app->setMainWindow(nullptr);
    return result;
}
