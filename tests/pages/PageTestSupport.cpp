#include "pages/PageTestSupport.h"

#include <gtest/gtest.h>

#include "app/Dialog.h"
#include "support/UiDriver.h"
#include "python/PythonSelection.h"
#include "wizard/PropertyPageBase.h"
#include "pages_ids.h"

namespace {
const int kNextButton = 0x3024;
} // namespace

class PageHost::Blank : public kdDPropertyPageBase {
public:
    Blank() : kdDPropertyPageBase(IDD_HALVENOR_UTILITIES, "Test - Second", "Second") { uiDlgName = "Second"; }
    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override { return 1; }
    int initInstallationElements() override { return 1; }
};

PageHost::PageHost(hnPropertyPage& page) : sheet_("Test sheet"), blank_(new Blank()) {
    sheet_.setWizardMode();
    sheet_.addPage(&page);
    sheet_.addPage(blank_);
    sheet_.create();
    pumpMessages();
}

PageHost::~PageHost() {
    sheet_.destroy();
    delete blank_;
}

HWND PageHost::pageWindow() const {
    return reinterpret_cast<HWND>(::SendMessageA(sheet_.hwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool PageHost::onSecondPage() const {
    return sheet_.activeIndex() == 1;
}

void PageHost::pressNext() {
    PropSheet_PressButton(sheet_.hwnd(), PSBTN_NEXT);
    pumpMessages();
}

bool PageHost::nextEnabled() const {
    pumpMessages(); // the pages post their button states
    return ::IsWindowEnabled(::GetDlgItem(sheet_.hwnd(), kNextButton)) != FALSE;
}

std::string PageHost::cancelText() const {
    return hnWindowText(::GetDlgItem(sheet_.hwnd(), IDCANCEL));
}

StoredSelection::StoredSelection(const char* selection) {
    std::string path;
    pySelIniPath(path);
    ::DeleteFileA(path.c_str());
    if (selection) {
        std::string folder;
        pySelFolderPath(folder);
        makeFolders(folder);
        ::WritePrivateProfileStringA("PySelVersion", "VersionName", selection, path.c_str());
    }
}

StoredSelection::~StoredSelection() {
    std::string path;
    pySelIniPath(path);
    ::DeleteFileA(path.c_str());
}

std::string StoredSelection::read() {
    std::string path;
    pySelIniPath(path);
    char value[1024] = {};
    ::GetPrivateProfileStringA("PySelVersion", "VersionName", "", value, sizeof(value), path.c_str());
    return value;
}

void pumpMessages(DWORD ms) {
    waitFor([] { return false; }, ms);
}

void clickButton(HWND page, int id) {
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
    pumpMessages();
}

bool chooseItem(HWND page, int comboId, const std::string& text) {
    HWND combo = ::GetDlgItem(page, comboId);
    LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(text.c_str()));
    if (index == CB_ERR)
        return false;
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    pumpMessages();
    return true;
}

std::string controlText(HWND parent, int id) {
    return hnWindowText(::GetDlgItem(parent, id));
}

bool controlVisible(HWND parent, int id) {
    return (::GetWindowLongPtrA(::GetDlgItem(parent, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool controlEnabled(HWND parent, int id) {
    return ::IsWindowEnabled(::GetDlgItem(parent, id)) != FALSE;
}

RECT controlRect(HWND parent, int id) {
    RECT r = {};
    ::GetWindowRect(::GetDlgItem(parent, id), &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expectTidyLayout(HWND page, const std::vector<int>& rowControls, const std::vector<int>& pageButtons) {
    RECT group = controlRect(page, IDC_PAGE_GROUP);
    for (int id : rowControls) {
        RECT row = controlRect(page, id);
        EXPECT_TRUE(row.left > group.left && row.right < group.right && row.top > group.top &&
                    row.bottom < group.bottom)
            << "control " << id << " outside the group";
    }
    RECT hint = controlRect(page, IDC_STATUS_AREA);
    for (int id : pageButtons)
        EXPECT_LE(hint.right, controlRect(page, id).left) << "hint line under button " << id;
}

std::string hoverTip(kdDPropertyPageBase& page, HWND sheet, int id, HWND* under, const char* screenshot) {
    ::ShowWindow(sheet, SW_SHOW);
    ::SetForegroundWindow(sheet);
    pumpMessages(200);
    RECT r = controlRect(page.hwnd(), id);
    POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ClientToScreen(page.hwnd(), &at);
    ::SetCursorPos(at.x, at.y);
    HWND target = ::WindowFromPoint(at);
    if (under)
        *under = target;
    POINT client = at;
    ::ScreenToClient(target, &client);
    MSG move = {target, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), ::GetTickCount(), at};
    page.preTranslateMessage(&move);
    if (!waitFor([&] { return ::IsWindowVisible(page.toolTip) != FALSE; }, 2000))
        return std::string();
    TTTOOLINFOA current = {};
    current.cbSize = sizeof(current);
    if (!::SendMessageA(page.toolTip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&current)))
        return std::string();
    std::string shown = toolTipText(page.toolTip, current.hwnd, reinterpret_cast<HWND>(current.uId));
    if (screenshot) {
        std::string folder = testProgramFolder() + "\\..\\screenshots";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        pumpMessages(300);
        // The whole screen: the tooltip may reach past the sheet.
        uidriver::Installer::screenshot(::GetDesktopWindow(), folder + "\\" + screenshot + ".bmp");
    }
    return shown;
}

std::string tipOf(const kdDPropertyPageBase& page, int id) {
    return toolTipText(page.toolTip, page.hwnd(), ::GetDlgItem(page.hwnd(), id));
}
