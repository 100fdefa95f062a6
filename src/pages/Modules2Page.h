#pragma once
#include <string>
#include <vector>

#include "pages/OptionalPageBase.h"

// Optional Orvanto modules: the two smart-card packages, unpacked into the
// user's documents.
class kdDInstallModules2 : public kdDOptionalPageBase {
public:
    explicit kdDInstallModules2(const std::string& title);

    static std::vector<hnOptionalComponent> elements();
};
