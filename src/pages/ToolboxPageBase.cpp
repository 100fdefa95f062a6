#include "pages/ToolboxPageBase.h"

#include <commctrl.h>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "catalogue/CatalogueSources.h"
#include "catalogue/InformationDisplayDlg.h"
#include "catalogue_ids.h"
#include "download/StatusWords.h"
#include "download/Unzipper.h"
#include "install/InstallManager.h"
#include "pages_ids.h"

namespace {

const char* const kHint =
    "Please click on the 'Next' button to proceed with other components installation.\nOr "
    "click on the 'Finish' button to complete the installation.";
const char* const kQuestion =
    "Only one of the Deepform Vision Toolbox versions can be installed on a computer.\n\nDo you want to "
    "un-install existing Deepform Vision Toolbox version and install %s?\n\nPlease click on 'Yes' button to "
    "proceed and install %s.\nPlease click on 'No' to abort and to continue using existing Deepform Vision "
    "Toolbox version.\n";
const char* const kUnableToComplete = "Unable to complete the operation. Please try again";
const char* const kNoInformation = "Unable to locate the information. Please try again";
const int kRefreshButtonX = 835;
const int kInstallAllButtonX = 801;
const int kInfoButtonX = 535;

struct ContentRow {
    const char* nameSuffix;
    const char* fileSuffix;
};
const ContentRow kContentRows[] = {
    {"", "_Files.zip"},
    {" - Templates", "_OTC.txt"},
    {" - Demo Profiles", "_OTP.txt"},
    {" - Readme", "_readme.rtf"},
};

bool folderWritable() {
    return installerServices() && installerServices()->applicationFolderWritable();
}

hnSelectorDefinition selectorOf(const hnToolboxPageDefinition& page) {
    std::vector<int> builds;
    for (std::size_t k = 0; k < page.builds.size(); ++k)
        builds.push_back(static_cast<int>(k) * kdDToolboxPageBase::kElementsPerBuild);
    return {page.className,
            "processNewToolboxDeepformVisionInstallation",
            "installNewToolboxDeepformVision",
            IDC_TOOLBOX_COMBO,
            IDC_TOOLBOX_STATUS,
            builds,
            builds,
            {},
            kQuestion,
            std::string("3D Toolbox Build") + page.suffix};
}

} // namespace

std::vector<hnOptionalComponent> kdDToolboxPageBase::elements(const hnToolboxPageDefinition& definition) {
    std::vector<hnOptionalComponent> components;
    for (const hnToolboxBuild& build : definition.builds) {
        for (const ContentRow& row : kContentRows) {
            hnOptionalComponent component;
            component.name = std::string(build.text) + row.nameSuffix + definition.suffix;
            component.fileName = std::string(build.stem) + row.fileSuffix;
            component.switches = " ";
            component.serverPath = std::string(definition.serverPath) + build.stem + "/";
            component.cacheFolder = definition.cacheFolder;
            component.category = definition.category;
            component.refreshBeforeCopy = row.nameSuffix[0] != '\0';
            components.push_back(component);
        }
    }
    return components;
}

kdDToolboxPageBase::kdDToolboxPageBase(UINT templateId, const std::string& title, const std::string& pageName,
                                       hnToolboxPageDefinition definition)
    : kdDOptionalPageBase(templateId, title, pageName, kHint, elements(definition), {},
                          {"Remove", "Download Installables", false}),
      pageDefinition(std::move(definition)) {
    addSelector(selectorOf(pageDefinition));
}

void kdDToolboxPageBase::debugLine(const char* operation, const char* text) const {
    hnDebugOutF("%s::%s - %s\n", pageDefinition.className, operation, text);
}

int kdDToolboxPageBase::setupControls() {
    kdDOptionalPageBase::setupControls();
    tabCtrl.attach(hwnd(), IDC_TOOLBOX_TAB);
    setupImageButton(refreshButton, IDC_TEMPLATES_REFRESH, IDP_REFRESH,
                     "Refresh Templates and Demo Profiles List", kRefreshButtonX);
    setupImageButton(installAllButton, IDC_TEMPLATES_INSTALL_ALL, IDP_DOWNLOAD_ARROW,
                     "Download and Install All Templates", kInstallAllButtonX);
    // Right of the selector, which stands in the name column.
    setupImageButton(infoButton, IDC_TOOLBOX_INFO, IDP_INFO, "Click to view details", kInfoButtonX);
    endStatusAreaBefore(kInstallAllButtonX - 8);
    return 1;
}

