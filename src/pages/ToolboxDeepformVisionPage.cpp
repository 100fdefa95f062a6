#include "pages/ToolboxDeepformVisionPage.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"
#include "python/PythonSelection.h"

namespace {

hnToolboxPageDefinition definition() {
    return {"kdDInstallToolboxeDeepformVision",
            "updateTemplatesInstallationArrayDeepformVisionCommon",
            "updateProfilesInstallationArrayDeepformVisionCommon",
            "",
            "/orvanto/files/InstallerDownloads/OrvatoTemplateToolboxes/DeepformVision/",
            cache::kToolbox,
            "3D Toolbox Deepform Vision",
            {{"Deepform Vision 1.0.0.333", "1.0.0.333"},
             {"Deepform Vision 1.0.0.355", "1.0.0.355"},
             {"Deepform Vision 1.0.0.383", "1.0.0.383"},
             {"Deepform Vision 1.0.0.550", "1.0.0.550"},
             {"Deepform Vision 1.0.0.612", "1.0.0.612"},
             {"Deepform Vision 1.0.0.719", "1.0.0.719"},
             {"Deepform Vision 1.0.0.758", "1.0.0.758"},
             {"Deepform Vision 1.0.0.819", "1.0.0.819"},
             {"Deepform Vision 1.0.0.1114", "1.0.0.1114"}},
            &setPy27DeepformVisionToolboxVersionSelection};
}

} // namespace

kdDInstallToolboxeDeepformVision::kdDInstallToolboxeDeepformVision(const std::string& title)
    : kdDToolboxPageBase(IDD_TOOLBOX, title, "Orvanto 3D Toolbox - Deepform Vision", definition()) {
    uiDlgName = "Toolbox - Deepform Vision";
}
