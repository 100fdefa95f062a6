#pragma once
#include <string>

#include "pages/ToolboxPageBase.h"

// The 3D toolbox builds for Python 3.6 with their templates and demo profiles.
class kdDInstallToolboxePy36DeepformVision : public kdDToolboxPageBase {
public:
    explicit kdDInstallToolboxePy36DeepformVision(const std::string& title);

    int updateTemplatesInstallationArrayDeepformVisionPy36Common(int listElement,
                                                                 hnInstallManagerBase* manager) {
        return buildTemplatesElements(listElement, manager);
    }
    int updateProfilesInstallationArrayDeepformVisionPy36Common(int listElement,
                                                                hnInstallManagerBase* manager) {
        return buildProfilesElements(listElement, manager);
    }
};
