#include "catalogue/Hyperlink.h"

#include <cstring>
#include <shellapi.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "catalogue/CatalogueSources.h"
#include "download/DownloadDialogs.h"
#include "download/InstallationElement.h"

namespace {

const char* const kMakerWebSite = "https://www.orvanto.com/";
const int32_t kResourceSize = 0x400000;
const int kRefusedLink = SE_ERR_ACCESSDENIED;

struct ShellReason {
    int code;
    const char* reason;
};
const ShellReason kShellReasons[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

bool endsWithNoCase(const std::string& text, const char* suffix) {
    std::size_t length = std::strlen(suffix);
    return text.size() >= length && hnEqualsNoCase(text.substr(text.size() - length), suffix);
}

void tell(HWND owner, const char* text) {
    hnAppBase::current()->prompter().messageBox(owner, text, kInstallerCaption, MB_OK);
}

} // namespace

std::string shellErrorReason(int code) {
    for (const ShellReason& entry : kShellReasons)
        if (entry.code == code)
            return entry.reason;
    return hnFormatText("Unknown Error (%d) occurred.", code);
}

bool isDownloadedResource(const std::string& url) {
    return endsWithNoCase(url, ".pdf") || endsWithNoCase(url, ".png");
}

int openResourceLink(const std::string& url, const std::string& linkName, int* code, HWND owner) {
    int ignored = 0;
    int& out = code ? *code : ignored;
    out = 0;
    if (!isDownloadedResource(url)) {
        if (!isWebLink(url)) {
            hnDebugOut("openResourceLink - Refused a link that is not a web address\n");
            out = kRefusedLink;
            return -1;
        }
        INT_PTR result = openWebLink(url, owner);
        hnSessionLogF("Program", "opened %s, shell result %d", url.c_str(), static_cast<int>(result));
        if (result > 32)
            return 1;
        out = static_cast<int>(result);
        return -1;
    }
    std::string fileName, folder = cacheFolder(cache::kResources);
    if (!fileNameOfUrl(url, fileName)) {
        tell(owner, "Error: Unable to parse the download path for the selected resource. Please try again.");
        out = -1;
        return -1;
    }
    // The address is fetched by the elevated program and its name becomes a
    // file of the cache: only web addresses and plain names.
    if (!isWebLink(url) || !isPlainNameInFolder(folder + "\\", fileName)) {
        hnDebugOut("openResourceLink - Refused a resource address or file name\n");
        out = kRefusedLink;
        return -1;
    }
    std::string nameText, statusText, progressText;
    hnInstallationElement element(linkName.c_str(), url.c_str(), fileName.c_str(), "", folder.c_str(), false,
                                  kResourceSize, false, &nameText, &statusText, &progressText, "");
    INT_PTR outcome;
    {
        DDownloadAndInstallComponent dialog(1, 1, &element, true, false, true);
        outcome = dialog.doModal(owner);
    }
    if (outcome != IDOK) {
        out = -2;
        return -1;
    }
    std::string path;
    if (!hnJoinPath(path, folder, fileName) || !fileExists(path)) {
        tell(owner, "Error: Unable to locate the selected resource. Please try again.");
        out = -3;
        return -1;
    }
    INT_PTR result =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOW));
    hnSessionLogF("Program", "opened %s, shell result %d", path.c_str(), static_cast<int>(result));
    if (result > 32)
        return 1;
    out = static_cast<int>(result);
    return -1;
}

COLORREF hyperlinkColour() {
    COLORREF colour = ::GetSysColor(COLOR_HOTLIGHT);
    int luminance = (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
    return luminance > 140 ? RGB(0, 102, 204) : colour;
}

bool reflectClickToControl(WORD code, HWND control) {
    return control && code == BN_CLICKED &&
           ::SendMessageA(control, kReflectBase + WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code),
                          reinterpret_cast<LPARAM>(control)) != 0;
}

// ---------------------------------------------------------------- DDynamicHyperlink

