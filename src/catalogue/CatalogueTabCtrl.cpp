#include "catalogue/CatalogueTabCtrl.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "catalogue/DocumentTabs.h"
#include "catalogue_ids.h"

DTabProfilesNotAvailable::DTabProfilesNotAvailable() : hnNotAvailableDialog(IDD_TAB_PROFILES_NOT_AVAILABLE) {}
DTabTemplatesNotAvailable::DTabTemplatesNotAvailable()
    : hnNotAvailableDialog(IDD_TAB_TEMPLATES_NOT_AVAILABLE) {}
DTabTutorialsNotAvailable::DTabTutorialsNotAvailable()
    : hnNotAvailableDialog(IDD_TAB_TUTORIALS_NOT_AVAILABLE) {}
DTabResourcesNotAvailable::DTabResourcesNotAvailable()
    : hnNotAvailableDialog(IDD_TAB_RESOURCES_NOT_AVAILABLE) {}
DTabTemplatesAndDemoProfilesNotAvailable::DTabTemplatesAndDemoProfilesNotAvailable()
    : hnNotAvailableDialog(IDD_TOOLBOX_NOT_AVAILABLE) {}

hnCatalogueTabCtrl::hnCatalogueTabCtrl(const char* className, std::unique_ptr<hnCatalogueTabDialog> tabDialog,
                                       std::unique_ptr<hnDialog> notAvailableDialog)
    : className_(className), notAvailable_(std::move(notAvailableDialog)) {
    addTabDialog(std::move(tabDialog));
}

hnCatalogueTabCtrl::~hnCatalogueTabCtrl() {
    destroyDialogs();
}

void hnCatalogueTabCtrl::addTabDialog(std::unique_ptr<hnCatalogueTabDialog> tabDialog) {
    Group group;
    group.dialog = std::move(tabDialog);
    groups_.push_back(std::move(group));
}

std::string hnCatalogueTabCtrl::groupListPath(std::size_t group) const {
    return group < groups_.size() ? groups_[group].listPath : std::string();
}

void hnCatalogueTabCtrl::destroyDialogs() {
    for (Group& group : groups_)
        group.dialog->destroy();
    notAvailable_->destroy();
}

bool hnCatalogueTabCtrl::busy() const {
    for (const Group& group : groups_)
        if (group.dialog->operationRunning())
            return true;
    return false;
}

void hnCatalogueTabCtrl::sharePictures(hnPictureCache* cache) {
    for (Group& group : groups_)
        group.dialog->sharedPictures = cache;
}

void hnCatalogueTabCtrl::preTranslateMessage(MSG* msg) {
    for (Group& group : groups_)
        if (group.dialog->hwnd())
            group.dialog->preTranslateMessage(msg);
}

bool hnCatalogueTabCtrl::attach(HWND page, int controlId) {
    page_ = page;
    hwnd_ = ::GetDlgItem(page, controlId);
    return hwnd_ != nullptr;
}

RECT fillCatalogueTabs(HWND tab, HWND page, const std::vector<std::string>& names,
                       const std::string& selectName) {
    auto insert = [&](const std::string& text) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text.c_str());
        if (::SendMessageA(tab, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0)
            hnAppBase::current()->prompter().messageBox(page, "Unable to add Tab item. Please try again.",
                                                        kInstallerCaption, MB_OK);
    };
    if (names.empty())
        insert(" ");
    for (auto name = names.rbegin(); name != names.rend(); ++name)
        insert(*name);

    RECT client;
    ::GetClientRect(tab, &client);
    TabCtrl_AdjustRect(tab, FALSE, &client);
    ::MapWindowPoints(tab, page, reinterpret_cast<POINT*>(&client), 2);

    int selected = 0;
    if (!selectName.empty())
        for (std::size_t i = 0; i < names.size(); ++i)
            if (hnEqualsNoCase(names[i], selectName)) {
                selected = static_cast<int>(i);
                break;
            }
    TabCtrl_SetCurSel(tab, selected);
    return client;
}

int hnCatalogueTabCtrl::setTabs(const std::string& category_, const std::vector<std::string>& names,
                                const std::string& selectName, const std::string& listPath,
                                const std::string& cacheFolder_) {
    return setGroupedTabs(category_, {names}, {listPath}, selectName, cacheFolder_);
}

int hnCatalogueTabCtrl::setGroupedTabs(const std::string& category_,
                                       const std::vector<std::vector<std::string>>& groups,
                                       const std::vector<std::string>& listPaths, const std::string& selectName,
                                       const std::string& cacheFolder_) {
    std::vector<std::string> names;
    bool sameLists = true;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        const std::vector<std::string> none;
        const std::vector<std::string>& group = i < groups.size() ? groups[i] : none;
        std::string path = i < listPaths.size() ? listPaths[i] : std::string();
        sameLists = sameLists && groups_[i].tabs == group.size() && groups_[i].listPath == path;
        groups_[i].listPath = path;
        groups_[i].tabs = group.size();
        names.insert(names.end(), group.begin(), group.end());
    }
    category = category_;
    cacheFolder = cacheFolder_;
    // The same tabs with the same selection (a page activation, as a rule)
    // keep the tab dialog; it shows its rows again from the list.
    if (hwnd_ && !names.empty() && sameLists && names == tabNames && !showingNotAvailable &&
        selectedGroup().dialog->hwnd() &&
        hnEqualsNoCase(selectedTabName(), selectName.empty() ? names.front() : selectName)) {
        refreshTabContents();
        return 1;
    }
    tabNames.clear();
    if (!hwnd_)
        return 1;
    TabCtrl_DeleteAllItems(hwnd_);
    showingNotAvailable = names.empty();
    tabNames = names;
    displayRect = fillCatalogueTabs(hwnd_, page_, tabNames, selectName);
    createTabContents();
    return 1;
}

