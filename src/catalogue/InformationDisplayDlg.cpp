#include "catalogue/InformationDisplayDlg.h"

#include "controls/RichTextFile.h"
#include "catalogue_ids.h"

DInformationDisplayDlg::DInformationDisplayDlg(const std::string& title_, const std::string& filePath_)
    : hnDialog(IDD_INFORMATION_DISPLAY), title(title_), filePath(filePath_),
      richEdit_(::LoadLibraryA("Riched20.dll")) {}

bool DInformationDisplayDlg::onInitDialog() {
    ::SetWindowTextA(hwnd(), title.c_str());
    loadRichTextFile(item(IDC_INFORMATION_TEXT), filePath);
    centerOnOwner();
    // The text is only read: the focus on OK keeps it from showing selected.
    ::SetFocus(item(IDOK));
    return false;
}
