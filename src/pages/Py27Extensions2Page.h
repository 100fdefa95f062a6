#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Optional Python 2.7 packages.
class kdDInstallPY27Extensions2 : public kdDPropertyPageBase {
public:
    explicit kdDInstallPY27Extensions2(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line
    hnImageButton downloadButton;

protected:
    bool onSetActive() override;
};
