#include "catalogue/CatalogueTabCtrl.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "catalogue/DocumentTabs.h"
#include "catalogue_ids.h"

hnCatalogueTabCtrl::hnCatalogueTabCtrl(const char* className, std::unique_ptr<hnCatalogueTabDialog> tabDialog,
                                       UINT notAvailableId)
    : tabDialogId(tabDialog->templateId()), notAvailableDialogId(notAvailableId), className_(className),
      tabDialog_(std::move(tabDialog)), notAvailable_(new hnDialog(notAvailableId)) {}

hnCatalogueTabCtrl::~hnCatalogueTabCtrl() {
    tabDialog_->destroy();
    notAvailable_->destroy();
}

bool hnCatalogueTabCtrl::attach(HWND page, int controlId) {
    page_ = page;
    hwnd_ = ::GetDlgItem(page, controlId);
    return hwnd_ != nullptr;
}

int hnCatalogueTabCtrl::setTabs(const std::string& category_, const std::vector<std::string>& names,
                                const std::string& selectName, const std::string& listPath_,
                                const std::string& cacheFolder_) {
    listPath = listPath_;
    cacheFolder = cacheFolder_;
    category = category_;
    // The same tabs with the same selection (a page activation, as a rule)
    // keep the tab dialog; it shows its rows again from the list.
    if (hwnd_ && !names.empty() && names == tabNames && !showingNotAvailable && tabDialog_->hwnd() &&
        hnEqualsNoCase(selectedTabName(), selectName.empty() ? names.front() : selectName)) {
        refreshTabContents();
        return 1;
    }
    tabNames.clear();
    if (!hwnd_)
        return 1;
    TabCtrl_DeleteAllItems(hwnd_);
    showingNotAvailable = names.empty();
    auto insert = [this](int position, const std::string& text) {
        TCITEMA tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(text.c_str());
        if (::SendMessageA(hwnd_, TCM_INSERTITEMA, static_cast<WPARAM>(position),
                           reinterpret_cast<LPARAM>(&tab)) < 0)
            hnAppBase::current()->prompter().messageBox(page_, "Unable to add Tab item. Please try again.",
                                                        kInstallerCaption, MB_OK);
    };
    if (showingNotAvailable) {
        insert(0, " ");
    } else {
        tabNames = names;
        for (auto name = tabNames.rbegin(); name != tabNames.rend(); ++name)
            insert(0, *name);
    }

    RECT client;
    ::GetClientRect(hwnd_, &client);
    TabCtrl_AdjustRect(hwnd_, FALSE, &client);
    ::MapWindowPoints(hwnd_, page_, reinterpret_cast<POINT*>(&client), 2);
    displayRect = client;

    int selected = 0;
    if (!showingNotAvailable && !selectName.empty())
        for (std::size_t i = 0; i < tabNames.size(); ++i)
            if (hnEqualsNoCase(tabNames[i], selectName)) {
                selected = static_cast<int>(i);
                break;
            }
    TabCtrl_SetCurSel(hwnd_, selected);
    createTabContents();
    return 1;
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
    int selected = hwnd_ ? TabCtrl_GetCurSel(hwnd_) : 0;
    if (selected < 0)
        selected = 0;
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
    tabDialog_->showTab(listPath, selectedTabKey(), cacheFolder, category);
    return true;
}

bool hnCatalogueTabCtrl::createTabContents() {
    if (busy()) {
        // The rows of the running operation must outlive its handler.
        hnDebugOutF("%s::createTabContents() - Tab dialog busy, not rebuilt\n", className_.c_str());
        return false;
    }
    tabDialog_->destroy();
    notAvailable_->destroy();
    if (showingNotAvailable) {
        if (!notAvailable_->create(page_)) {
            hnDebugOutF("%s::createTabContents() - Unable to create tab dialog", className_.c_str());
            return false;
        }
        placeChild(notAvailable_->hwnd());
        return true;
    }
    if (!tabDialog_->create(page_)) {
        hnDebugOutF("%s::createTabContents() - Unable to create tab dialog", className_.c_str());
        return false;
    }
    placeChild(tabDialog_->hwnd());
    tabDialog_->showTab(listPath, selectedTabKey(), cacheFolder, category);
    return true;
}

DProfilesTabCtrl::DProfilesTabCtrl()
    : hnCatalogueTabCtrl("DProfilesTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabProfiles2D()),
                         IDD_TAB_PROFILES_NOT_AVAILABLE) {}

DTemplatesTabCtrl::DTemplatesTabCtrl()
    : hnCatalogueTabCtrl("DTemplatesTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabTemplates()),
                         IDD_TAB_TEMPLATES_NOT_AVAILABLE) {}

DTutorialsTabCtrl::DTutorialsTabCtrl()
    : hnCatalogueTabCtrl("DTutorialsTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabTutorials()),
                         IDD_TAB_TUTORIALS_NOT_AVAILABLE) {}

DResorcesTabCtrl::DResorcesTabCtrl()
    : hnCatalogueTabCtrl("DResorcesTabCtrl", std::unique_ptr<hnCatalogueTabDialog>(new DTabResources()),
                         IDD_TAB_RESOURCES_NOT_AVAILABLE) {}
