#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Demonstration profiles for Python 3.6, in tabs.
class kdDInstallPy36DemoProfiles : public kdDPropertyPageBase {
public:
    explicit kdDInstallPy36DemoProfiles(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line

protected:
    bool onSetActive() override;
};
