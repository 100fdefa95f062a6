#include "pages/CataloguePage.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "catalogue/DocumentTabs.h"
#include "catalogue/TabDialogs.h"
#include "catalogue_ids.h"
#include "download/Unzipper.h"
#include "pages_ids.h"

namespace {
const int kRefreshButtonX = 835;
const int kInstallAllButtonX = 801;

bool folderWritable() {
    return installerServices() && installerServices()->applicationFolderWritable();
}

struct TabsOfVariant {
    CatalogueTabs tabs;
    int tabControlId;
    int refreshButtonId;
    hnCatalogueTabCtrl* (*make)();
};
const TabsOfVariant kTabs[] = {
    {CatalogueTabs::Profiles, IDC_PROFILES_TAB, IDC_PROFILES_REFRESH,
     [] { return static_cast<hnCatalogueTabCtrl*>(new DProfilesTabCtrl()); }},
    {CatalogueTabs::Templates, IDC_TEMPLATES_TAB, IDC_TEMPLATES_REFRESH,
     [] { return static_cast<hnCatalogueTabCtrl*>(new DTemplatesTabCtrl()); }},
    {CatalogueTabs::Tutorials, IDC_TUTORIALS_TAB, IDC_TUTORIALS_REFRESH,
     [] { return static_cast<hnCatalogueTabCtrl*>(new DTutorialsTabCtrl()); }},
    {CatalogueTabs::Resources, IDC_RESOURCES_TAB, IDC_RESOURCES_REFRESH,
     [] { return static_cast<hnCatalogueTabCtrl*>(new DResorcesTabCtrl()); }},
};

// How a page's items are named in a component set, and the user folder the
// rows install into (the tutorials' rows know their own).
struct ItemsOfVariant {
    CatalogueTabs tabs;
    const char* keyPrefix;
    const char* contentFolder;
};
const ItemsOfVariant kItems[] = {
    {CatalogueTabs::Profiles, "Demo Profile: ", "Profiles"},
    {CatalogueTabs::Templates, "Template: ", "Templates"},
    {CatalogueTabs::Tutorials, "Tutorial: ", nullptr},
};

const ItemsOfVariant* itemsOf(CatalogueTabs tabs) {
    for (const ItemsOfVariant& entry : kItems)
        if (entry.tabs == tabs)
            return &entry;
    return nullptr;
}

const TabsOfVariant& tabsOf(CatalogueTabs tabs) {
    for (const TabsOfVariant& entry : kTabs)
        if (entry.tabs == tabs)
            return entry;
    return kTabs[0];
}
} // namespace

kdDCataloguePageVariant demoProfilesVariant(CatalogueKind kind) {
    return {
        kind,
        false,
        "Please click on the 'Install' button to download and update the required demo profile",
        "Please click on the 'Run' button to load the demo profile in Orvanto Vision Software and to try it",
        "Refresh Profiles List",
        "Using default list of demo profiles.",
        CatalogueTabs::Profiles,
        false,
        false};
}

kdDCataloguePageVariant templatesVariant(CatalogueKind kind) {
    return {kind,
            true,
            "Please click on the 'Install' button to download and update the required template",
            "",
            "Refresh Templates List",
            "Using default list of templates.",
            CatalogueTabs::Templates,
            false,
            false};
}

kdDCataloguePageVariant tutorialsVariant() {
    return {CatalogueKind::Tutorials,
            false,
            "Please click on the 'Install' button to download and update the required tutorial",
            "Please click on the 'PDF' button to view the tutorial document",
            "Refresh Tutorials List",
            "Using default list of tutorials.",
            CatalogueTabs::Tutorials,
            true,
            false};
}

kdDCataloguePageVariant resourcesVariant() {
    return {CatalogueKind::Resources,
            false,
            "Please click on the links to browse the resources",
            "",
            "Refresh Resources List",
            "Using default list of resources.",
            CatalogueTabs::Resources,
            true,
            true};
}

// Counts the page's operations; an activation that arrives meanwhile is run
// once the last one has ended (posted, so that no handler is on the stack).
class kdDCataloguePageBase::OperationScope {
public:
    explicit OperationScope(kdDCataloguePageBase& page) : page_(page) { ++page_.operationDepth_; }
    ~OperationScope() {
        if (--page_.operationDepth_ == 0 && page_.activationPending_ && page_.hwnd())
            ::PostMessageA(page_.hwnd(), kMsgDeferredActivation, 0, 0);
    }

private:
    kdDCataloguePageBase& page_;
};

