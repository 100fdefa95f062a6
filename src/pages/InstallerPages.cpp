#include "pages/InstallerPages.h"

#include "app/InstallerServices.h"
#include "app/Text.h"
#include "pages/CoreComponentsPage.h"
#include "pages/CoreComponentsStatusPage.h"
#include "pages/DemoProfilesPage.h"
#include "pages/HalvenorUtilitiesPage.h"
#include "pages/IOSystemInstallationsPage.h"
#include "pages/ImportProfilesPage.h"
#include "pages/Modules2Page.h"
#include "pages/ModulesPage.h"
#include "pages/PreRequisitesPage.h"
#include "pages/Py27Extensions2Page.h"
#include "pages/Py27ExtensionsNewPage.h"
#include "pages/Py36DemoProfilesPage.h"
#include "pages/Py36Extensions2Page.h"
#include "pages/Py36ExtensionsNewPage.h"
#include "pages/Py36TemplatesPage.h"
#include "pages/ReleaseNotesPage.h"
#include "pages/ResourcesPage.h"
#include "pages/SummaryPage.h"
#include "pages/TemplatesPage.h"
#include "pages/ThirdPartyInstallations2Page.h"
#include "pages/ThirdPartyInstallationsPage.h"
#include "pages/ToolboxDeepformVisionPage.h"
#include "pages/ToolboxPy36DeepformVisionPage.h"
#include "pages/TutorialsPage.h"
#include "pages/Utilities2Page.h"
#include "pages/UtilitiesPage.h"
#include "pages/WelcomePage.h"

namespace {
std::string titleOf(const char* pageName) {
    return kdDKadrixSDKInstallerSheet::pageTitleOf(pageName);
}
} // namespace

kdDInstallerPages::kdDInstallerPages() {
    welcomePage.reset(new kdDInstallWelcomeBase(
        hnFormatText("%s - Welcome to %s System Management", kInstallerCaption, kProductName)));
    resourcesPage.reset(new kdDInstallOrvantoResourcesDynamic(titleOf("Orvanto Vision Resources")));
    releaseNotesPage.reset(new kdDInstallReleaseNotes(titleOf("Readme Notes")));
    preRequisitesPage.reset(new kdDInstallPreRequisites(titleOf("Prerequisite Installation")));
    coreComponentsPage.reset(new kdDInstallCoreComponentsSoftware(titleOf("Core Installation")));
    coreStatusPage.reset(new kdDInstallCoreComponentsSoftwareStatus(titleOf("Core Installation Status")));
    py27ExtensionsNewPage.reset(new kdDInstallPY27ExtensionsNew(titleOf("Recommended Orvanto Extensions")));
    toolboxPage.reset(new kdDInstallToolboxeDeepformVision(titleOf("Orvanto 3D Toolbox - Deepform Vision")));
    py27Extensions2Page.reset(new kdDInstallPY27Extensions2(titleOf("Optional Orvanto Extensions")));
    templatesPage.reset(new kdDInstallTemplates(titleOf("OTC - Orvanto Tool Components")));
    py36ExtensionsNewPage.reset(
        new kdDInstallPY36ExtensionsNew(titleOf("Recommended Orvanto Extensions (Python 36)")));
    toolboxPy36Page.reset(new kdDInstallToolboxePy36DeepformVision(
        titleOf("Orvanto 3D Toolbox - Deepform Vision (Python 36)")));
    py36Extensions2Page.reset(
        new kdDInstallPY36Extensions2(titleOf("Optional Orvanto Extensions (Python 36)")));
    py36TemplatesPage.reset(
        new kdDInstallPy36Templates(titleOf("OTC - Orvanto Tool Components (Python 36)")));
    summaryPage.reset(new kdDInstallSummaryOrvanto(titleOf("Installation Complete")));
    importProfilesPage.reset(new kdDInstallImportProfiles(titleOf("Import Orvanto Profiles")));
    demoProfilesPage.reset(new kdDInstallDemoProfiles(titleOf("Machine Vision Demonstration Profiles")));
    py36DemoProfilesPage.reset(
        new kdDInstallPy36DemoProfiles(titleOf("Machine Vision Demonstration Profiles (Python 36)")));
    tutorialsPage.reset(new kdDInstallTutorials(titleOf("Orvanto Vision Tutorials")));
    modulesPage.reset(new kdDInstallModules(titleOf("Orvanto Image Processing Options")));
    modules2Page.reset(new kdDInstallModules2(titleOf("Orvanto Modules")));
    thirdPartyPage.reset(new kdDInstall3rdPartyInstallations(titleOf("3rd Party Camera Drivers - 1")));
    thirdParty2Page.reset(new kdDInstall3rdPartyInstallations2(titleOf("3rd Party Camera Drivers - 2")));
    ioSystemPage.reset(new kdDInstallIOSystemInstallations(titleOf("3rd Party IO Drivers")));
    utilitiesPage.reset(new kdDInstallUtilities(titleOf("Optional Utility Software I")));
    utilities2Page.reset(new kdDInstallUtilities2(titleOf("Optional Utility Software II")));
    halvenorUtilitiesPage.reset(new kdDInstallHalvenorUtilities(titleOf("Halvenor Utilities")));
}

