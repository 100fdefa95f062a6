#pragma once
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// Home page of the wizard: what the installer does for this computer.
class kdDInstallWelcomeBase : public kdDPropertyPageBase {
public:
    explicit kdDInstallWelcomeBase(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    std::string statusText; // the hint line
    std::string welcomeTitle;
    std::string introduction;

protected:
    bool onSetActive() override;
};
