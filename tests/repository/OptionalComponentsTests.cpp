// The optional component pages against the demo repository with the shipped
// actions: rows installed and removed from their buttons once per removal
// method, and each stand-in selector switched both ways.
#include <gtest/gtest.h>

#include <memory>

#include "app/FileHelpers.h"
#include "download/InstallationElement.h"
#include "main/InstallerApp.h"
#include "install/OcxRegistration.h"
#include "pages/IOSystemInstallationsPage.h"
#include "pages/PageTestSupport.h"
#include "pages/ThirdPartyInstallations2Page.h"
#include "pages/ThirdPartyInstallationsPage.h"
#include "pages/Utilities2Page.h"
#include "pages/UtilitiesPage.h"
#include "pages_ids.h"
#include "support/DemoRepository.h"
#include "support/TestSupport.h"

namespace {

// A page shown in a plain wizard, with every message box answered Yes.
template <typename Page> struct ShownPage {
    template <typename... Args> explicit ShownPage(Args... args) : page("Test", args...) {
        prompter.fallback = IDYES;
        host.reset(new PageHost(page));
        window = page.hwnd();
    }
    std::string status(int id) const { return controlText(window, id); }
    // What the page asked and which programs ran since it was shown.
    std::string explain() const {
        return describeRecords(prompter) + sessionLogLinesSince(logMark, "Program");
    }
    // Installs and removes a row from its buttons; the statuses it read.
    std::string installAndRemove(int install, int remove, int statusLabel) {
        clickButton(window, install);
        std::string installed = status(statusLabel);
        clickButton(window, remove);
        return installed + " / " + status(statusLabel);
    }
    std::size_t logMark = sessionLogMark();
    ScriptedPrompter prompter;
    Page page;
    std::unique_ptr<PageHost> host;
    HWND window = nullptr;
};

const hnSystemFacts kWindows7x64 = {true, "Windows 7"};
const char* const kBoth = "Installed / Not Installed";

std::string registeredControl() {
    std::string path;
    return registeredPlantOpcClientOcx(path) ? path : "";
}

} // namespace

TEST(OptionalComponents, CameraRowsAndTheMvsSelectorBothWays) {
    ShownPage<kdDInstall3rdPartyInstallations> open(kWindows7x64);
    // Windows Installer product; an InstallShield entry; a quiet uninstall command.
    EXPECT_EQ(kBoth, open.installAndRemove(IDC_CAM1_ZCL_INSTALL, IDC_CAM1_ZCL_REMOVE, IDC_CAM1_ZCL_STATUS))
        << open.explain();
    EXPECT_EQ(kBoth,
              open.installAndRemove(IDC_CAM1_FIREI_INSTALL, IDC_CAM1_FIREI_REMOVE, IDC_CAM1_FIREI_STATUS))
        << open.explain();
    EXPECT_EQ(kBoth, open.installAndRemove(IDC_CAM1_ICCAPTURE_INSTALL, IDC_CAM1_ICCAPTURE_REMOVE,
                                           IDC_CAM1_ICCAPTURE_STATUS))
        << open.explain();

    // The removal follows the uninstaller's copy by its image name.
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "MVS 2.4.0"));
    EXPECT_EQ("MVS 2.4.0", open.page.mvs().currentSelection);
    EXPECT_EQ("Status: Installed", open.status(IDC_CAM1_MVS_STATUS));
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "MVS 3.1.0"));
    EXPECT_EQ("MVS 3.1.0", open.page.mvs().currentSelection);
    EXPECT_EQ("Not Installed", open.page.rowStatus[12]);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "MVS 2.4.0"));
    EXPECT_EQ("MVS 2.4.0", open.page.mvs().currentSelection);
    EXPECT_EQ("Not Installed", open.page.rowStatus[14]);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "None"));
    EXPECT_EQ("None", open.page.mvs().currentSelection);
    for (const auto& record : open.prompter.records)
        EXPECT_EQ(0u, record.text.find("Only one of the MVS versions")) << record.text;
}

// The server hands out a new member that downloads but is no program: the
// switch puts the old member back, shows it, and says so.
TEST(OptionalComponents, SelectorSwitchWhoseNewMemberDoesNotInstallRestoresTheOldOne) {
    ShownPage<kdDInstall3rdPartyInstallations> open(kWindows7x64);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "MVS 3.0.0"));
    ASSERT_EQ("Status: Installed", open.status(IDC_CAM1_MVS_STATUS)) << open.explain();
    const hnInstallationElement* next = open.page.installManager->findElementByName("MVS 3.1.0");
    ASSERT_NE(nullptr, next);
    std::string cached = next->downloadFolder + "\\" + next->fileName;
    deleteFileForced(cached);
    ASSERT_TRUE(demoServerFault("garble" + demoServerPath(next->url)));

    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "MVS 3.1.0"));
    EXPECT_TRUE(demoServerFault("restore"));
    EXPECT_TRUE(fileExists(cached)) << "the new member was downloaded";
    EXPECT_EQ("MVS 3.0.0", open.page.mvs().currentSelection) << open.explain();
    EXPECT_EQ("MVS 3.0.0", controlText(open.window, IDC_CAM1_MVS_COMBO));
    EXPECT_EQ("Status: Installed", open.status(IDC_CAM1_MVS_STATUS));
    ASSERT_FALSE(open.prompter.records.empty());
    EXPECT_EQ("MVS 3.1.0 could not be installed; MVS 3.0.0 was restored.", open.prompter.records.back().text)
        << open.explain();
    deleteFileForced(cached);

    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "None"));
    EXPECT_EQ("None", open.page.mvs().currentSelection);
}

