#pragma once
#include <string>

#include "pages/CataloguePage.h"

// Tool-component templates for Python 2.7, in tabs.
class kdDInstallTemplates : public kdDCataloguePageBase {
public:
    explicit kdDInstallTemplates(const std::string& title);
};
