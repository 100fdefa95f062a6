#pragma once
// What the two 3D toolbox pages share: the builds (four elements each: the
// build, its templates list, its demo-profiles list and its readme), the
// version selector over the builds, and the tab control with the templates
// and demo profiles of the installed build.
#include <string>
#include <vector>

#include "catalogue/CatalogueList.h"
#include "catalogue/ToolboxTabCtrl.h"
#include "pages/OptionalPageBase.h"

class hnInstallManagerBase;

// One build: its entry text without the Python suffix, and the stem of its
// file names and server folder.
struct hnToolboxBuild {
    const char* text; // "Deepform Vision 1.0.0.333"
    const char* stem; // "1.0.0.333"
};

// The fixed differences between the pages.
struct hnToolboxPageDefinition {
    const char* className;
    const char* templatesBuilder;
    const char* profilesBuilder;
    const char* suffix;     // appended to every element name: "" or " (Python 36)"
    const char* serverPath; // below the repository server, followed by the stem and "/"
    const char* cacheFolder;
    const char* category;
    std::vector<hnToolboxBuild> builds;
    int (*storeSelection)(const char*);
};

class kdDToolboxPageBase : public kdDOptionalPageBase {
public:
    static constexpr int kElementsPerBuild = 4;
    enum Offset { Build = 0, TemplatesList = 1, ProfilesList = 2, Readme = 3 };

    kdDToolboxPageBase(UINT templateId, const std::string& title, const std::string& pageName,
                       hnToolboxPageDefinition definition);

    bool isHiddenInExtensionsOnlyMode() override { return true; }
    int setupControls() override;

    static std::vector<hnOptionalComponent> elements(const hnToolboxPageDefinition& definition);

    void refreshVersionSelector();
    int processNewToolboxDeepformVisionInstallation();
    int updateListOfSections();
    int refreshContentLists(bool showMessages, bool refresh);
    bool installAllTemplates(int templatesListElement);
    void showToolboxInformation();
    // The content elements of a build's list (templates or demo profiles) at
    // element `listElement`; 1 or -1.
    int buildTemplatesElements(int listElement, hnInstallManagerBase* manager);
    int buildProfilesElements(int listElement, hnInstallManagerBase* manager);
    // The content elements of either list, chosen by the element's place in
    // its build; works without a window (the installer copy builds from a
    // page that was never shown). 1 or -1.
    int buildContentElements(int listElement, hnInstallManagerBase* manager);
    // The names of the content lists: every build's demo profiles, then
    // every build's templates.
    std::vector<std::string> contentListNames() const;
    // The first element of the selected build, -1 for "None" or none.
    int selectedBuild();

    hnVersionSelector& toolbox() { return *selector(0); }
    int installSelectorMember(int element) override;

    const hnToolboxPageDefinition pageDefinition;
    CatalogueList templatesList;
    CatalogueList profilesList;
    DToolboxDeepformVisionTabCtrl tabCtrl;
    hnImageButton refreshButton, installAllButton, infoButton;
    std::string contentNameText, contentStatusText, contentProgressText; // shown nowhere

protected:
    bool onCommand(WORD id, WORD code, HWND control) override;
    bool onNotify(int id, NMHDR* header, LRESULT& result) override;
    void afterActivation() override;
    bool preTranslateMessage(MSG* msg) override;

private:
    int buildContent(int listElement, hnInstallManagerBase* manager, const char* operation,
                     std::vector<std::string>* folderNames = nullptr);
    void debugLine(const char* operation, const char* text) const;
    std::string listPath(int element) const;
};
