#pragma once
#include <string>

#include "pages/PipExtensionsPageBase.h"

// Optional Python 2.7 packages, one row each.
class kdDInstallPY27Extensions2 : public kdDPipExtensionsPageBase {
public:
    explicit kdDInstallPY27Extensions2(const std::string& title);
    static kdDPipExtensionsVariant pageVariant();
};
