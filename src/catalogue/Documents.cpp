#include "catalogue/Documents.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "catalogue/CatalogueList.h"
#include "controls/RichTextFile.h"
#include "catalogue_ids.h"
#include "download/DownloadDialogs.h"

namespace {

const char* const kSettingsSection = "HelpWindowPosition";

int readPosition(const std::string& path, const char* key) {
    return std::atoi(readIniValue(path, kSettingsSection, key).c_str());
}

long clampTo(long value, long low, long high) {
    return value < low ? low : (value > high ? high : value);
}

// Keeps a place whose whole title bar lies on a monitor's work area; any
// other goes onto the nearest monitor's work area. The size never exceeds
// that work area. False when no monitor can be had.
bool placeOnWorkArea(int& left, int& top, int& width, int& height) {
    RECT titleBar = {left, top, left + width,
                     top + ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME)};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoA(::MonitorFromRect(&titleBar, MONITOR_DEFAULTTONEAREST), &monitor))
        return false;
    const RECT& work = monitor.rcWork;
    width = static_cast<int>(std::min<long>(width, work.right - work.left));
    height = static_cast<int>(std::min<long>(height, work.bottom - work.top));
    titleBar.right = left + width;
    RECT inside;
    if (::IntersectRect(&inside, &titleBar, &work) && ::EqualRect(&inside, &titleBar))
        return true;
    left = static_cast<int>(clampTo(left, work.left, work.right - width));
    top = static_cast<int>(clampTo(top, work.top, work.bottom - height));
    return true;
}

} // namespace

void ensureRichEditLoaded() {
    if (!::GetModuleHandleA("riched20.dll"))
        ::LoadLibraryA("riched20.dll");
}

bool loadRichTextDocument(hnInstallationElement& element, HWND richEdit, bool refresh, bool showMessages,
                          const char* usingCopyMessage, const char* errorText, HWND owner) {
    std::string path;
    hnFormat(path, kPathCapacity, "%s\\%s", element.downloadFolder.c_str(), element.fileName.c_str());
    INT_PTR outcome;
    {
        DDownloadAndInstallComponent dialog(1, 1, &element, true, refresh, showMessages);
        outcome = dialog.doModal(owner);
    }
    bool present = !path.empty() && fileExists(path);
    if (showMessages && outcome != IDOK && present)
        hnAppBase::current()->prompter().messageBox(owner, usingCopyMessage, kInstallerCaption, MB_OK);
    return showRichTextDocument(element, richEdit, errorText);
}

bool showRichTextDocument(const hnInstallationElement& element, HWND richEdit, const char* errorText) {
    std::string path;
    hnFormat(path, kPathCapacity, "%s\\%s", element.downloadFolder.c_str(), element.fileName.c_str());
    // A copy that is too large or unreadable says so and stays; only a
    // missing copy is the server's fault.
    hnRichTextLoad shown = loadRichTextFile(richEdit, path);
    if (shown == hnRichTextLoad::Missing && errorText)
        ::SetWindowTextA(richEdit, errorText);
    return shown == hnRichTextLoad::Shown;
}

// ---------------------------------------------------------------- DHelp2

DHelp2::DHelp2(const std::string& title_, const hnInstallationElement& element_)
    : hnDialog(IDD_HELP), element(element_) {
    if (!title_.empty())
        title = title_;
    element.nameText = &nameText_;
    element.statusText = &statusText_;
    element.progressText = &progressText_;
    ensureRichEditLoaded();
}

bool DHelp2::onInitDialog() {
    hnDialog::onInitDialog();
    ::SetWindowTextA(hwnd(), title.c_str());
    if (restoreHelpWindowPosition() != 1) {
        // The template's size is below the smallest the user may size it to.
        ::SetWindowPos(hwnd(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
        centerOnOwner();
        layoutHelpControls();
    }
    loadHelpDocument(false, false);
    // Focus on OK, so that the document is not shown all selected.
    ::SetFocus(item(IDOK));
    return false;
}

bool DHelp2::loadHelpDocument(bool refresh, bool showMessages) {
    return loadRichTextDocument(
        element, item(IDC_HELP_TEXT), refresh, showMessages, "Using local copy of the help file.",
        "Error: Unable to get the help file from the server.\nPlease try again.", hwnd());
}

bool DHelp2::onCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_HELP_REFRESH && code == BN_CLICKED) {
        loadHelpDocument(true, true);
        return true;
    }
    return hnDialog::onCommand(id, code, control);
}

