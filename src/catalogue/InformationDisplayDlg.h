#pragma once
// A build's readme: an RTF file shown read-only under a title.
#include <string>

#include "app/Dialog.h"
#include "app/ScopedHandle.h"

class DInformationDisplayDlg : public hnDialog {
public:
    DInformationDisplayDlg(const std::string& title, const std::string& filePath);

    std::string title;
    std::string filePath;

protected:
    bool onInitDialog() override;

private:
    hnScopedModule richEdit_; // registers the template's rich-edit class
};