void kdDToolboxPageBase::afterActivation() {
    ::ShowWindow(refreshButton.hwnd(), folderWritable() ? SW_SHOW : SW_HIDE);
    refreshVersionSelector();
}

int kdDToolboxPageBase::selectedBuild() {
    std::string text;
    if (!hnComboSelection(item(IDC_TOOLBOX_COMBO), text))
        return -1;
    return toolbox().elementOf(text);
}

std::string kdDToolboxPageBase::listPath(int element) const {
    const hnInstallationElement* list = installManager->item(static_cast<unsigned>(element));
    std::string path;
    if (!list || !hnJoinPath(path, list->downloadFolder, list->fileName))
        return "";
    return path;
}

void kdDToolboxPageBase::refreshVersionSelector() {
    hnVersionSelector& selector = toolbox();
    selector.refreshVersionSelector();
    int build = selector.elementOf(selector.currentSelection);
    bool installed = build >= 0 && statusOf(build) == kStatusInstalled;
    if (!installed)
        tabCtrl.clearTabs();
    for (int id : {IDC_TOOLBOX_TAB, IDC_TEMPLATES_INSTALL_ALL, IDC_TOOLBOX_INFO})
        ::ShowWindow(item(id), installed ? SW_SHOW : SW_HIDE);
    ::ShowWindow(item(IDC_TEMPLATES_REFRESH), installed && folderWritable() ? SW_SHOW : SW_HIDE);
    if (installed)
        refreshContentLists(false, false);
}

int kdDToolboxPageBase::processNewToolboxDeepformVisionInstallation() {
    return toolbox().processNewSelection();
}

int kdDToolboxPageBase::installSelectorMember(int element) {
    int indices[kElementsPerBuild];
    for (int i = 0; i < kElementsPerBuild; ++i)
        indices[i] = element + i;
    runInstallSelection(indices, kElementsPerBuild, false, true);
    // Only a build in place becomes the stored selection.
    if (statusOf(element) != kStatusInstalled)
        return -1;
    if (pageDefinition.storeSelection)
        pageDefinition.storeSelection(rowNames[static_cast<std::size_t>(element)].c_str());
    return 1;
}

int kdDToolboxPageBase::refreshContentLists(bool showMessages, bool refresh) {
    int build = selectedBuild();
    if (build < 0) {
        if (showMessages)
            appMessageBox(kUnableToComplete);
        return -1;
    }
    // Without a refresh the cached lists and readme serve; only missing ones
    // are fetched.
    std::vector<int> indices;
    for (int offset : {TemplatesList, ProfilesList, Readme}) {
        std::string path = listPath(build + offset);
        if (refresh || path.empty() || !fileExists(path))
            indices.push_back(build + offset);
    }
    if (!indices.empty())
        runInstallSelection(indices.data(), static_cast<int>(indices.size()), refresh, true);
    updateListOfSections();
    return 1;
}

int kdDToolboxPageBase::updateListOfSections() {
    hnVersionSelector& selector = toolbox();
    if (selector.currentSelection == "None")
        return 1;
    int build = selector.elementOf(selector.currentSelection);
    if (build < 0) {
        debugLine("updateListOfSections", "unexpected selection");
        return -1;
    }
    std::string remembered = hwnd() ? tabCtrl.selectedTabName() : std::string();
    std::string templatesPath = listPath(build + TemplatesList);
    std::string profilesPath = listPath(build + ProfilesList);
    bool templatesThere = !templatesPath.empty() && fileExists(templatesPath);
    bool profilesThere = !profilesPath.empty() && fileExists(profilesPath);
    templatesList.load(templatesPath.c_str());
    profilesList.load(profilesPath.c_str());
    std::vector<std::string> templateGroups, profileGroups;
    if (templatesThere || profilesThere) {
        templatesList.distinctGroups(&templateGroups);
        profilesList.distinctGroups(&profileGroups);
    }
    if (hwnd())
        tabCtrl.setToolboxTabs(templateGroups, profileGroups, remembered, templatesPath, profilesPath,
                               pageDefinition.category);
    return templatesThere || profilesThere ? 1 : -1;
}

int kdDToolboxPageBase::buildContent(int listElement, hnInstallManagerBase* manager, const char* operation,
                                     std::vector<std::string>* folderNames) {
    if (!manager) {
        debugLine(operation, "NULL pointer 1");
        return -1;
    }
    const hnInstallationElement* list =
        listElement >= 0 ? installManager->item(static_cast<unsigned>(listElement)) : nullptr;
    if (!list) {
        debugLine(operation, "Invalid index");
        return -1;
    }
    CatalogueList entries;
    return buildCatalogueContentElements(manager, *list, entries, cache::kToolbox, pageDefinition.category,
                                         &contentNameText, &contentStatusText, &contentProgressText,
                                         folderNames);
}