kdDCataloguePageBase::kdDCataloguePageBase(UINT templateId, const std::string& title,
                                           const std::string& headerText,
                                           const kdDCataloguePageVariant& variant)
    : kdDPropertyPageBase(templateId, title, headerText), variant_(variant),
      tabControlId_(tabsOf(variant.tabs).tabControlId),
      refreshButtonId_(tabsOf(variant.tabs).refreshButtonId), tabCtrl_(tabsOf(variant.tabs).make()) {
    installHintText = variant.installHint;
    runHintText = variant.runHint;
    bindText(IDC_STATUS_AREA, &statusText);
    bindText(IDC_CATALOGUE_HINT_INSTALL, &installHintText);
    bindText(IDC_CATALOGUE_HINT_RUN, &runHintText);
    // The installer copy gathers the list from pages that were never shown.
    initInstallationElements();
    elementsInitialised = true;
    tabCtrl_->tabDialog().onOperationEnded = [this] {
        if (activationPending_ && operationDepth_ == 0 && hwnd())
            ::PostMessageA(hwnd(), kMsgDeferredActivation, 0, 0);
    };
    tabCtrl_->tabDialog().rowsRefused = [this] { return fetchingList(); };
}

kdDCataloguePageBase::~kdDCataloguePageBase() = default;

int kdDCataloguePageBase::initInstallationElements() {
    std::unique_ptr<hnInstallationElement> element =
        createListElement(variant_.kind, &listNameText, &listStatusText, &listProgressText);
    hnInstallationElement* elements[] = {element.get()};
    installManager->clearElements();
    installManager->setElements(1, elements);
    return 1;
}

int kdDCataloguePageBase::setupControls() {
    tabCtrl_->attach(hwnd(), tabControlId_);
    tabCtrl_->sharePictures(sheetPictures());
    setupImageButton(refreshButton, refreshButtonId_, IDP_REFRESH, variant_.refreshTooltip, kRefreshButtonX);
    if (variant_.templates)
        setupImageButton(installAllButton, IDC_TEMPLATES_INSTALL_ALL, IDP_DOWNLOAD_ARROW,
                         "Download and Install All Templates", kInstallAllButtonX);
    return 1;
}

bool kdDCataloguePageBase::onInitDialog() {
    kdDPropertyPageBase::onInitDialog();
    // The list is fetched afresh at the first activation, which follows at
    // once, on a worker; until it answers the cached list shows. The tabs are
    // built there, once.
    freshList_.setDue(folderWritable());
    return true;
}

bool kdDCataloguePageBase::operationRunning() const {
    return operationDepth_ > 0 || tabCtrl_->busy();
}

bool kdDCataloguePageBase::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Finish");
    ::ShowWindow(refreshButton.hwnd(), folderWritable() ? SW_SHOW : SW_HIDE);
    // The sheet re-selects the active page after its upgrade check (0x408),
    // and a row's modal download dialog delivers that: rebuilding the tabs
    // now would free the rows whose handler is still running.
    if (operationRunning())
        activationPending_ = true;
    else
        showActivation();
    return kdDPropertyPageBase::onSetActive();
}

void kdDCataloguePageBase::showActivation() {
    if (answerPending_) {
        applyFreshList();
        return;
    }
    hnInstallationElement* element = installManager->item(0);
    bool cached = element && fileExists(localListPath(*element));
    // Without any list the page fetches one on the worker too, rather than
    // waiting for it.
    if (element && hwnd() && !fetchingList() && (freshList_.due() || (!cached && folderWritable())))
        freshList_.start(hwnd(), *element);
    if (fetchingList())
        showList(cached);
    else
        refreshCatalogue(false, false);
}

void kdDCataloguePageBase::applyFreshList() {
    if (operationRunning()) {
        answerPending_ = true;
        activationPending_ = true;
        return;
    }
    answerPending_ = false;
    freshList_.adopt();
    showListWhenFree(); // a failed download leaves the cached list, which shows as it did
}

void kdDCataloguePageBase::showListWhenFree() {
    if (operationRunning()) {
        activationPending_ = true;
        return;
    }
    hnInstallationElement* element = installManager->item(0);
    showList(element && fileExists(localListPath(*element)));
}

void kdDCataloguePageBase::runDeferredActivation() {
    if (!activationPending_ || operationRunning())
        return;
    activationPending_ = false;
    showActivation();
}

bool kdDCataloguePageBase::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kMsgDeferredActivation) {
        runDeferredActivation();
        result = 0;
        return true;
    }
    if (message == hnFreshList::kAnsweredMessage) {
        if (freshList_.take(wParam))
            applyFreshList();
        result = 0;
        return true;
    }
    return kdDPropertyPageBase::onMessage(message, wParam, lParam, result);
}

