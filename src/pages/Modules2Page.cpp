#include "pages/Modules2Page.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"

namespace {

const char* const kServerPath = "/orvanto/files/InstallerDownloads/_Modules/VAVUZirar/";
const char* const kCategory = "Optional Orvanto Modules 2";

std::vector<hnOptionalRow> pageRows() {
    return {
        {0, IDC_MODULES2_CONFIG_NAME, IDC_MODULES2_CONFIG_STATUS, IDC_MODULES2_CONFIG_PROGRESS,
         IDC_MODULES2_CONFIG_INSTALL, IDC_MODULES2_CONFIG_REMOVE},
        {1, IDC_MODULES2_PROGRAM_NAME, IDC_MODULES2_PROGRAM_STATUS, IDC_MODULES2_PROGRAM_PROGRESS,
         IDC_MODULES2_PROGRAM_INSTALL, IDC_MODULES2_PROGRAM_REMOVE},
    };
}

} // namespace

std::vector<hnOptionalComponent> kdDInstallModules2::elements() {
    const char* const packages[][2] = {
        {"Orvanto Quiver VAVUZirar Config 4.0", "Orvanto_Quiver_VAVUZirar_Config_4.0.zip"},
        {"Orvanto Quiver VAVUZirar Program and Driver 5.0", "VAVUZirar_Program_And_Driver_5.0.zip"},
    };
    std::vector<hnOptionalComponent> components;
    for (const auto& package : packages)
        components.push_back(variantComponent({package[0], nullptr, package[1], nullptr}, false, true, "",
                                              kServerPath, false, cache::kModules2, kCategory));
    return components;
}

kdDInstallModules2::kdDInstallModules2(const std::string& title)
    : kdDOptionalPageBase(IDD_MODULES2, title, "Orvanto Modules",
                          "Please click on the 'Next' button to browse and install the 3rd party camera "
                          "drivers.\nOr click on the 'Finish' button to complete the installation.",
                          elements(), pageRows(), {"Remove", "Download Modules", false}) {
    uiDlgName = "Modules";
}