kdDInstallerPages::~kdDInstallerPages() = default;

std::vector<kdDPropertyPageBase*> kdDInstallerPages::all() const {
    return {welcomePage.get(),           resourcesPage.get(),         releaseNotesPage.get(),
            preRequisitesPage.get(),     coreComponentsPage.get(),    coreStatusPage.get(),
            py27ExtensionsNewPage.get(), toolboxPage.get(),           py27Extensions2Page.get(),
            templatesPage.get(),         py36ExtensionsNewPage.get(), toolboxPy36Page.get(),
            py36Extensions2Page.get(),   py36TemplatesPage.get(),     summaryPage.get(),
            importProfilesPage.get(),    demoProfilesPage.get(),      py36DemoProfilesPage.get(),
            tutorialsPage.get(),         modulesPage.get(),           modules2Page.get(),
            thirdPartyPage.get(),        thirdParty2Page.get(),       ioSystemPage.get(),
            utilitiesPage.get(),         utilities2Page.get(),        halvenorUtilitiesPage.get()};
}

std::vector<kdDPropertyPageBase*> kdDInstallerPages::head() const {
    return {welcomePage.get(),       resourcesPage.get(),      releaseNotesPage.get(),
            preRequisitesPage.get(), coreComponentsPage.get(), coreStatusPage.get()};
}

std::vector<kdDPropertyPageBase*> kdDInstallerPages::tail(int version) const {
    std::vector<kdDPropertyPageBase*> pages;
    if (version == 1)
        pages = {py36ExtensionsNewPage.get(), toolboxPy36Page.get(), py36Extensions2Page.get(),
                 py36TemplatesPage.get(),     summaryPage.get(),     importProfilesPage.get(),
                 py36DemoProfilesPage.get()};
    else
        pages = {py27ExtensionsNewPage.get(), toolboxPage.get(), py27Extensions2Page.get(),
                 templatesPage.get(),         summaryPage.get(), importProfilesPage.get(),
                 demoProfilesPage.get()};
    pages.insert(pages.end(), {tutorialsPage.get(), modulesPage.get(), modules2Page.get(),
                               thirdPartyPage.get(), thirdParty2Page.get(), ioSystemPage.get(),
                               utilitiesPage.get(), utilities2Page.get(), halvenorUtilitiesPage.get()});
    return pages;
}

std::vector<hnInstallManagerBase*> kdDInstallerPages::extraManagers() const {
    // The package pages' components appear only through a package set.
    return {py27ExtensionsNewPage->componentManager.get(), py36ExtensionsNewPage->componentManager.get(),
            preRequisitesPage->alternativeManager.get()};
}

std::unique_ptr<kdDSheetPages> createInstallerPages() {
    return std::unique_ptr<kdDSheetPages>(new kdDInstallerPages());
}

kdDInstallerPages& installerPages(const kdDKadrixSDKInstallerSheet& sheet) {
    return static_cast<kdDInstallerPages&>(sheet.pages());
}