bool kdDCataloguePageBase::onKillActive() {
    freshList_.stop(); // one still on its way is fetched at the next activation
    return kdDPropertyPageBase::onKillActive();
}

bool kdDCataloguePageBase::onQueryCancel() {
    freshList_.stop();
    return kdDPropertyPageBase::onQueryCancel();
}

void kdDCataloguePageBase::onDestroy() {
    freshList_.stop();
    tabCtrl_->sharePictures(nullptr);
    kdDPropertyPageBase::onDestroy();
}

bool kdDCataloguePageBase::onCommand(WORD id, WORD code, HWND control) {
    // The list file and the rows are not to be touched until the fresh list
    // has answered.
    if (code == BN_CLICKED && fetchingList() &&
        (id == refreshButtonId_ || (variant_.templates && id == IDC_TEMPLATES_INSTALL_ALL))) {
        hnDebugOut("kdDCataloguePageBase::onCommand - the fresh list is still on its way\n");
        return true;
    }
    if (code == BN_CLICKED && id == refreshButtonId_) {
        refreshCatalogue(true, true);
        return true;
    }
    if (code == BN_CLICKED && variant_.templates && id == IDC_TEMPLATES_INSTALL_ALL) {
        installAllTemplates();
        return true;
    }
    return kdDPropertyPageBase::onCommand(id, code, control);
}

bool kdDCataloguePageBase::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (header && header->hwndFrom == tabCtrl_->hwnd() && header->code == TCN_SELCHANGE) {
        tabCtrl_->createTabContents();
        result = 0;
        return true;
    }
    return kdDPropertyPageBase::onNotify(id, header, result);
}

bool kdDCataloguePageBase::preTranslateMessage(MSG* msg) {
    tabCtrl_->preTranslateMessage(msg);
    return kdDPropertyPageBase::preTranslateMessage(msg);
}

int kdDCataloguePageBase::refreshCatalogue(bool forceDownload, bool showMessages) {
    if (operationRunning()) {
        activationPending_ = true;
        return -1;
    }
    OperationScope scope(*this);
    hnInstallationElement* element = installManager->item(0);
    if (!element)
        return -1;
    // This download answers for the fresh list: one on its way is ended.
    if (fetchingList() && (forceDownload || !fileExists(localListPath(*element))))
        freshList_.drop();
    HWND owner = hwnd() ? hwnd() : appMainWindow();
    bool available =
        fetchCatalogueList(*element, forceDownload, showMessages, showMessages || variant_.alwaysTellsDefault,
                           variant_.usingDefaultMessage, owner);
    return showList(available);
}

int kdDCataloguePageBase::showList(bool available) {
    OperationScope scope(*this); // prepareContent may run a modal download
    std::string remembered = hwnd() ? tabCtrl_->selectedTabName() : std::string();
    hnInstallationElement* element = installManager->item(0);
    if (!element)
        return -1;
    std::string path = localListPath(*element);
    const CatalogueSource& source = catalogueSource(variant_.kind);
    std::vector<std::string> groups;
    if (available && variant_.iniList) {
        std::vector<std::string> sections;
        readIniSectionNames(path, sections);
        groups = tabNamesOfSections(sections);
        prepareContent(path);
    } else if (available) {
        list.load(path.c_str());
        list.distinctGroups(&groups);
        prepareContent(path);
    }
    if (hwnd())
        tabCtrl_->setTabs(source.category, groups, remembered, path, source.cacheFolder);
    return available ? 1 : -1;
}

int kdDCataloguePageBase::buildContentElements(hnInstallManagerBase* manager) {
    return buildNamedContentElements(manager, nullptr);
}

int kdDCataloguePageBase::buildNamedContentElements(hnInstallManagerBase* manager,
                                                    std::vector<std::string>* folderNames) {
    hnInstallationElement* element = installManager->item(0);
    if (!manager || !element)
        return -1;
    const CatalogueSource& source = catalogueSource(variant_.kind);
    return buildCatalogueContentElements(manager, *element, list, source.cacheFolder, source.category,
                                         &contentNameText, &contentStatusText, &contentProgressText,
                                         folderNames);
}

