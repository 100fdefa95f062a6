#include "pages/TemplatesPage.h"

#include "pages_ids.h"

kdDInstallTemplates::kdDInstallTemplates(const std::string& title)
    : kdDCataloguePageBase(IDD_TEMPLATES, title, "OTC - Orvanto Tool Components",
                           templatesVariant(CatalogueKind::Templates)) {
    uiDlgName = "OTC - Tool Components";
    statusText = "Please click on the 'Next' button to view the installation summary.\nOr click on the "
                 "'Finish' button to complete the installation.";
}
