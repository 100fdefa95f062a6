#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Tool-component templates for Python 2.7, in tabs.
class kdDInstallTemplates : public kdDPropertyPageBase {
public:
    explicit kdDInstallTemplates(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line

protected:
    bool onSetActive() override;
};