int kdDCataloguePageBase::installAllTemplates() {
    if (operationRunning() || fetchingList())
        return -1;
    int result = 1;
    {
        OperationScope scope(*this);
        std::string templatesFolder = userContentFolder("Templates");
        hnInstallManagerBase manager;
        std::vector<std::string> folderNames;
        if (templatesFolder.empty() || !CUnzipper::ensureFolder(templatesFolder) ||
            buildNamedContentElements(&manager, &folderNames) < 1) {
            hnAppBase::current()->prompter().messageBox(
                hwnd(), "Unable to get list of available templates. Please try again.", "Error", MB_OK);
            return -1;
        }
        if (manager.count() > 0) {
            bool skipAllErrors = false;
            runDownloadAllOf(&skipAllErrors, &manager);
        }
        for (unsigned i = 0; i < manager.count(); ++i) {
            const hnInstallationElement& element = *manager.item(i);
            std::string archive;
            if (i >= folderNames.size() || !hnJoinPath(archive, element.downloadFolder, element.fileName) ||
                !fileExists(archive) ||
                !extractArchiveToFolder(archive.c_str(), templatesFolder.c_str(),
                                        templateEntryPrefix(folderNames[i]).c_str()))
                result = -1;
        }
    }
    refreshCatalogue(false, false);
    if (result < 0)
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Unable to install one or more templates. Please try again.", "Error", MB_OK);
    return result;
}

std::vector<kdDCataloguePageBase::ListedItem> kdDCataloguePageBase::listedItems() {
    std::vector<ListedItem> found;
    const ItemsOfVariant* kind = itemsOf(variant_.tabs);
    hnInstallationElement* element = installManager->item(0);
    if (!kind || !element)
        return found;
    std::string path = localListPath(*element);
    if (!fileExists(path)) // as the page's first activation fetches it
        refreshCatalogue(false, false);
    auto add = [&](const std::string& name, const std::string& tab, const std::string& installed,
                   const std::string& offered) {
        for (const ListedItem& other : found)
            if (other.name == name)
                return; // a row of another tab shows the same item
        ListedItem listed;
        listed.item.kind = hnPageItem::Content;
        listed.item.key = kind->keyPrefix + name;
        listed.item.installed = installed;
        listed.item.offered = offered;
        listed.tab = tab;
        listed.name = name;
        found.push_back(listed);
    };
    if (!kind->contentFolder) {
        for (const hnTutorialState& tutorial : hnCachedTutorials())
            add(tutorial.name, tutorial.tab, tutorial.installed ? "Installed" : "", "");
        return found;
    }
    CatalogueList current;
    current.load(path.c_str());
    std::string folder = userContentFolder(kind->contentFolder);
    for (const CatalogueEntry& entry : current.entries) {
        std::string folderName = entry.ClassName.empty() ? entry.Name : entry.ClassName, installed;
        // Only names the rows accept: nothing else is read from the disk.
        if (!folder.empty() && isPlainNameInFolder(folder, folderName)) {
            std::string version, installedFolder;
            if (variant_.tabs == CatalogueTabs::Profiles) {
                if (readInstalledProfile(folder + folderName, version))
                    installed = version.empty() ? "Installed" : version;
            } else {
                DTabTemplates::detectTemplateState(folder, folderName, entry.VersionLabel, version,
                                                   installedFolder);
                if (!installedFolder.empty())
                    installed = version;
            }
        }
        add(entry.Name, entry.group, installed, entry.VersionLabel);
    }
    return found;
}

std::vector<hnPageItem> kdDCataloguePageBase::items() {
    std::vector<hnPageItem> found;
    for (const ListedItem& listed : listedItems())
        found.push_back(listed.item);
    return found;
}

// What the row's button sends to its tab dialog, on the tab that shows it.
bool kdDCataloguePageBase::pressItemRow(const std::string& key, bool install) {
    if (!hwnd() || operationRunning() || fetchingList())
        return false;
    for (const ListedItem& listed : listedItems()) {
        if (!hnEqualsNoCase(listed.item.key, key))
            continue;
        hnCatalogueTabDialog& dialog = tabCtrl_->tabDialog();
        int index = tabCtrl_->selectTab(listed.tab) ? dialog.rowIndexOf(listed.name) : -1;
        if (index < 0 || !dialog.hwnd())
            return false;
        bool tutorial = variant_.tabs == CatalogueTabs::Tutorials;
        int operation = install ? (tutorial ? static_cast<int>(TutorialInstall) : OperationInstall)
                                : (tutorial ? static_cast<int>(TutorialRemove) : OperationUninstall);
        ::SendMessageA(dialog.hwnd(), kDynamicButtonMessage, static_cast<WPARAM>(index),
                       static_cast<LPARAM>(operation));
        return true;
    }
    return false;
}

bool kdDCataloguePageBase::installItem(const std::string& key) {
    return pressItemRow(key, true);
}

bool kdDCataloguePageBase::removeItem(const std::string& key) {
    return pressItemRow(key, false);
}
