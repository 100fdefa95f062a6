// The pages of optional components against element actions that answer from
// a table, with scripted message boxes; the OPC client's control mode with
// the real registry, regsvr32 and the stand-in control.
#include <gtest/gtest.h>

#include <memory>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "install/DetectionSupport.h"
#include "install/OcxRegistration.h"
#include "pages/HalvenorUtilitiesPage.h"
#include "pages/IOSystemInstallationsPage.h"
#include "pages/PageTestSupport.h"
#include "pages/ThirdPartyInstallations2Page.h"
#include "pages/ThirdPartyInstallationsPage.h"
#include "pages/Utilities2Page.h"
#include "pages/UtilitiesPage.h"
#include "pages_ids.h"

namespace {

const hnSystemFacts kWindows7x64 = {true, "Windows 7"};
const hnSystemFacts kWindows10x86 = {false, "Windows 10"};

const char* const kMvs240 = "MVS 2.4.0";
const char* const kMvs310 = "MVS 3.1.0";
const char* const kMvs320 = "MVS 3.2.0";
const char* const kOpcScout = "OPC Scout (SIMATIC NET OPC-Client V6.2-3133)";
const char* const kMatrikon = "MatrikonOPC Server for Simulation";
const char* const kPlantOpcClient = "Orvanto PlantOPCClient 1.9.0.28";

std::string mvsQuestion(const char* chosen) {
    return std::string(
               "Only one of the MVS versions can be installed on a computer.\n\nDo you want to un-install "
               "existing MVS version and install ") +
           chosen + "?\n\nPlease click on 'Yes' button to proceed and install " + chosen +
           ".\nPlease click on 'No' to abort and to continue using existing MVS version.\n";
}

// Removals run but leave the component in place.
class StickyActions : public TableActions {
public:
    int uninstallElement(hnInstallationElement& element, int, int, bool) override {
        calls.push_back("uninstall " + element.name);
        return -1;
    }
};

// Removals answer success but leave the component in place.
class CancelledRemovalActions : public TableActions {
public:
    int uninstallElement(hnInstallationElement& element, int, int, bool) override {
        calls.push_back("uninstall " + element.name);
        return 1;
    }
};

// Detection gives each word a reason that names the component.
class ReasonActions : public TableActions {
public:
    bool getStatusWord(hnInstallationElement& element, std::string& word) override {
        bool installed = TableActions::getStatusWord(element, word);
        element.setStatusReason("found " + element.name + " as " + word);
        return installed;
    }
};

using Statuses = std::map<std::string, std::string>;
template <typename Page, typename Actions = TableActions> using OpenPage = ShownTablePage<Page, Actions>;


std::vector<std::string> elementNames(const std::vector<hnOptionalComponent>& components) {
    std::vector<std::string> names;
    for (const auto& definition : components)
        names.push_back(definition.name);
    return names;
}

} // namespace

