#pragma once
#include <string>

#include "pages/CataloguePage.h"

// Tool-component templates for Python 3.6, in tabs.
class kdDInstallPy36Templates : public kdDCataloguePageBase {
public:
    explicit kdDInstallPy36Templates(const std::string& title);
};