void hnCatalogueTabCtrl::clearTabs() {
    if (busy())
        return;
    tabNames.clear();
    for (Group& group : groups_)
        group.tabs = 0;
    destroyDialogs();
}

int hnCatalogueTabCtrl::selectedIndex() const {
    int selected = hwnd_ ? TabCtrl_GetCurSel(hwnd_) : 0;
    return selected < 0 ? 0 : selected;
}

const hnCatalogueTabCtrl::Group& hnCatalogueTabCtrl::selectedGroup() const {
    std::size_t index = static_cast<std::size_t>(selectedIndex());
    for (const Group& group : groups_) {
        if (index < group.tabs)
            return group;
        index -= group.tabs;
    }
    return groups_.front();
}

std::string hnCatalogueTabCtrl::selectedTabName() const {
    if (!hwnd_ || showingNotAvailable)
        return "";
    int selected = TabCtrl_GetCurSel(hwnd_);
    if (selected < 0 || static_cast<std::size_t>(selected) >= tabNames.size())
        return "";
    return tabNames[static_cast<std::size_t>(selected)];
}

void hnCatalogueTabCtrl::placeChild(HWND child) {
    ::SetWindowPos(child, HWND_TOP, displayRect.left, displayRect.top, displayRect.right - displayRect.left,
                   displayRect.bottom - displayRect.top, SWP_SHOWWINDOW);
    ::EnableWindow(child, TRUE);
    ::UpdateWindow(page_);
    ::InvalidateRect(page_, nullptr, TRUE);
}

std::string hnCatalogueTabCtrl::selectedTabKey() const {
    int selected = selectedIndex();
    std::string name;
    if (static_cast<std::size_t>(selected) < tabNames.size())
        name = tabNames[static_cast<std::size_t>(selected)];
    if (!name.empty())
        ::CharLowerBuffA(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

bool hnCatalogueTabCtrl::refreshTabContents() {
    if (busy()) {
        hnDebugOutF("%s::createTabContents() - Tab dialog busy, not rebuilt\n", className_.c_str());
        return false;
    }
    const Group& group = selectedGroup();
    group.dialog->showTab(group.listPath, selectedTabKey(), cacheFolder, category);
    return true;
}

bool hnCatalogueTabCtrl::selectTab(const std::string& name) {
    if (!hwnd_ || showingNotAvailable)
        return false;
    for (std::size_t i = 0; i < tabNames.size(); ++i) {
        if (!hnEqualsNoCase(tabNames[i], name))
            continue;
        TabCtrl_SetCurSel(hwnd_, static_cast<int>(i));
        return createTabContents();
    }
    return false;
}

bool hnCatalogueTabCtrl::createTabContents() {
    if (busy()) {
        // The rows of the running operation must outlive its handler.
        hnDebugOutF("%s::createTabContents() - Tab dialog busy, not rebuilt\n", className_.c_str());
        return false;
    }
    destroyDialogs();
    if (showingNotAvailable) {
        if (!notAvailable_->create(page_)) {
            hnDebugOutF("%s::createTabContents() - Unable to create tab dialog", className_.c_str());
            return false;
        }
        placeChild(notAvailable_->hwnd());
        return true;
    }
    const Group& group = selectedGroup();
    if (!group.dialog->create(page_)) {
        hnDebugOutF("%s::createTabContents() - Unable to create tab dialog", className_.c_str());
        return false;
    }
    placeChild(group.dialog->hwnd());
    group.dialog->showTab(group.listPath, selectedTabKey(), cacheFolder, category);
    return true;
}

DProfilesTabCtrl::DProfilesTabCtrl()
    : hnCatalogueTabCtrl("DProfilesTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabProfiles2D()),
                         std::unique_ptr<hnDialog>(new DTabProfilesNotAvailable())) {}

DTemplatesTabCtrl::DTemplatesTabCtrl()
    : hnCatalogueTabCtrl("DTemplatesTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabTemplates()),
                         std::unique_ptr<hnDialog>(new DTabTemplatesNotAvailable())) {}

DTutorialsTabCtrl::DTutorialsTabCtrl()
    : hnCatalogueTabCtrl("DTutorialsTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabTutorials()),
                         std::unique_ptr<hnDialog>(new DTabTutorialsNotAvailable())) {}

DResorcesTabCtrl::DResorcesTabCtrl()
    : hnCatalogueTabCtrl("DResorcesTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabResources()),
                         std::unique_ptr<hnDialog>(new DTabResourcesNotAvailable())) {}