TEST(OptionalPages, ElementsFollowTheBitnessAndTheSystemName) {
    auto win7 = kdDInstall3rdPartyInstallations::elements(kWindows7x64);
    ASSERT_EQ(17u, win7.size());
    EXPECT_EQ("ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)", win7[2].name);
    EXPECT_EQ("Sony_ZCL_SDK_v2.12.2_Win7_64bit.exe", win7[2].fileName);
    EXPECT_EQ("/orvanto/files/InstallerDownloads/_Installers3rdParty/SonyZCL/2.12.2/", win7[2].serverPath);
    EXPECT_EQ("ubCore 6.00 Pro 1394a - 1394b drivers - 64 bit", win7[0].name);
    // The other bitness of every package is an element without a row, for Download.
    EXPECT_EQ("ubCore 6.00 Pro 1394a - 1394b drivers - 32 bit", win7[5].name);
    EXPECT_EQ("ZCL for SONYGigECAM 2.12 - 32 bit", win7[7].name);
    EXPECT_EQ("Sony_ZCL_SDK_v2.12.2_Win8_32bit.exe", win7[9].fileName);

    auto other = kdDInstall3rdPartyInstallations::elements(kWindows10x86);
    EXPECT_EQ("ZCL for SONYGigECAM 2.12 - 32 bit", other[2].name);
    EXPECT_EQ("SonyZCL_2.12_setup_x86_RC1.exe", other[2].fileName);
    EXPECT_EQ("Fire-i Application 4.0 - 64 bit", other[6].name);
    EXPECT_EQ("ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)", other[8].name);

    auto pylon = elementNames(kdDInstall3rdPartyInstallations2::elements(kWindows10x86));
    ASSERT_EQ(14u, pylon.size());
    EXPECT_EQ("Basler pylon 4 Runtime 4.0.1.3425 - 32 bit", pylon[2]);
    EXPECT_EQ("Basler pylon 4 Runtime 4.0.1.3425 - 64 bit", pylon[5]);
    EXPECT_EQ("Pylon 4 Camera Software Suite 4.2.2.5468 - 64 bit", pylon[7]);
    auto tools = kdDInstallUtilities2::elements(kWindows7x64);
    EXPECT_EQ("tightvnc-2.6.4-setup-64bit.msi", tools[0].fileName);
    EXPECT_TRUE(tools[0].isMsiPackage);
    EXPECT_EQ("TortoiseHg 3.6.3 (x86)", tools[7].name);

    // Built without a window, with the server, cache folder and category of the page.
    kdDInstallIOSystemInstallations io("Test");
    ASSERT_EQ(5u, io.installManager->count());
    const hnInstallationElement& sdk = *io.installManager->item(3);
    EXPECT_EQ(
        theApp()->repositoryBaseUrl() +
            "/orvanto/files/InstallerDownloads/_Installers3rdParty/Advantech/DAQNavi_SDK&Drivers_3.1.4.0.exe",
        sdk.url);
    EXPECT_EQ(theApp()->appFolderPath + "\\_OrvantoInstallData\\IOSystem", sdk.downloadFolder);
    EXPECT_EQ("Orvanto IO System", sdk.category);
    EXPECT_TRUE(io.installManager->item(4)->isMsiPackage);
}

TEST(OptionalPages, RowButtonsFollowTheStatusAndDownloadFetchesEveryElement) {
    OpenPage<kdDInstall3rdPartyInstallations> open({{"Imaging Source Camera Driver", kStatusInstalled},
                                                    {"Imaging Source - IC Capture 2.3", kStatusInstalled}},
                                                   kWindows7x64);
    EXPECT_EQ("ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)", controlText(open.window, IDC_CAM1_ZCL_NAME));
    EXPECT_EQ("Installed", controlText(open.window, IDC_CAM1_ICCAPTURE_STATUS));
    EXPECT_FALSE(controlEnabled(open.window, IDC_CAM1_ICCAPTURE_INSTALL));
    EXPECT_TRUE(controlEnabled(open.window, IDC_CAM1_ICCAPTURE_REMOVE));
    EXPECT_FALSE(controlEnabled(open.window, IDC_CAM1_ZCL_REMOVE));
    EXPECT_TRUE(controlEnabled(open.window, IDC_CAM1_DRIVER_INSTALL)); // the driver installs for every camera
    EXPECT_EQ("Finish", open.host->cancelText());
    EXPECT_TRUE(open.host->nextEnabled());

    clickButton(open.window, IDC_CAM1_ZCL_INSTALL);
    clickButton(open.window, IDC_CAM1_ICCAPTURE_REMOVE);
    EXPECT_EQ((std::vector<std::string>{"install ZCL for SONYGigECAM 2.12.2 - Windows 7 (64 bit)",
                                        "uninstall Imaging Source - IC Capture 2.3"}),
              open.actions.calls);
    EXPECT_EQ("Installed", controlText(open.window, IDC_CAM1_ZCL_STATUS));
    EXPECT_FALSE(controlEnabled(open.window, IDC_CAM1_ZCL_INSTALL));
    EXPECT_TRUE(controlEnabled(open.window, IDC_CAM1_ICCAPTURE_INSTALL));

    open.actions.calls.clear();
    clickButton(open.window, IDC_DOWNLOAD_INSTALLABLES);
    EXPECT_EQ(17u, open.actions.callsOf("download").size());
    expectTidyLayout(open.window, {IDC_CAM1_UBCORE_NAME, IDC_CAM1_UBCORE_REMOVE, IDC_CAM1_UBCORE_ADVICE},
                     {IDC_DOWNLOAD_INSTALLABLES});
}

