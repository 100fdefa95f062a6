#include "pages/Py36TemplatesPage.h"

#include "pages_ids.h"

kdDInstallPy36Templates::kdDInstallPy36Templates(const std::string& title)
    : kdDCataloguePageBase(IDD_PY36_TEMPLATES, title, "OTC - Orvanto Tool Components (Python 36)",
                           templatesVariant(CatalogueKind::TemplatesPy36)) {
    uiDlgName = "OTC - Tool Components (Python 36)";
    statusText = "Please click on the 'Next' button to view the installation summary.\nOr click on the "
                 "'Finish' button to complete the installation.";
}
