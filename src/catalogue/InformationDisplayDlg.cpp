#include "catalogue/InformationDisplayDlg.h"

#include <richedit.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "catalogue_ids.h"

namespace {

DWORD CALLBACK readFileChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    DWORD got = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(size), &got, nullptr))
        return 1;
    *read = static_cast<LONG>(got);
    return 0;
}

} // namespace

DInformationDisplayDlg::DInformationDisplayDlg(const std::string& title_, const std::string& filePath_)
    : hnDialog(IDD_INFORMATION_DISPLAY), title(title_), filePath(filePath_),
      richEdit_(::LoadLibraryA("Riched20.dll")) {}

bool DInformationDisplayDlg::onInitDialog() {
    ::SetWindowTextA(hwnd(), title.c_str());
    if (fileExists(filePath)) {
        hnScopedHandle file(::CreateFileA(filePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            EDITSTREAM stream = {};
            stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.get());
            stream.pfnCallback = readFileChunk;
            ::SendMessageA(item(IDC_INFORMATION_TEXT), EM_STREAMIN, SF_RTF,
                           reinterpret_cast<LPARAM>(&stream));
        }
    }
    centerOnOwner();
    // The text is only read: the focus on OK keeps it from showing selected.
    ::SetFocus(item(IDOK));
    return false;
}