TEST(VersionSelector, ShowsTheNewerOfTwoAndReplacesOnlyItAfterTheQuestion) {
    OpenPage<kdDInstall3rdPartyInstallations> open({{kMvs240, kStatusInstalled}, {kMvs310, kStatusInstalled}},
                                                   kWindows7x64);
    EXPECT_EQ(kMvs310, open.page.mvs().currentSelection);
    EXPECT_EQ("Status: Installed", controlText(open.window, IDC_CAM1_MVS_STATUS));

    open.prompter.answer(IDNO);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs320));
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ(mvsQuestion(kMvs320), open.prompter.records[0].text);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer", open.prompter.records[0].caption);
    EXPECT_TRUE(open.actions.calls.empty());
    EXPECT_EQ(kMvs310, controlText(open.window, IDC_CAM1_MVS_COMBO)); // back on what is installed

    // Yes: the new one is fetched first, then only the shown one goes.
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs320));
    EXPECT_EQ(
        (std::vector<std::string>{std::string("download ") + kMvs320, std::string("uninstall ") + kMvs310,
                                  std::string("install ") + kMvs320}),
        open.actions.calls);
    EXPECT_EQ(kMvs320, open.page.mvs().currentSelection);

    // And back again.
    open.actions.calls.clear();
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs310));
    EXPECT_EQ(
        (std::vector<std::string>{std::string("download ") + kMvs310, std::string("uninstall ") + kMvs320,
                                  std::string("install ") + kMvs310}),
        open.actions.calls);
    EXPECT_EQ(kMvs310, open.page.mvs().currentSelection);

    // The entry already shown does nothing; "None" removes without a question.
    open.actions.calls.clear();
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs310));
    EXPECT_TRUE(open.actions.calls.empty());
    std::size_t asked = open.prompter.records.size();
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, "None"));
    EXPECT_EQ(asked, open.prompter.records.size());
    EXPECT_EQ((std::vector<std::string>{std::string("uninstall ") + kMvs310}), open.actions.calls);
    EXPECT_EQ(kMvs240, open.page.mvs().currentSelection); // the older one is still there
}

// The selector's status label says why its member shows its word, and the
// pointer over it shows that reason; a selector on "None" has none.
TEST(VersionSelector, StatusLabelShowsTheReasonOfTheMemberShown) {
    OpenPage<kdDInstall3rdPartyInstallations, ReasonActions> open({{kMvs310, kStatusVersionMismatch}},
                                                                  kWindows7x64);
    EXPECT_EQ("Status: Version Mismatch", controlText(open.window, IDC_CAM1_MVS_STATUS));
    EXPECT_EQ(std::string("Found ") + kMvs310 + " as Version Mismatch",
              tipOf(open.page, IDC_CAM1_MVS_STATUS));
    HWND under = nullptr;
    EXPECT_EQ(std::string("Found ") + kMvs310 + " as Version Mismatch",
              hoverTip(open.page, open.host->sheetWindow(), IDC_CAM1_MVS_STATUS, &under,
                       "optional_selector_reason_tooltip"));
    EXPECT_EQ(::GetDlgItem(open.window, IDC_CAM1_MVS_STATUS), under);

    open.actions.status.clear();
    open.page.mvs().refreshVersionSelector();
    EXPECT_EQ("", controlText(open.window, IDC_CAM1_MVS_STATUS));
    EXPECT_EQ("", tipOf(open.page, IDC_CAM1_MVS_STATUS));
}

TEST(VersionSelector, OfflineSwitchKeepsTheInstalledMember) {
    OpenPage<kdDInstall3rdPartyInstallations, OfflineActions> open({{kMvs240, kStatusInstalled}},
                                                                   kWindows7x64);
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs310));
    EXPECT_EQ((std::vector<std::string>{std::string("download ") + kMvs310}), open.actions.calls);
    EXPECT_EQ(kMvs240, open.page.mvs().currentSelection);
}

