#pragma once
#include <string>
#include <vector>

#include "pages/OptionalPageBase.h"

// IO drivers of outside vendors.
class kdDInstallIOSystemInstallations : public kdDOptionalPageBase {
public:
    explicit kdDInstallIOSystemInstallations(const std::string& title);

    static std::vector<hnOptionalComponent> elements();
};