int kdDToolboxPageBase::buildTemplatesElements(int listElement, hnInstallManagerBase* manager) {
    return buildContent(listElement, manager, pageDefinition.templatesBuilder);
}

int kdDToolboxPageBase::buildProfilesElements(int listElement, hnInstallManagerBase* manager) {
    return buildContent(listElement, manager, pageDefinition.profilesBuilder);
}

int kdDToolboxPageBase::buildContentElements(int listElement, hnInstallManagerBase* manager) {
    int offset = listElement % kElementsPerBuild;
    if (listElement >= 0 && offset == TemplatesList)
        return buildTemplatesElements(listElement, manager);
    if (listElement >= 0 && offset == ProfilesList)
        return buildProfilesElements(listElement, manager);
    debugLine("buildContentElements", "Invalid index");
    return -1;
}

std::vector<std::string> kdDToolboxPageBase::contentListNames() const {
    std::vector<std::string> names;
    for (int offset : {ProfilesList, TemplatesList})
        for (const hnToolboxBuild& build : pageDefinition.builds)
            names.push_back(std::string(build.text) + kContentRows[offset].nameSuffix +
                            pageDefinition.suffix);
    return names;
}

bool kdDToolboxPageBase::installAllTemplates(int templatesListElement) {
    std::string templatesFolder = userContentFolder("Templates");
    hnInstallManagerBase manager;
    std::vector<std::string> folderNames;
    if (templatesFolder.empty() || !CUnzipper::ensureFolder(templatesFolder) ||
        buildContent(templatesListElement, &manager, pageDefinition.templatesBuilder, &folderNames) < 1) {
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Unable to get list of available templates. Please try again.", "Error", MB_OK);
        return false;
    }
    if (manager.count() > 0) {
        bool skipAllErrors = false;
        runDownloadAllOf(&skipAllErrors, &manager);
    }
    bool failed = false;
    for (unsigned i = 0; i < manager.count(); ++i) {
        const hnInstallationElement& element = *manager.item(i);
        std::string archive;
        if (i >= folderNames.size() || !hnJoinPath(archive, element.downloadFolder, element.fileName) ||
            !fileExists(archive) ||
            !extractArchiveToFolder(archive.c_str(), templatesFolder.c_str(),
                                    templateEntryPrefix(folderNames[i]).c_str()))
            failed = true;
    }
    updateListOfSections();
    if (failed)
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Unable to install one or more templates. Please try again.", "Error", MB_OK);
    return !failed;
}

void kdDToolboxPageBase::showToolboxInformation() {
    hnVersionSelector& selector = toolbox();
    int build = selector.elementOf(selector.currentSelection);
    std::string readme = build < 0 ? std::string() : listPath(build + Readme);
    if (readme.empty() || !fileExists(readme)) {
        appMessageBox(kNoInformation);
        return;
    }
    DInformationDisplayDlg dialog(selector.currentSelection, readme);
    dialog.doModal(hwnd());
}

bool kdDToolboxPageBase::onCommand(WORD id, WORD code, HWND control) {
    if (code == CBN_SELCHANGE && id == IDC_TOOLBOX_COMBO) {
        if (processNewToolboxDeepformVisionInstallation() > 0)
            refreshVersionSelector();
        return true;
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_TEMPLATES_REFRESH:
            refreshContentLists(true, true);
            return true;
        case IDC_TEMPLATES_INSTALL_ALL: {
            int build = selectedBuild();
            if (build < 0)
                appMessageBox(kUnableToComplete);
            else
                installAllTemplates(build + TemplatesList);
            return true;
        }
        case IDC_TOOLBOX_INFO:
            showToolboxInformation();
            return true;
        default:
            break;
        }
    }
    return kdDOptionalPageBase::onCommand(id, code, control);
}

bool kdDToolboxPageBase::onNotify(int id, NMHDR* header, LRESULT& result) {
    if (header && header->hwndFrom == tabCtrl.hwnd() && header->code == TCN_SELCHANGE) {
        tabCtrl.createTabContents();
        result = 0;
        return true;
    }
    return kdDOptionalPageBase::onNotify(id, header, result);
}

bool kdDToolboxPageBase::preTranslateMessage(MSG* msg) {
    tabCtrl.preTranslateMessage(msg);
    return kdDOptionalPageBase::preTranslateMessage(msg);
}