DDynamicHyperlink::DDynamicHyperlink() : linkColour(hyperlinkColour()), url(kMakerWebSite) {}

DDynamicHyperlink::~DDynamicHyperlink() {
    destroyWindow();
}

bool DDynamicHyperlink::create(const char* text, DWORD style, const RECT& rect, HWND parent,
                               const std::string& address, LOGFONTA font, int id) {
    url = address;
    font.lfUnderline = TRUE;
    linkFont.reset(::CreateFontIndirectA(&font));
    if (!createWindow("STATIC", text, style | SS_NOTIFY | WS_CHILD, rect, parent, id))
        return false;
    ::SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont.get()), FALSE);
    fitToText();
    loadHandCursor();
    return true;
}

void DDynamicHyperlink::setText(const std::string& text) {
    if (!hwnd())
        return;
    ::SetWindowTextA(hwnd(), text.c_str());
    fitToText();
}

void DDynamicHyperlink::fitToText() {
    std::string text = hnWindowText(hwnd());
    HDC dc = ::GetDC(hwnd());
    if (!dc)
        return;
    HGDIOBJ previous = ::SelectObject(dc, linkFont.get() ? static_cast<HGDIOBJ>(linkFont.get())
                                                         : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(hwnd(), dc);

    RECT window, client;
    ::GetWindowRect(hwnd(), &window);
    ::GetClientRect(hwnd(), &client);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd()), reinterpret_cast<POINT*>(&window), 2);
    int width = extent.cx + (window.right - window.left) - client.right;
    int height = extent.cy + (window.bottom - window.top) - client.bottom;
    LONG style = ::GetWindowLongA(hwnd(), GWL_STYLE);
    int left = window.left, top = window.top;
    if ((style & SS_TYPEMASK) == SS_CENTER)
        left = (window.left + window.right - width) / 2;
    else if ((style & SS_TYPEMASK) == SS_RIGHT)
        left = window.right - width;
    if (style & SS_CENTERIMAGE)
        top = (window.top + window.bottom - height) / 2;
    ::SetWindowPos(hwnd(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DDynamicHyperlink::loadHandCursor() {
    if (handCursor)
        return;
    char windows[MAX_PATH] = {};
    UINT length = ::GetWindowsDirectoryA(windows, sizeof(windows));
    if (length == 0 || length >= sizeof(windows))
        return;
    std::string path = std::string(windows) + "\\winhlp32.exe";
    hnScopedModule module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return;
    HCURSOR cursor = ::LoadCursorA(module.get(), MAKEINTRESOURCEA(106));
    if (cursor)
        handCursor.reset(static_cast<HCURSOR>(::CopyImage(cursor, IMAGE_CURSOR, 0, 0, 0)));
}

LRESULT DDynamicHyperlink::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        // The system's hand where the system program's cursor is missing.
        ::SetCursor(handCursor ? handCursor.get() : ::LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
    case kReflectBase + WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, linkColour);
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    }
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(hwnd(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case kReflectBase + WM_COMMAND:
        if (HIWORD(wParam) == STN_CLICKED) {
            onClick();
            return TRUE;
        }
        break;
    default:
        break;
    }
    return hnSubclassedControl::windowProc(message, wParam, lParam);
}

void DDynamicHyperlink::onClick() {
    int code = 0;
    HWND owner = ::GetParent(hwnd());
    if (openResourceLink(url, hnWindowText(hwnd()), &code, owner) > 0)
        return;
    // Negative codes were told already (by the download dialog or with their
    // own message).
    if (code >= 0)
        tell(owner, ("Unable to open hyperlink:\n\n" + shellErrorReason(code)).c_str());
}

void DDynamicHyperlinkNewVersionAvailable::onClick() {
    hnInstallerServices* services = installerServices();
    CUpgradeInfo* record = services ? services->upgradeRecord(!isReleaseChannel) : nullptr;
    if (record && offerUpgrade)
        offerUpgrade(*record);
}