void DHelp2::onOK() {
    saveHelpWindowPosition();
    endDialog(IDOK);
}

void DHelp2::onCancel() {
    saveHelpWindowPosition();
    endDialog(IDCANCEL);
}

bool DHelp2::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = kMinWidth;
        info->ptMinTrackSize.y = kMinHeight;
        result = 0;
        return true;
    }
    case WM_SIZE:
    case WM_EXITSIZEMOVE:
        layoutHelpControls();
        result = 0;
        return true;
    default:
        return hnDialog::onMessage(message, wParam, lParam, result);
    }
}

void DHelp2::layoutHelpControls() {
    if (!hwnd())
        return;
    RECT client;
    ::GetClientRect(hwnd(), &client);
    int W = client.right, H = client.bottom;
    auto place = [this](int id, int x, int y, int width, int height) {
        if (HWND control = item(id))
            ::SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(IDC_HELP_TEXT, 15, 15, W - 30, H - 60);
    place(IDOK, W / 2 - 40, H - 35, 80, 25);
    place(IDC_HELP_REFRESH, W - 95, H - 35, 80, 25);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

int DHelp2::helpSettingsPath(std::string* path) {
    std::string documents, folder;
    if (!path || !hnDocumentsFolder(documents))
        return -2;
    if (!hnFormat(folder, kPathCapacity, "%s\\%s", documents.c_str(), "OrvantoInstaller"))
        return -2;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return hnFormat(*path, kPathCapacity, "%s\\%s", folder.c_str(), "settings.ini") ? 1 : -2;
}

int DHelp2::saveHelpWindowPosition() {
    std::string path;
    if (helpSettingsPath(&path) != 1 || !hwnd())
        return -1;
    RECT rect;
    ::GetWindowRect(hwnd(), &rect);
    if (::IsIconic(hwnd()) || ::IsZoomed(hwnd())) {
        // A minimised window sits far off the screen; keep its normal place,
        // which comes in workspace coordinates: a taskbar at the top or left
        // would otherwise move the window at every save.
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        if (::GetWindowPlacement(hwnd(), &placement)) {
            rect = placement.rcNormalPosition;
            if (::GetMonitorInfoA(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
                ::OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                             monitor.rcWork.top - monitor.rcMonitor.top);
        }
    }
    const std::pair<const char*, LONG> values[] = {
        {"LeftPos", rect.left}, {"RightPos", rect.right}, {"TopPos", rect.top}, {"BottomPos", rect.bottom}};
    for (const auto& value : values)
        ::WritePrivateProfileStringA(kSettingsSection, value.first,
                                     hnFormatText("%d", static_cast<int>(value.second)).c_str(),
                                     path.c_str());
    return 1;
}

int DHelp2::restoreHelpWindowPosition() {
    std::string path;
    if (helpSettingsPath(&path) != 1)
        return -1;
    int left = readPosition(path, "LeftPos"), right = readPosition(path, "RightPos");
    int top = readPosition(path, "TopPos"), bottom = readPosition(path, "BottomPos");
    if (left == 0 && right == 0 && top == 0 && bottom == 0)
        return -2;
    if (left >= right)
        return -3;
    if (top >= bottom)
        return -4;
    RECT rect = {left, top, right, bottom};
    if (!::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        return -5;
    int width = right - left < kMinWidth ? kMinWidth : right - left;
    int height = bottom - top < kMinHeight ? kMinHeight : bottom - top;
    if (!placeOnWorkArea(left, top, width, height))
        return -5;
    if (hwnd()) {
        ::MoveWindow(hwnd(), left, top, width, height, TRUE);
        layoutHelpControls();
    }
    return 1;
}

void showHelpDocument(hnInstallationElement& element, HWND owner) {
    DHelp2 dialog(element.name, element);
    dialog.doModal(owner);
}
