#pragma once
// The tab control of a 3D toolbox build: the template groups of the build's
// templates list followed by the groups of its demo-profiles list, each tab
// shown by the templates or the profiles tab dialog; one blank tab with the
// not-available dialog when both lists are empty.
#include <string>
#include <vector>
#include <windows.h>

#include "app/Dialog.h"
#include "catalogue/TabDialogs.h"

class DToolboxDeepformVisionTabCtrl {
public:
    DToolboxDeepformVisionTabCtrl();
    ~DToolboxDeepformVisionTabCtrl();

    // Takes over the page's tab control.
    bool attach(HWND page, int controlId);
    HWND hwnd() const { return hwnd_; }

    // Replaces the tabs and selects `selectName` (without regard to case; tab
    // 0 when it is not there). 1.
    int setToolboxTabs(const std::vector<std::string>& templateGroups,
                       const std::vector<std::string>& profileGroups, const std::string& selectName,
                       const std::string& templatesList, const std::string& profilesList,
                       const std::string& category);
    // The selected tab's name; empty without one or on the not-available tab.
    std::string selectedTabName() const;
    // Shows the dialog of the selected tab. Refused (false, nothing
    // destroyed) while a row operation of a tab dialog runs.
    bool createTabContents();
    void clearTabs();
    bool busy() const { return templates.operationRunning() || profiles.operationRunning(); }

    DTabTemplates templates;
    DTabProfiles2D profiles;
    hnDialog notAvailable;
    std::vector<std::string> tabNames, templateGroups, profileGroups;
    std::string templatesListPath, profilesListPath, cacheFolder, category;
    RECT displayRect = {};
    bool showingNotAvailable = true;

private:
    void destroyDialogs();
    HWND hwnd_ = nullptr;
    HWND page_ = nullptr;
};
