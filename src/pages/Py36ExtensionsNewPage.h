#pragma once
#include <string>

#include "pages/PipPackagesPageBase.h"

// Recommended Python 3.6 package sets.
class kdDInstallPY36ExtensionsNew : public kdDPipPackagesPageBase {
public:
    explicit kdDInstallPY36ExtensionsNew(const std::string& title);
    static kdDPipPackagesVariant pageVariant();
};
