#pragma once
// Every page of the wizard, built once for the sheet that owns them.
#include <cstddef>
#include <memory>

#include "wizard/InstallerSheet.h"

class kdDInstallWelcomeBase;
class kdDInstallOrvantoResourcesDynamic;
class kdDInstallReleaseNotes;
class kdDInstallPreRequisites;
class kdDInstallCoreComponentsSoftware;
class kdDInstallCoreComponentsSoftwareStatus;
class kdDInstallPY27ExtensionsNew;
class kdDInstallToolboxeDeepformVision;
class kdDInstallPY27Extensions2;
class kdDInstallTemplates;
class kdDInstallPY36ExtensionsNew;
class kdDInstallToolboxePy36DeepformVision;
class kdDInstallPY36Extensions2;
class kdDInstallPy36Templates;
class kdDInstallSummaryOrvanto;
class kdDInstallImportProfiles;
class kdDInstallDemoProfiles;
class kdDInstallPy36DemoProfiles;
class kdDInstallTutorials;
class kdDInstallModules;
class kdDInstallModules2;
class kdDInstall3rdPartyInstallations;
class kdDInstall3rdPartyInstallations2;
class kdDInstallIOSystemInstallations;
class kdDInstallUtilities;
class kdDInstallUtilities2;
class kdDInstallHalvenorUtilities;

class kdDInstallerPages : public kdDSheetPages {
public:
    // `welcomeFirst`: only the welcome page is built now, the others by
    // buildNext(); otherwise every page is built here.
    explicit kdDInstallerPages(bool welcomeFirst = false);
    ~kdDInstallerPages() override;

    bool buildNext() override;
    bool complete() const override;

    std::vector<kdDPropertyPageBase*> all() const override;
    std::vector<kdDPropertyPageBase*> head() const override;
    std::vector<kdDPropertyPageBase*> tail(int version) const override;
    std::vector<hnInstallManagerBase*> extraManagers() const override;

    std::unique_ptr<kdDInstallWelcomeBase> welcomePage;
    std::unique_ptr<kdDInstallOrvantoResourcesDynamic> resourcesPage;
    std::unique_ptr<kdDInstallReleaseNotes> releaseNotesPage;
    std::unique_ptr<kdDInstallPreRequisites> preRequisitesPage;
    std::unique_ptr<kdDInstallCoreComponentsSoftware> coreComponentsPage;
    std::unique_ptr<kdDInstallCoreComponentsSoftwareStatus> coreStatusPage;
    std::unique_ptr<kdDInstallPY27ExtensionsNew> py27ExtensionsNewPage;
    std::unique_ptr<kdDInstallToolboxeDeepformVision> toolboxPage;
    std::unique_ptr<kdDInstallPY27Extensions2> py27Extensions2Page;
    std::unique_ptr<kdDInstallTemplates> templatesPage;
    std::unique_ptr<kdDInstallPY36ExtensionsNew> py36ExtensionsNewPage;
    std::unique_ptr<kdDInstallToolboxePy36DeepformVision> toolboxPy36Page;
    std::unique_ptr<kdDInstallPY36Extensions2> py36Extensions2Page;
    std::unique_ptr<kdDInstallPy36Templates> py36TemplatesPage;
    std::unique_ptr<kdDInstallSummaryOrvanto> summaryPage;
    std::unique_ptr<kdDInstallImportProfiles> importProfilesPage;
    std::unique_ptr<kdDInstallDemoProfiles> demoProfilesPage;
    std::unique_ptr<kdDInstallPy36DemoProfiles> py36DemoProfilesPage;
    std::unique_ptr<kdDInstallTutorials> tutorialsPage;
    std::unique_ptr<kdDInstallModules> modulesPage;
    std::unique_ptr<kdDInstallModules2> modules2Page;
    std::unique_ptr<kdDInstall3rdPartyInstallations> thirdPartyPage;
    std::unique_ptr<kdDInstall3rdPartyInstallations2> thirdParty2Page;
    std::unique_ptr<kdDInstallIOSystemInstallations> ioSystemPage;
    std::unique_ptr<kdDInstallUtilities> utilitiesPage;
    std::unique_ptr<kdDInstallUtilities2> utilities2Page;
    std::unique_ptr<kdDInstallHalvenorUtilities> halvenorUtilitiesPage;

private:
    std::size_t built_ = 0; // rows of the later pages built
};

// `welcomeFirst`: the sheet shows the welcome page before the others exist
// (see kdDSheetPages::buildNext).
std::unique_ptr<kdDSheetPages> createInstallerPages(bool welcomeFirst = false);

// The pages of a sheet made with createInstallerPages.
kdDInstallerPages& installerPages(const kdDKadrixSDKInstallerSheet& sheet);