TEST(OptionalComponents, AvtSelectorBothWaysAndThePylonRuntimePackage) {
    ShownPage<kdDInstall3rdPartyInstallations2> open(kWindows7x64);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_AVT_COMBO, "AVT Universal Package 2.2.0"));
    EXPECT_EQ("AVT Universal Package 2.2.0", open.page.avt().currentSelection);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_AVT_COMBO, "AVT Fire Package 2.11"));
    EXPECT_EQ("AVT Fire Package 2.11", open.page.avt().currentSelection);
    EXPECT_EQ("Not Installed", open.page.rowStatus[8]);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_AVT_COMBO, "AVT Universal Package 2.2.0"));
    EXPECT_EQ("AVT Universal Package 2.2.0", open.page.avt().currentSelection);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_AVT_COMBO, "None"));
    EXPECT_EQ("None", open.page.avt().currentSelection);

    // A package of the page's bitness and a suite with its own uninstaller, both ways.
    const char* runtime = "Basler pylon 4 Runtime 4.0.1.3425 - 64 bit";
    const char* suite = "Pylon 6 Camera Software Suite 6.1.0.19674";
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_PYLON_COMBO, runtime));
    EXPECT_EQ("Status: Installed", open.status(IDC_CAM2_PYLON_STATUS));
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_PYLON_COMBO, suite));
    EXPECT_EQ(suite, open.page.pylon().currentSelection);
    EXPECT_EQ("Status: Installed", open.status(IDC_CAM2_PYLON_STATUS));
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_PYLON_COMBO, runtime));
    EXPECT_EQ(runtime, open.page.pylon().currentSelection);
    EXPECT_EQ("Not Installed", open.page.rowStatus[13]);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_PYLON_COMBO, "None"));
    EXPECT_EQ("None", open.page.pylon().currentSelection);
}

TEST(OptionalComponents, IoDriversInstallAndGoAgainFromTheirRows) {
    ShownPage<kdDInstallIOSystemInstallations> open;
    EXPECT_EQ(kBoth, open.installAndRemove(IDC_IO_FIRST_ROW + 3, IDC_IO_FIRST_ROW + 4, IDC_IO_FIRST_ROW + 1))
        << open.explain();
    // "ADAMAPAX .NET UTILITY V2.05.10 B04.MSI": a package under a name with blanks.
    EXPECT_EQ(kBoth,
              open.installAndRemove(IDC_IO_FIRST_ROW + 23, IDC_IO_FIRST_ROW + 24, IDC_IO_FIRST_ROW + 21))
        << open.explain();
}

TEST(OptionalComponents, RemoteControlSelectorFollowsTheUninstallersWindow) {
    ShownPage<kdDInstallUtilities2> open(kWindows7x64);
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL2_TEAMVIEWER_COMBO, "Orvanto TeamViewer 8 Host"));
    EXPECT_EQ("Orvanto TeamViewer 8 Host", open.page.teamViewer().currentSelection);
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL2_TEAMVIEWER_COMBO, "Orvanto TeamViewer 13 Host"));
    EXPECT_EQ("Orvanto TeamViewer 13 Host", open.page.teamViewer().currentSelection) << open.explain();
    EXPECT_EQ("Not Installed", open.page.rowStatus[8]);
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL2_TEAMVIEWER_COMBO, "Orvanto TeamViewer 8 Host"));
    EXPECT_EQ("Orvanto TeamViewer 8 Host", open.page.teamViewer().currentSelection);
    EXPECT_EQ("Not Installed", open.page.rowStatus[1]);
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL2_TEAMVIEWER_COMBO, "None"));
    EXPECT_EQ("None", open.page.teamViewer().currentSelection);

    EXPECT_EQ(kBoth, open.installAndRemove(IDC_UTIL2_TIGHTVNC_INSTALL, IDC_UTIL2_TIGHTVNC_REMOVE,
                                           IDC_UTIL2_TIGHTVNC_STATUS))
        << open.explain();
    EXPECT_EQ(kBoth, open.installAndRemove(IDC_UTIL2_TERATERM_INSTALL, IDC_UTIL2_TERATERM_REMOVE,
                                           IDC_UTIL2_TERATERM_STATUS))
        << open.explain();
    EXPECT_EQ(kBoth, open.installAndRemove(IDC_UTIL2_POWERTOYS_INSTALL, IDC_UTIL2_POWERTOYS_REMOVE,
                                           IDC_UTIL2_POWERTOYS_STATUS))
        << open.explain();
}

