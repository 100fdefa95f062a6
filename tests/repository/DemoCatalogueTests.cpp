// The demo repository's content catalogues as the catalogue pages fetch them:
// lists that point back at the server that served them, archives that unpack
// into the folders the rows look for, and Python 3.6 lists of their own.
#include <gtest/gtest.h>

#include <string>

#include "app/FileHelpers.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueSources.h"
#include "catalogue/TabDialogs.h"
#include "download/Unzipper.h"
#include "install/InstallManager.h"
#include "pages/DemoProfilesPage.h"
#include "pages/Py36DemoProfilesPage.h"
#include "pages/Py36TemplatesPage.h"
#include "pages/TemplatesPage.h"
#include "support/TestSupport.h"

namespace {

std::string repositoryUrl() {
    char value[256] = {};
    ::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", value, sizeof(value));
    return value;
}

// Downloads and unpacks every entry of a page's list into `folder`.
int unpackAll(kdDCataloguePageBase& page, const std::string& folder) {
    hnInstallManagerBase manager;
    if (page.buildContentElements(&manager) < 1)
        return -1;
    bool skip = true;
    manager.downloadAll(false, &skip);
    int unpacked = 0;
    for (unsigned i = 0; i < manager.count(); ++i) {
        std::string archive = manager.item(i)->downloadFolder + "\\" + manager.item(i)->fileName;
        if (extractArchiveToFolder(archive.c_str(), folder.c_str()))
            ++unpacked;
    }
    return unpacked;
}

void clearCache(CatalogueKind kind) {
    std::string folder = cacheFolder(catalogueSource(kind).cacheFolder);
    deleteFolderTree(folder.c_str(), folder.c_str());
}

} // namespace

TEST(DemoCatalogues, ProfilesPointBackAtTheServerAndUnpackAsInstalledProfiles) {
    ScriptedPrompter prompter;
    ScratchFolder scratch;
    clearCache(CatalogueKind::DemoProfiles);
    kdDInstallDemoProfiles page("Test - Demonstration Profiles");
    ASSERT_EQ(1, page.refreshCatalogue(true, false));
    std::vector<std::string> groups;
    page.list.distinctGroups(&groups);
    EXPECT_EQ((std::vector<std::string>{"2D", "3D", "Communication"}), groups);
    int inFirstGroup = 0;
    for (const CatalogueEntry& entry : page.list.entries) {
        EXPECT_EQ(0u, entry.URL.find(repositoryUrl() + "/")) << entry.URL;
        inFirstGroup += entry.group == "2D";
    }
    EXPECT_GE(inFirstGroup, 13);
    EXPECT_EQ(static_cast<int>(page.list.entries.size()), unpackAll(page, scratch.path()));
    std::string version;
    EXPECT_TRUE(readInstalledProfile(scratch.file("BlobInspection"), version));
    EXPECT_EQ("1.0.0.1", version);
    EXPECT_TRUE(readInstalledProfile(scratch.file("EdgeGauge"), version));
    EXPECT_EQ("1.0.0.0", version); // differs from the offered 1.0.0.2
    EXPECT_TRUE(isWebLink(page.list.entries[0].InfoURL));
    clearCache(CatalogueKind::DemoProfiles);
}

TEST(DemoCatalogues, TemplatesShowAllThreeStatesAndPython36ListsDiffer) {
    ScriptedPrompter prompter;
    ScratchFolder scratch;
    clearCache(CatalogueKind::Templates);
    kdDInstallTemplates page("Test - OTC");
    ASSERT_EQ(1, page.refreshCatalogue(true, false));
    ASSERT_GT(unpackAll(page, scratch.path()), 0);
    std::string folder = scratch.path() + "\\", installed, found;
    EXPECT_EQ(0, DTabTemplates::detectTemplateState(folder, "BlobCounter", "1.0.0.2", installed, found));
    EXPECT_EQ(1, DTabTemplates::detectTemplateState(folder, "EdgeFinder", "1.0.0.5", installed, found));
    EXPECT_EQ(2, DTabTemplates::detectTemplateState(folder, "ColourMatch", "1.0.0.1", installed, found));
    EXPECT_EQ(1, DTabTemplates::detectTemplateState(folder, "NightlyTool", "1.0.0.0", installed, found));
    EXPECT_TRUE(fileExists(scratch.file("NightlyTool_latest")));

    kdDInstallPy36Templates templates36("Test - OTC (Python 36)");
    kdDInstallPy36DemoProfiles demo36("Test - Demonstration Profiles (Python 36)");
    ASSERT_EQ(1, templates36.refreshCatalogue(true, false));
    ASSERT_EQ(1, demo36.refreshCatalogue(true, false));
    std::vector<std::string> groups;
    templates36.list.distinctGroups(&groups);
    EXPECT_EQ((std::vector<std::string>{"Python 3.6"}), groups);
    demo36.list.distinctGroups(&groups);
    EXPECT_EQ((std::vector<std::string>{"Python 3.6", "Deep Learning"}), groups);
    EXPECT_NE(page.installManager->item(0)->downloadFolder,
              templates36.installManager->item(0)->downloadFolder);
    for (CatalogueKind kind :
         {CatalogueKind::Templates, CatalogueKind::TemplatesPy36, CatalogueKind::DemoProfilesPy36})
        clearCache(kind);
}

TEST(DemoCatalogues, EveryListIsServed) {
    ScriptedPrompter prompter;
    for (CatalogueKind kind : {CatalogueKind::Tutorials, CatalogueKind::Resources,
                               CatalogueKind::Py27Packages, CatalogueKind::Py36Packages}) {
        std::string name, status, progress;
        std::unique_ptr<hnInstallationElement> element = createListElement(kind, &name, &status, &progress);
        EXPECT_TRUE(fetchCatalogueList(*element, true, false, false, nullptr, nullptr)) << element->fileName;
        std::vector<std::string> sections;
        EXPECT_TRUE(readIniSectionNames(localListPath(*element), sections));
        EXPECT_FALSE(sections.empty()) << element->fileName;
        std::string folder = element->downloadFolder;
        deleteFolderTree(folder.c_str(), folder.c_str());
    }
}
