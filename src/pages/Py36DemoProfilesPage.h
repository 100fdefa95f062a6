#pragma once
#include <string>

#include "pages/CataloguePage.h"

// Demonstration profiles for Python 3.6, in tabs.
class kdDInstallPy36DemoProfiles : public kdDCataloguePageBase {
public:
    explicit kdDInstallPy36DemoProfiles(const std::string& title);
};
