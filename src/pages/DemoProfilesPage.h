#pragma once
#include <string>

#include "pages/CataloguePage.h"

// Demonstration profiles for Python 2.7, in tabs.
class kdDInstallDemoProfiles : public kdDCataloguePageBase {
public:
    explicit kdDInstallDemoProfiles(const std::string& title);
};
