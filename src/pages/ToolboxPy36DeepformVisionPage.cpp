#include "pages/ToolboxPy36DeepformVisionPage.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"
#include "python/PythonSelection.h"

namespace {

hnToolboxPageDefinition definition() {
    return {"kdDInstallToolboxePy36DeepformVision",
            "updateTemplatesInstallationArrayDeepformVisionPy36Common",
            "updateProfilesInstallationArrayDeepformVisionPy36Common",
            " (Python 36)",
            "/orvanto/files/InstallerDownloads/OrvatoTemplateToolboxes/DeepformVisionPy36/",
            cache::kToolboxPy36,
            "3D Toolbox Deepform Vision (Python 36)",
            {{"Deepform Vision 1.0.0.819(02)", "1.0.0.819_02_Py36"},
             {"Deepform Vision 1.0.0.1114", "1.0.0.1114_Py36"}},
            &setPy36DeepformVisionToolboxVersionSelection};
}

} // namespace

kdDInstallToolboxePy36DeepformVision::kdDInstallToolboxePy36DeepformVision(const std::string& title)
    : kdDToolboxPageBase(IDD_TOOLBOX_PY36, title, "Orvanto 3D Toolbox - Deepform Vision (Python 36)",
                         definition()) {
    uiDlgName = "Toolbox - Deepform Vision (Python 36)";
}
