#include "pages/InstallerPages.h"

#include <algorithm>

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

// The pages of `pages` that are built already.
std::vector<kdDPropertyPageBase*> built(std::vector<kdDPropertyPageBase*> pages) {
    pages.erase(std::remove(pages.begin(), pages.end(), nullptr), pages.end());
    return pages;
}

// The pages after the welcome page, in the order of construction; each row
// builds one.
using PageBuilder = void (*)(kdDInstallerPages&);
const PageBuilder kLaterPages[] = {
    [](kdDInstallerPages& p) {
        p.resourcesPage.reset(new kdDInstallOrvantoResourcesDynamic(titleOf("Orvanto Vision Resources")));
    },
    [](kdDInstallerPages& p) {
        p.releaseNotesPage.reset(new kdDInstallReleaseNotes(titleOf("Readme Notes")));
    },
    [](kdDInstallerPages& p) {
        p.preRequisitesPage.reset(new kdDInstallPreRequisites(titleOf("Prerequisite Installation")));
    },
    [](kdDInstallerPages& p) {
        p.coreComponentsPage.reset(new kdDInstallCoreComponentsSoftware(titleOf("Core Installation")));
    },
    [](kdDInstallerPages& p) {
        p.coreStatusPage.reset(
            new kdDInstallCoreComponentsSoftwareStatus(titleOf("Core Installation Status")));
    },
    [](kdDInstallerPages& p) {
        p.py27ExtensionsNewPage.reset(
            new kdDInstallPY27ExtensionsNew(titleOf("Recommended Orvanto Extensions")));
    },
    [](kdDInstallerPages& p) {
        p.toolboxPage.reset(
            new kdDInstallToolboxeDeepformVision(titleOf("Orvanto 3D Toolbox - Deepform Vision")));
    },
    [](kdDInstallerPages& p) {
        p.py27Extensions2Page.reset(new kdDInstallPY27Extensions2(titleOf("Optional Orvanto Extensions")));
    },
    [](kdDInstallerPages& p) {
        p.templatesPage.reset(new kdDInstallTemplates(titleOf("OTC - Orvanto Tool Components")));
    },
    [](kdDInstallerPages& p) {
        p.py36ExtensionsNewPage.reset(
            new kdDInstallPY36ExtensionsNew(titleOf("Recommended Orvanto Extensions (Python 36)")));
    },
    [](kdDInstallerPages& p) {
        p.toolboxPy36Page.reset(new kdDInstallToolboxePy36DeepformVision(
            titleOf("Orvanto 3D Toolbox - Deepform Vision (Python 36)")));
    },
    [](kdDInstallerPages& p) {
        p.py36Extensions2Page.reset(
            new kdDInstallPY36Extensions2(titleOf("Optional Orvanto Extensions (Python 36)")));
    },
    [](kdDInstallerPages& p) {
        p.py36TemplatesPage.reset(
            new kdDInstallPy36Templates(titleOf("OTC - Orvanto Tool Components (Python 36)")));
    },
    [](kdDInstallerPages& p) {
        p.summaryPage.reset(new kdDInstallSummaryOrvanto(titleOf("Installation Complete")));
    },
    [](kdDInstallerPages& p) {
        p.importProfilesPage.reset(new kdDInstallImportProfiles(titleOf("Import Orvanto Profiles")));
    },
    [](kdDInstallerPages& p) {
        p.demoProfilesPage.reset(
            new kdDInstallDemoProfiles(titleOf("Machine Vision Demonstration Profiles")));
    },
    [](kdDInstallerPages& p) {
        p.py36DemoProfilesPage.reset(
            new kdDInstallPy36DemoProfiles(titleOf("Machine Vision Demonstration Profiles (Python 36)")));
    },
    [](kdDInstallerPages& p) {
        p.tutorialsPage.reset(new kdDInstallTutorials(titleOf("Orvanto Vision Tutorials")));
    },
    [](kdDInstallerPages& p) {
        p.modulesPage.reset(new kdDInstallModules(titleOf("Orvanto Image Processing Options")));
    },
    [](kdDInstallerPages& p) { p.modules2Page.reset(new kdDInstallModules2(titleOf("Orvanto Modules"))); },
    [](kdDInstallerPages& p) {
        p.thirdPartyPage.reset(new kdDInstall3rdPartyInstallations(titleOf("3rd Party Camera Drivers - 1")));
    },
    [](kdDInstallerPages& p) {
        p.thirdParty2Page.reset(
            new kdDInstall3rdPartyInstallations2(titleOf("3rd Party Camera Drivers - 2")));
    },
    [](kdDInstallerPages& p) {
        p.ioSystemPage.reset(new kdDInstallIOSystemInstallations(titleOf("3rd Party IO Drivers")));
    },
    [](kdDInstallerPages& p) {
        p.utilitiesPage.reset(new kdDInstallUtilities(titleOf("Optional Utility Software I")));
    },
    [](kdDInstallerPages& p) {
        p.utilities2Page.reset(new kdDInstallUtilities2(titleOf("Optional Utility Software II")));
    },
    [](kdDInstallerPages& p) {
        p.halvenorUtilitiesPage.reset(new kdDInstallHalvenorUtilities(titleOf("Halvenor Utilities")));
    },
};
} // namespace