TEST(VersionSelector, StopsWhenTheRemovedMemberIsStillThere) {
    {
        OpenPage<kdDInstall3rdPartyInstallations, StickyActions> open({{kMvs240, kStatusInstalled}},
                                                                      kWindows7x64);
        open.prompter.answer(IDYES);
        ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs310));
        EXPECT_EQ((std::vector<std::string>{std::string("download ") + kMvs310,
                                            std::string("uninstall ") + kMvs240}),
                  open.actions.calls);
        EXPECT_EQ(kMvs240, open.page.mvs().currentSelection);
    }
    // A removal that answers success while the member stays (its uninstaller
    // cancelled) is said, not only logged.
    OpenPage<kdDInstall3rdPartyInstallations, CancelledRemovalActions> open({{kMvs240, kStatusInstalled}},
                                                                            kWindows7x64);
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs310));
    EXPECT_TRUE(open.actions.callsOf("install").empty());
    ASSERT_EQ(2u, open.prompter.records.size());
    EXPECT_EQ("MVS 2.4.0 is still installed, so MVS 3.1.0 was not installed.", open.prompter.records[1].text);
    EXPECT_EQ(kMvs240, open.page.mvs().currentSelection);
}

TEST(VersionSelector, FailedSwitchPutsThePreviousMemberBackAndSaysWhatIsInstalled) {
    OpenPage<kdDInstall3rdPartyInstallations, BrokenNamesActions> open({{kMvs240, kStatusInstalled}},
                                                                       kWindows7x64);
    open.actions.broken = {kMvs310};
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs310));
    EXPECT_EQ(
        (std::vector<std::string>{std::string("download ") + kMvs310, std::string("uninstall ") + kMvs240,
                                  std::string("install ") + kMvs310, std::string("install ") + kMvs240}),
        open.actions.calls);
    ASSERT_EQ(2u, open.prompter.records.size());
    EXPECT_EQ("MVS 3.1.0 could not be installed; MVS 2.4.0 was restored.", open.prompter.records[1].text);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer", open.prompter.records[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), open.prompter.records[1].type & 0xF);
    EXPECT_EQ(kMvs240, open.page.mvs().currentSelection);
    EXPECT_EQ(kMvs240, controlText(open.window, IDC_CAM1_MVS_COMBO));

    // The restore fails too: the message names what is there now.
    open.actions.broken = {kMvs310, kMvs240};
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_CAM1_MVS_COMBO, kMvs310));
    ASSERT_EQ(4u, open.prompter.records.size());
    EXPECT_EQ(
        "MVS 3.1.0 could not be installed and MVS 2.4.0 could not be restored; neither is installed now.",
        open.prompter.records[3].text);
    EXPECT_EQ("None", controlText(open.window, IDC_CAM1_MVS_COMBO));
}

TEST(VersionSelector, PylonEntriesOfThePagesBitnessAndAvtInstalledAtOnce) {
    // The 32-bit SDK on a 64-bit system is not the selector's member.
    OpenPage<kdDInstall3rdPartyInstallations2> open(
        {{"Basler pylon SDK 2.3.5.2633 - 32 bit", kStatusInstalled}}, kWindows7x64);
    EXPECT_EQ("None", open.page.pylon().currentSelection);
    EXPECT_EQ("", controlText(open.window, IDC_CAM2_PYLON_STATUS));
    HWND combo = ::GetDlgItem(open.window, IDC_CAM2_PYLON_COMBO);
    EXPECT_EQ(9, ::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_NE(CB_ERR, ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>("Basler pylon 4 Runtime 4.0.1.3425 - 64 bit")));
    EXPECT_EQ(1, open.page.pylon().elementOf("Basler pylon SDK 3.2.3.3215 - 32 bit")); // both bitness names

    ASSERT_TRUE(chooseItem(open.window, IDC_CAM2_AVT_COMBO, "AVT Fire Package 2.11"));
    EXPECT_TRUE(open.prompter.records.empty());
    EXPECT_EQ((std::vector<std::string>{"install AVT Fire Package 2.11"}), open.actions.calls);
    EXPECT_EQ("Status: Installed", controlText(open.window, IDC_CAM2_AVT_STATUS));
}

