#pragma once
// Installation of one element: the download-and-install dialog, the custom
// action of the element's name, verification by detection and the follow-up
// steps.
#include <string>

#include "install/ActionServices.h"

struct hnInstallationElement;
class hnElementActions;

// 1 on success, -1 on failure.
int installElement(hnElementActions& detection, hnInstallationElement& element, int position, int runLength,
                   bool refresh, bool stopOnErrors, const hnActionTimings& timings = hnActionTimings());

// True for names without an action.
bool runCustomInstallAction(hnInstallationElement& element, bool stopOnErrors,
                            const hnActionTimings& timings = hnActionTimings());

// True for names without steps.
bool runPostInstallSteps(hnInstallationElement& element);

// The cycle controller's program folder, start-menu folder and desktop link,
// as its installation makes them.
struct hnCycleControllerPaths {
    std::string programFolder;   // <program files>\Halvenor AS\Cycle Controller
    std::string startMenuFolder; // <common programs>\Halvenor Software Solutions\Cycle Controller, or empty
    std::string desktopLink;     // <common desktop>\Cycle Controller 1.0.0.1(3587).lnk, or empty
};
bool cycleControllerPaths(hnCycleControllerPaths& paths);
bool removeCycleControllerFiles();

// Same size and bytes.
bool filesHaveSameContent(const std::string& a, const std::string& b);