kdDInstallerPages::kdDInstallerPages(bool welcomeFirst) {
    welcomePage.reset(new kdDInstallWelcomeBase(
        hnFormatText("%s - Welcome to %s System Management", kInstallerCaption, kProductName)));
    if (!welcomeFirst)
        while (buildNext()) {
        }
}

bool kdDInstallerPages::buildNext() {
    if (built_ >= sizeof(kLaterPages) / sizeof(kLaterPages[0]))
        return false;
    kLaterPages[built_++](*this);
    return true;
}

bool kdDInstallerPages::complete() const {
    return built_ == sizeof(kLaterPages) / sizeof(kLaterPages[0]);
}

kdDInstallerPages::~kdDInstallerPages() = default;

std::vector<kdDPropertyPageBase*> kdDInstallerPages::all() const {
    return built({welcomePage.get(),           resourcesPage.get(),         releaseNotesPage.get(),
                  preRequisitesPage.get(),     coreComponentsPage.get(),    coreStatusPage.get(),
                  py27ExtensionsNewPage.get(), toolboxPage.get(),           py27Extensions2Page.get(),
                  templatesPage.get(),         py36ExtensionsNewPage.get(), toolboxPy36Page.get(),
                  py36Extensions2Page.get(),   py36TemplatesPage.get(),     summaryPage.get(),
                  importProfilesPage.get(),    demoProfilesPage.get(),      py36DemoProfilesPage.get(),
                  tutorialsPage.get(),         modulesPage.get(),           modules2Page.get(),
                  thirdPartyPage.get(),        thirdParty2Page.get(),       ioSystemPage.get(),
                  utilitiesPage.get(),         utilities2Page.get(),        halvenorUtilitiesPage.get()});
}

std::vector<kdDPropertyPageBase*> kdDInstallerPages::head() const {
    return built({welcomePage.get(), resourcesPage.get(), releaseNotesPage.get(), preRequisitesPage.get(),
                  coreComponentsPage.get(), coreStatusPage.get()});
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
    return built(pages);
}

std::vector<hnInstallManagerBase*> kdDInstallerPages::extraManagers() const {
    // The package pages' components appear only through a package set.
    if (!complete())
        return {};
    return {py27ExtensionsNewPage->componentManager.get(), py36ExtensionsNewPage->componentManager.get(),
            preRequisitesPage->alternativeManager.get()};
}

std::unique_ptr<kdDSheetPages> createInstallerPages(bool welcomeFirst) {
    return std::unique_ptr<kdDSheetPages>(new kdDInstallerPages(welcomeFirst));
}

kdDInstallerPages& installerPages(const kdDKadrixSDKInstallerSheet& sheet) {
    return static_cast<kdDInstallerPages&>(sheet.pages());
}