TEST(OptionalPages, UtilitiesTwoHidesPowerToysOn32BitAndWarnsOnceForRepair) {
    {
        OpenPage<kdDInstallUtilities2> open({{"Speccy v1.25", kStatusVersionMismatch},
                                             {"Tera Term 4.88", kStatusIncompleteModule},
                                             {"Orvanto TeamViewer 8 Host", kStatusInstalled}},
                                            kWindows10x86);
        EXPECT_FALSE(controlVisible(open.window, IDC_UTIL2_POWERTOYS_INSTALL));
        EXPECT_FALSE(controlVisible(open.window, IDC_UTIL2_POWERTOYS_GROUP));
        ASSERT_EQ(1u, open.prompter.records.size());
        EXPECT_EQ(0u,
                  open.prompter.records[0].text.find("Warning: Incorrect version is currently installed"));
        EXPECT_EQ("Orvanto TeamViewer 8 Host", controlText(open.window, IDC_UTIL2_TEAMVIEWER_COMBO));
    }
    OpenPage<kdDInstallUtilities2> open({{"PowerToys (Preview) 0.20.1", kStatusInstalled}}, kWindows7x64);
    EXPECT_TRUE(controlVisible(open.window, IDC_UTIL2_POWERTOYS_REMOVE));
    EXPECT_TRUE(controlEnabled(open.window, IDC_UTIL2_POWERTOYS_REMOVE));
    EXPECT_TRUE(open.prompter.records.empty());
    open.prompter.answer(IDYES);
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL2_TEAMVIEWER_COMBO, "Orvanto TeamViewer 13 Host"));
    EXPECT_TRUE(open.prompter.records.empty()); // nothing was installed: no question
    EXPECT_EQ("Orvanto TeamViewer 13 Host", open.page.teamViewer().currentSelection);
}

TEST(OptionalPages, UtilitiesOneOpcProgramsAndTheWatchdogsRepairWord) {
    OpenPage<kdDInstallUtilities> open({{"Orvanto Watchdog 3.0.0.11", kStatusVersionMismatch},
                                        {kOpcScout, kStatusInstalled},
                                        {kMatrikon, kStatusInstalled}});
    EXPECT_TRUE(open.prompter.records.empty()); // the watchdog's word is no warning here
    EXPECT_EQ(kOpcScout, controlText(open.window, IDC_UTIL1_PROGRAM_COMBO));
    EXPECT_EQ("Multiple Versions", controlText(open.window, IDC_UTIL1_PROGRAM_STATUS));
    HWND mode = ::GetDlgItem(open.window, IDC_UTIL1_MODE_COMBO);
    EXPECT_EQ(1, ::SendMessageA(mode, CB_GETCOUNT, 0, 0));
    EXPECT_FALSE(controlEnabled(open.window, IDC_UTIL1_MODE_COMBO));

    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, kMatrikon));
    // The chosen one is fetched before either goes.
    EXPECT_EQ((std::vector<std::string>{
                  std::string("download ") + kMatrikon, std::string("uninstall ") + kOpcScout,
                  std::string("uninstall ") + kMatrikon, std::string("install ") + kMatrikon}),
              open.actions.calls);
    EXPECT_EQ(kMatrikon, controlText(open.window, IDC_UTIL1_PROGRAM_COMBO));
    EXPECT_EQ("Installed", controlText(open.window, IDC_UTIL1_PROGRAM_STATUS));

    // To the other program: fetched before the present one goes.
    open.actions.calls.clear();
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, kOpcScout));
    EXPECT_EQ(
        (std::vector<std::string>{std::string("download ") + kOpcScout, std::string("uninstall ") + kMatrikon,
                                  std::string("install ") + kOpcScout}),
        open.actions.calls);
    open.actions.calls.clear();
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, "None"));
    EXPECT_EQ((std::vector<std::string>{std::string("uninstall ") + kOpcScout}), open.actions.calls);
    EXPECT_EQ("", controlText(open.window, IDC_UTIL1_PROGRAM_STATUS));
}

