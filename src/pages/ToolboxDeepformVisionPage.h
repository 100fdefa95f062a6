#pragma once
#include <string>

#include "pages/ToolboxPageBase.h"

// The 3D toolbox builds for Python 2.7 with their templates and demo profiles.
class kdDInstallToolboxeDeepformVision : public kdDToolboxPageBase {
public:
    explicit kdDInstallToolboxeDeepformVision(const std::string& title);

    int updateTemplatesInstallationArrayDeepformVisionCommon(int listElement, hnInstallManagerBase* manager) {
        return buildTemplatesElements(listElement, manager);
    }
    int updateProfilesInstallationArrayDeepformVisionCommon(int listElement, hnInstallManagerBase* manager) {
        return buildProfilesElements(listElement, manager);
    }
};
