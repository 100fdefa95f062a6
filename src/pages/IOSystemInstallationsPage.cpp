#include "pages/IOSystemInstallationsPage.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"

namespace {

struct IoElement {
    const char* name;
    const char* file;
    bool isMsiPackage;
};
const IoElement kIoElements[] = {
    {"DAQNavi PCI-1730 3.1.1.0", "DAQNavi_PCI1730_PCM3730I_3.1.1.0.exe", false},
    {"DAQNavi USB-4711A 3.1.3.0", "DAQNavi_USB4711A_3.1.3.0.exe", false},
    {"DAQNavi USB-4750 3.1.1.0", "DAQNavi_USB4750_3.1.1.0.exe", false},
    {"DAQNavi SDK and Drivers 3.1.4.0", "DAQNavi_SDK&Drivers_3.1.4.0.exe", false},
    {"Adam/Apax .NET Utility 2.05.10", "ADAMAPAX .NET UTILITY V2.05.10 B04.MSI", true},
};

std::vector<hnOptionalRow> pageRows() {
    std::vector<hnOptionalRow> rows;
    for (int r = 0; r < 5; ++r) {
        int first = IDC_IO_FIRST_ROW + 5 * r; // name, status, progress, install, remove
        rows.push_back({r, first, first + 1, first + 2, first + 3, first + 4});
    }
    return rows;
}

} // namespace

std::vector<hnOptionalComponent> kdDInstallIOSystemInstallations::elements() {
    std::vector<hnOptionalComponent> components;
    for (const IoElement& element : kIoElements)
        components.push_back(
            variantComponent({element.name, nullptr, element.file, nullptr}, false, true, " /passive",
                             "/orvanto/files/InstallerDownloads/_Installers3rdParty/Advantech/",
                             element.isMsiPackage, cache::kIoSystem, "Orvanto IO System"));
    return components;
}

kdDInstallIOSystemInstallations::kdDInstallIOSystemInstallations(const std::string& title)
    : kdDOptionalPageBase(
          IDD_IO_SYSTEM, title, "3rd Party IO Drivers",
          "Please click on the 'Next' button to install the optional utility softwares.\nOr click on "
          "the 'Finish' button to complete the installation.",
          elements(), pageRows(), {"Uninstall", "Download IO System Installers", false}) {}