TEST(OptionalPages, OfflineOpcProgramSwitchKeepsThePresentOne) {
    {
        OpenPage<kdDInstallUtilities, OfflineActions> open(Statuses{{kOpcScout, kStatusInstalled}});
        ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, kMatrikon));
        EXPECT_EQ((std::vector<std::string>{std::string("download ") + kMatrikon}), open.actions.calls);
        EXPECT_EQ(kOpcScout, controlText(open.window, IDC_UTIL1_PROGRAM_COMBO));
    }
    // Both present: offline, neither is removed.
    OpenPage<kdDInstallUtilities, OfflineActions> open(
        Statuses{{kOpcScout, kStatusInstalled}, {kMatrikon, kStatusInstalled}});
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_PROGRAM_COMBO, kMatrikon));
    EXPECT_EQ((std::vector<std::string>{std::string("download ") + kMatrikon}), open.actions.calls);
    EXPECT_EQ("Multiple Versions", controlText(open.window, IDC_UTIL1_PROGRAM_STATUS));
}

namespace {

const char* const kClientKey = "SOFTWARE\\HALVENOR AS\\Orvanto PlantOPCClient 1.9.0.28";

// The OPC client's folder with the stand-in control in two of its modes,
// the client's "InstallPath" and the registration; all gone at the end.
class OpcClientFolder {
public:
    OpcClientFolder() {
        std::string control = testProgramFolder() + "\\..\\repository-tools\\PlantOPCClientX.ocx";
        for (const char* mode : {"Matrikon_OPCAutomation", "Siemens_DAAutomation"}) {
            std::string folder = scratch.path() + "\\ActiveX\\" + mode;
            makeFolders(folder);
            ::CopyFileA(control.c_str(), (folder + "\\PlantOPCClientX.ocx").c_str(), FALSE);
        }
    }
    ~OpcClientFolder() {
        setInstallPath(false);
        std::string registered;
        if (registeredPlantOpcClientOcx(registered))
            runRegsvr32(registered, true);
    }
    void setInstallPath(bool present) {
        hnScopedKey key;
        if (present && hnRegCreateKey(HKEY_LOCAL_MACHINE, kClientKey, KEY_WRITE, key.put()) == ERROR_SUCCESS)
            ::RegSetValueExA(key.get(), "InstallPath", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(scratch.path().c_str()),
                             static_cast<DWORD>(scratch.path().size() + 1));
        if (!present)
            ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kClientKey, hnRegistryView(), 0);
    }
    std::string control(const char* mode) const {
        return scratch.path() + "\\ActiveX\\" + mode + "\\PlantOPCClientX.ocx";
    }
    ScratchFolder scratch;
};

std::string registeredControl() {
    std::string path;
    return registeredPlantOpcClientOcx(path) ? path : "";
}

} // namespace

