#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// The 3D toolbox builds for Python 2.7 with their templates and demo profiles.
class kdDInstallToolboxeDeepformVision : public kdDPropertyPageBase {
public:
    explicit kdDInstallToolboxeDeepformVision(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line

protected:
    bool onSetActive() override;
};