// A quick failure of the client's row, as seen now and then: the setup never
// starts because its download fails, and the blanket Yes answers the error.
// The row stays "Not Installed" and the case's explanation names the cause.
TEST(OptionalComponents, OpcClientWhoseDownloadFailsStaysNotInstalledAndSaysWhy) {
    const char* file = "Orvanto_PlantOPCClient_1.9.0.28_171112.exe";
    deleteFileForced(cacheFolder(cache::kUtilities) + "\\" + file); // fetched afresh
    char url[512] = {};
    bool served = ::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", url, sizeof(url)) > 0;
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", "http://127.0.0.1:1"); // nobody listens
    {
        ShownPage<kdDInstallUtilities> open;
        clickButton(open.window, IDC_UTIL1_OPCCLIENT_INSTALL);
        EXPECT_EQ("Not Installed", open.status(IDC_UTIL1_OPCCLIENT_STATUS));
        std::string why = open.explain();
        EXPECT_NE(std::string::npos, why.find("Unable to download file")) << why;
        EXPECT_EQ(std::string::npos, why.find(file)) << why; // no setup started
    }
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", served ? url : nullptr);
}

TEST(OptionalComponents, OpcClientModeRegistersTheControlOfItsFolder) {
    ShownPage<kdDInstallUtilities> open;
    EXPECT_FALSE(controlEnabled(open.window, IDC_UTIL1_MODE_COMBO));
    clickButton(open.window, IDC_UTIL1_OPCCLIENT_INSTALL);
    ASSERT_EQ("Installed", open.status(IDC_UTIL1_OPCCLIENT_STATUS)) << open.explain();
    EXPECT_TRUE(controlEnabled(open.window, IDC_UTIL1_MODE_COMBO));
    ASSERT_FALSE(open.page.opcClientFolder.empty());

    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_MODE_COMBO, "Siemens DA Automation"));
    std::string registered = registeredControl();
    EXPECT_NE(std::string::npos, registered.find("\\ActiveX\\Siemens_DAAutomation\\PlantOPCClientX.ocx"))
        << registered;
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_MODE_COMBO, "Siemens OPC Automation"));
    open.page.refreshOrvantoPlantOPCClientComboCtrl();
    EXPECT_EQ("Siemens OPC Automation", controlText(open.window, IDC_UTIL1_MODE_COMBO));
    EXPECT_EQ(1, CcleanUpApp::unRegOrvantoPlantOPCClientOCX());

    clickButton(open.window, IDC_UTIL1_OPCCLIENT_REMOVE);
    EXPECT_EQ("Not Installed", open.status(IDC_UTIL1_OPCCLIENT_STATUS));
    EXPECT_FALSE(controlEnabled(open.window, IDC_UTIL1_MODE_COMBO));
    EXPECT_EQ(kBoth, open.installAndRemove(IDC_UTIL1_WATCHDOG_INSTALL, IDC_UTIL1_WATCHDOG_REMOVE,
                                           IDC_UTIL1_WATCHDOG_STATUS))
        << open.explain();

    // An archive unpacked into a program folder, removed with its files.
    EXPECT_EQ(kBoth,
              open.installAndRemove(IDC_UTIL1_CYCLE_INSTALL, IDC_UTIL1_CYCLE_REMOVE, IDC_UTIL1_CYCLE_STATUS))
        << open.explain();

    // The OPC test client: an archived setup that hands over to a helper, and
    // an entry whose command is split at its first blank.
    const char* scout = "OPC Scout (SIMATIC NET OPC-Client V6.2-3133)";
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, scout));
    EXPECT_EQ(scout, controlText(open.window, IDC_UTIL1_PROGRAM_COMBO));
    EXPECT_EQ("Installed", open.status(IDC_UTIL1_PROGRAM_STATUS));
    // To the simulation server and back: one program in place of the other.
    const char* matrikon = "MatrikonOPC Server for Simulation";
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, matrikon));
    EXPECT_EQ(matrikon, controlText(open.window, IDC_UTIL1_PROGRAM_COMBO));
    EXPECT_EQ("Installed", open.status(IDC_UTIL1_PROGRAM_STATUS));
    EXPECT_EQ("Not Installed", open.page.rowStatus[3]);
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, scout));
    EXPECT_EQ(scout, controlText(open.window, IDC_UTIL1_PROGRAM_COMBO));
    EXPECT_EQ("Not Installed", open.page.rowStatus[5]);
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, "None"));
    EXPECT_EQ("None", controlText(open.window, IDC_UTIL1_PROGRAM_COMBO));
    EXPECT_EQ("Not Installed", open.page.rowStatus[3]);
}
