#pragma once
#include <string>

#include "pages/PipExtensionsPageBase.h"

// Optional Python 3.6 packages, one row each.
class kdDInstallPY36Extensions2 : public kdDPipExtensionsPageBase {
public:
    explicit kdDInstallPY36Extensions2(const std::string& title);
    static kdDPipExtensionsVariant pageVariant();
};
