#include "catalogue/ToolboxTabCtrl.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "catalogue/CatalogueTabCtrl.h"
#include "catalogue_ids.h"
#include "download/InstallationElement.h"

DToolboxDeepformVisionTabCtrl::DToolboxDeepformVisionTabCtrl() : notAvailable(IDD_TOOLBOX_NOT_AVAILABLE) {}

DToolboxDeepformVisionTabCtrl::~DToolboxDeepformVisionTabCtrl() {
    destroyDialogs();
}

bool DToolboxDeepformVisionTabCtrl::attach(HWND page, int controlId) {
    page_ = page;
    hwnd_ = ::GetDlgItem(page, controlId);
    return hwnd_ != nullptr;
}

void DToolboxDeepformVisionTabCtrl::destroyDialogs() {
    templates.destroy();
    profiles.destroy();
    notAvailable.destroy();
}

void DToolboxDeepformVisionTabCtrl::clearTabs() {
    if (busy())
        return; // the rows of the running operation must outlive its handler
    tabNames.clear();
    templateGroups.clear();
    profileGroups.clear();
    destroyDialogs();
}

int DToolboxDeepformVisionTabCtrl::setToolboxTabs(const std::vector<std::string>& templateGroups_,
                                                  const std::vector<std::string>& profileGroups_,
                                                  const std::string& selectName,
                                                  const std::string& templatesList,
                                                  const std::string& profilesList,
                                                  const std::string& category_) {
    if (busy())
        return 1;
    templatesListPath = templatesList;
    profilesListPath = profilesList;
    category = category_;
    cacheFolder = cache::kToolbox; // the same for both Python lines
    tabNames.clear();
    templateGroups = templateGroups_;
    profileGroups = profileGroups_;
    if (!hwnd_)
        return 1;
    TabCtrl_DeleteAllItems(hwnd_);
    showingNotAvailable = templateGroups.empty() && profileGroups.empty();
    tabNames = templateGroups;
    tabNames.insert(tabNames.end(), profileGroups.begin(), profileGroups.end());
    displayRect = fillCatalogueTabs(hwnd_, page_, tabNames, selectName);
    createTabContents();
    return 1;
}

std::string DToolboxDeepformVisionTabCtrl::selectedTabName() const {
    if (!hwnd_ || showingNotAvailable)
        return "";
    int selected = TabCtrl_GetCurSel(hwnd_);
    if (selected < 0 || static_cast<std::size_t>(selected) >= tabNames.size())
        return "";
    return tabNames[static_cast<std::size_t>(selected)];
}

bool DToolboxDeepformVisionTabCtrl::createTabContents() {
    if (busy())
        return false;
    int selected = hwnd_ ? TabCtrl_GetCurSel(hwnd_) : 0;
    if (selected < 0)
        selected = 0;
    destroyDialogs();
    hnDialog* shown = &notAvailable;
    bool isTemplate = static_cast<std::size_t>(selected) < templateGroups.size();
    DCatalogueTabDialog* tab = nullptr;
    if (!showingNotAvailable) {
        tab = isTemplate ? static_cast<DCatalogueTabDialog*>(&templates)
                         : static_cast<DCatalogueTabDialog*>(&profiles);
        shown = tab;
    }
    if (!shown->create(page_)) {
        hnDebugOut("DToolboxDeepformVisionTabCtrl::createTabContents() - Unable to create tab dialog");
        return false;
    }
    ::SetWindowPos(shown->hwnd(), HWND_TOP, displayRect.left, displayRect.top,
                   displayRect.right - displayRect.left, displayRect.bottom - displayRect.top,
                   SWP_SHOWWINDOW);
    if (tab) {
        std::string name;
        if (static_cast<std::size_t>(selected) < tabNames.size())
            name = tabNames[static_cast<std::size_t>(selected)];
        if (!name.empty())
            ::CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
        tab->showTab(isTemplate ? templatesListPath : profilesListPath, name, cacheFolder, category);
    }
    ::EnableWindow(shown->hwnd(), TRUE);
    ::UpdateWindow(page_);
    ::InvalidateRect(page_, nullptr, TRUE);
    return true;
}