TEST(OptionalPages, ControlModeSwitchesOnlyToAControlThatIsThere) {
    OpcClientFolder client;
    runRegsvr32(client.control("Matrikon_OPCAutomation"), false);
    ASSERT_EQ(client.control("Matrikon_OPCAutomation"), registeredControl());

    OpenPage<kdDInstallUtilities> open(Statuses{{kPlantOpcClient, kStatusInstalled}});
    EXPECT_TRUE(controlEnabled(open.window, IDC_UTIL1_MODE_COMBO));
    EXPECT_EQ("Matrikon OPC Automation", controlText(open.window, IDC_UTIL1_MODE_COMBO));

    // Without the client's folder the working control stays registered.
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_MODE_COMBO, "Siemens DA Automation"));
    EXPECT_EQ(client.control("Matrikon_OPCAutomation"), registeredControl());
    EXPECT_EQ("Matrikon OPC Automation", controlText(open.window, IDC_UTIL1_MODE_COMBO));

    // With it, a mode whose control is missing changes nothing either.
    client.setInstallPath(true);
    open.page.refreshOrvantoPlantOPCClientComboCtrl();
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_MODE_COMBO, "Siemens OPC Automation"));
    EXPECT_EQ(client.control("Matrikon_OPCAutomation"), registeredControl());

    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_MODE_COMBO, "Siemens DA Automation"));
    EXPECT_EQ(client.control("Siemens_DAAutomation"), registeredControl());
    open.page.refreshOrvantoPlantOPCClientComboCtrl();
    EXPECT_EQ("Siemens DA Automation", controlText(open.window, IDC_UTIL1_MODE_COMBO));
    EXPECT_TRUE(open.prompter.records.empty());

    // A control file that is no program: regsvr32 fails, the previous
    // control is registered again and the user told so.
    std::string broken = client.control("Siemens_OPCAutomation");
    makeFolders(broken.substr(0, broken.rfind('\\')));
    ASSERT_TRUE(writeTextFile(broken, "not a program"));
    ASSERT_TRUE(chooseItem(open.window, IDC_UTIL1_MODE_COMBO, "Siemens OPC Automation"));
    EXPECT_EQ(client.control("Siemens_DAAutomation"), registeredControl());
    ASSERT_EQ(1u, open.prompter.records.size());
    EXPECT_EQ("The selected mode could not be registered; the previous mode was restored.",
              open.prompter.records[0].text);
    EXPECT_EQ("Siemens DA Automation", controlText(open.window, IDC_UTIL1_MODE_COMBO));

    EXPECT_EQ(1, CcleanUpApp::unRegOrvantoPlantOPCClientOCX());
    EXPECT_EQ("", registeredControl());
    EXPECT_EQ(-1, CcleanUpApp::unRegOrvantoPlantOPCClientOCX());
}

TEST(OptionalPages, HalvenorUtilitiesRunNeedsTheRuntime) {
    ScriptedPrompter prompter;
    kdDInstallHalvenorUtilities page("Test");
    PageHost host(page);
    EXPECT_FALSE(host.nextEnabled());
    EXPECT_EQ("Finish", host.cancelText());
    clickButton(page.hwnd(), IDC_HALVENOR_RUN);
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Error: Unable to get Orvanto Runtime installation path. Please try again.",
              prompter.records[0].text);
}

TEST(OptionalPages, HalvenorUtilitiesStartsTheRuntimesFileVersioner) {
    InstalledPackage product("runtime", "{76C2FFEE-53C1-4382-B051-5CF47ED51327}");
    ASSERT_TRUE(product.installed());
    FakeRuntime runtime;
    ScriptedPrompter prompter;
    kdDInstallHalvenorUtilities page("Test");
    std::vector<std::string> started;
    INT_PTR shellResult = 2;
    page.launchSystem.queryVersion = [](OSVERSIONINFOEXA& version) {
        version.dwPlatformId = VER_PLATFORM_WIN32_NT;
        version.dwMajorVersion = 5; // no user account control: the file is opened itself
        return true;
    };
    page.launchSystem.shellOpen = [&](const char* file, const char*, const char* folder) {
        started.push_back(std::string(file) + " in " + folder);
        return shellResult;
    };

    EXPECT_EQ(-1, page.runFileVersioner());
    std::string program = runtime.path("HalvenorUtilities\\FileVersioner.exe");
    ASSERT_TRUE(makeFolders(runtime.path("HalvenorUtilities")));
    ASSERT_TRUE(writeTextFile(program, "stand-in"));
    EXPECT_EQ(-1, page.runFileVersioner());
    shellResult = 42;
    EXPECT_EQ(1, page.runFileVersioner());

    ASSERT_EQ(2u, prompter.records.size());
    EXPECT_EQ("Error: Unable to locate the selected Halvenor Utility. Please try again.",
              prompter.records[0].text);
    EXPECT_EQ("Unable to execute the utility. Error code - 2", prompter.records[1].text);
    EXPECT_EQ("Orvanto Vision Software XV 774 Installer", prompter.records[1].caption);
    EXPECT_EQ(2u, started.size());
    EXPECT_EQ(program + " in " + runtime.path("HalvenorUtilities"), started.back());
}
