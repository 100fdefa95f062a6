#include "pages/UtilitiesPage.h"

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "download/InstallationElement.h"
#include "controls/ToolTip.h"
#include "download/StatusWords.h"
#include "install/OcxRegistration.h"
#include "pages_ids.h"

namespace {

const char* const kCategory = "Optional Utility Software";
const char* const kWatchdog = "Orvanto Watchdog 3.0.0.11";
const char* const kPlantOpcClient = "Orvanto PlantOPCClient 1.9.0.28";
const char* const kNone = "None";
const char* const kControlModeChoice = "OPC Client Control Mode";
const char* const kOpcScout = "OPC Scout (SIMATIC NET OPC-Client V6.2-3133)";
const char* const kMatrikon = "MatrikonOPC Server for Simulation";

struct UtilityElement {
    const char* name;
    const char* file;
    const char* switches;
    const char* path;
};
const UtilityElement kUtilityElements[] = {
    {kWatchdog, "Orvanto_Watchdog_3_0_0_11_200130_Beta.exe", " /passive ",
     "/orvanto/files/InstallerDownloads/OrvantoWatchdog/"},
    {"Cycle Controller 1.0.0.1(3587)", "CycleController_1.0.0.1(3587).zip", "", "/orvanto/CycleController/"},
    {"PerformanceTest 8.0", "PerformanceTest_8.0_Setup.exe", " /passive",
     "/orvanto/files/InstallerDownloads/_Installers3rdParty/Passmark/"},
    {kOpcScout, "SIMATIC_NET_OPC_Client_V6.2_3133.zip", " \\silent",
     "/orvanto/files/InstallerDownloads/_Installers3rdParty/OPCScout/"},
    {kPlantOpcClient, "Orvanto_PlantOPCClient_1.9.0.28_171112.exe", " /passive ",
     "/orvanto/files/InstallerDownloads/OrvantoPlantOPCClient/"},
    {kMatrikon, "MatrikonOPCSimulation_1.5.0.0.EXE", " /passive ",
     "/orvanto/files/InstallerDownloads/_Installers3rdParty/Matrikon/"},
    {"Orvanto OPC Server 1.0.0.7", "OrvantoOPCServer_1_0_0_7_Files.zip", " ",
     "/orvanto/files/InstallerDownloads/OrvantoOPCServer/"},
};

// The control modes: the combo's text and the control's folder.
const char* const kModes[][2] = {
    {"Matrikon OPC Automation", "Matrikon_OPCAutomation"},
    {"Siemens DA Automation", "Siemens_DAAutomation"},
    {"Siemens OPC Automation", "Siemens_OPCAutomation"},
};

std::vector<hnOptionalRow> pageRows() {
    return {
        {0, IDC_UTIL1_WATCHDOG_NAME, IDC_UTIL1_WATCHDOG_STATUS, IDC_UTIL1_WATCHDOG_PROGRESS,
         IDC_UTIL1_WATCHDOG_INSTALL, IDC_UTIL1_WATCHDOG_REMOVE},
        {1, IDC_UTIL1_CYCLE_NAME, IDC_UTIL1_CYCLE_STATUS, IDC_UTIL1_CYCLE_PROGRESS, IDC_UTIL1_CYCLE_INSTALL,
         IDC_UTIL1_CYCLE_REMOVE},
        {2, IDC_UTIL1_PERFTEST_NAME, IDC_UTIL1_PERFTEST_STATUS, IDC_UTIL1_PERFTEST_PROGRESS,
         IDC_UTIL1_PERFTEST_INSTALL, IDC_UTIL1_PERFTEST_REMOVE},
        {4, IDC_UTIL1_OPCCLIENT_NAME, IDC_UTIL1_OPCCLIENT_STATUS, IDC_UTIL1_OPCCLIENT_PROGRESS,
         IDC_UTIL1_OPCCLIENT_INSTALL, IDC_UTIL1_OPCCLIENT_REMOVE},
        {6, IDC_UTIL1_OPCSERVER_NAME, IDC_UTIL1_OPCSERVER_STATUS, IDC_UTIL1_OPCSERVER_PROGRESS,
         IDC_UTIL1_OPCSERVER_INSTALL, IDC_UTIL1_OPCSERVER_REMOVE},
    };
}

} // namespace

std::vector<hnOptionalComponent> kdDInstallUtilities::elements() {
    std::vector<hnOptionalComponent> components;
    for (const UtilityElement& e : kUtilityElements)
        components.push_back(variantComponent({e.name, nullptr, e.file, nullptr}, false, true, e.switches,
                                              e.path, false, cache::kUtilities, kCategory));
    return components;
}

kdDInstallUtilities::kdDInstallUtilities(const std::string& title)
    : kdDOptionalPageBase(IDD_UTILITIES, title, "Optional Utility Software I",
                          "Please click on the 'Next' button to install the optional utility softwares (page "
                          "2).\nOr click on the 'Finish' button to complete the installation.",
                          elements(), pageRows(), {"Uninstall", "Download Installables", false}) {
    bindText(IDC_UTIL1_PROGRAM_STATUS, &opcProgramStatus);
}

int kdDInstallUtilities::setupControls() {
    kdDOptionalPageBase::setupControls();
    // Labels in the name column, the combos after them, the program's
    // status in the status column.
    const int rows[][3] = {{IDC_UTIL1_MODE_LABEL, IDC_UTIL1_MODE_COMBO, 0},
                           {IDC_UTIL1_PROGRAM_LABEL, IDC_UTIL1_PROGRAM_COMBO, IDC_UTIL1_PROGRAM_STATUS}};
    for (const auto& row : rows) {
        int top = controlTop(item(row[1]));
        ::SetWindowPos(item(row[0]), nullptr, 226, top + 4, 170, 20, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetWindowPos(item(row[1]), nullptr, 400, top, 235, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        if (row[2])
            ::SetWindowPos(item(row[2]), nullptr, 643, top + 4, 160, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 1;
}

bool kdDInstallUtilities::onInitDialog() {
    kdDOptionalPageBase::onInitDialog();
    HWND combo = item(IDC_UTIL1_PROGRAM_COMBO);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const char* text : {kNone, kOpcScout, kMatrikon})
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
    return true;
}

void kdDInstallUtilities::afterActivation() {
    refreshOrvantoPlantOPCClientComboCtrl();
    updateOPCInstallerComboSelection();
    showRepairWarning(kWatchdog);
}

void kdDInstallUtilities::afterRowCommand(int element) {
    if (element == kPlantOpcClientElement)
        refreshOrvantoPlantOPCClientComboCtrl();
}

bool kdDInstallUtilities::onCommand(WORD id, WORD code, HWND control) {
    if (code == CBN_SELCHANGE && id == IDC_UTIL1_MODE_COMBO) {
        regNewOCX();
        return true;
    }
    if (code == CBN_SELCHANGE && id == IDC_UTIL1_PROGRAM_COMBO) {
        if (processNewOPCInstallerSelection() > 0)
            updateOPCInstallerComboSelection();
        return true;
    }
    return kdDOptionalPageBase::onCommand(id, code, control);
}

std::string kdDInstallUtilities::comboText(int comboId) const {
    std::string text;
    hnComboSelection(item(comboId), text);
    return text;
}

void kdDInstallUtilities::selectComboText(int comboId, const char* text) {
    hnComboSelectExact(item(comboId), text);
}

// ---------------------------------------------------------------- control mode

int kdDInstallUtilities::refreshOrvantoPlantOPCClientComboCtrl() {
    HWND combo = item(IDC_UTIL1_MODE_COMBO);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    if (statusOf(kPlantOpcClientElement) != kStatusInstalled) {
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNone));
        ::EnableWindow(combo, FALSE);
        ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
        return 1;
    }
    for (const auto& mode : kModes)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode[0]));
    ::EnableWindow(combo, TRUE);
    ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
    checkCurrentModeAndSetComboCtrlSel();

    opcClientFolder.clear();
    std::string key = hnFormatText("SOFTWARE\\HALVENOR AS\\%s", kPlantOpcClient);
    if (!hnRegReadString(HKEY_LOCAL_MACHINE, key.c_str(), "InstallPath", opcClientFolder, 260)) {
        opcClientFolder.clear();
        hnDebugOut("kdDInstallUtilities::refreshOrvantoPlantOPCClientComboCtrl - Unable to get Orvanto "
                   "PlantOPCClient installation path\n");
    }
    return 1;
}

int kdDInstallUtilities::checkCurrentModeAndSetComboCtrlSel() {
    selectComboText(IDC_UTIL1_MODE_COMBO, registeredMode());
    return 1;
}

const char* kdDInstallUtilities::registeredMode() {
    std::string path;
    const char* mode = kModes[0][0];
    if (!registeredPlantOpcClientOcx(path)) {
        hnDebugOut(
            "kdDInstallUtilities::checkCurrentModeAndSetComboCtrlSel - Unable to query current mode 1. "
            "Using default.\n");
    } else {
        bool found = false;
        for (const auto& candidate : kModes) {
            if (path.find(candidate[1]) != std::string::npos) {
                mode = candidate[0];
                found = true;
                break;
            }
        }
        if (!found)
            hnDebugOut(
                "kdDInstallUtilities::checkCurrentModeAndSetComboCtrlSel - Unable to query current mode 2. "
                "Using default.\n");
    }
    return mode;
}

std::vector<hnPageChoice> kdDInstallUtilities::choices() {
    std::vector<hnPageChoice> found = kdDOptionalPageBase::choices();
    hnPageChoice mode;
    mode.key = kControlModeChoice;
    // Without the client there is no mode, as its combo shows.
    mode.current = isElementInstalled(kPlantOpcClientElement) ? registeredMode() : kNone;
    for (const auto& candidate : kModes)
        mode.members.push_back(candidate[0]);
    found.push_back(mode);
    return found;
}

bool kdDInstallUtilities::choose(const std::string& key, const std::string& member) {
    if (hnEqualsNoCase(key, kControlModeChoice))
        return chooseComboText(IDC_UTIL1_MODE_COMBO, member);
    return kdDOptionalPageBase::choose(key, member);
}

int kdDInstallUtilities::regNewOCX() {
    std::string chosen = comboText(IDC_UTIL1_MODE_COMBO);
    const char* folder = nullptr;
    for (const auto& mode : kModes)
        if (chosen == mode[0])
            folder = mode[1];
    if (!folder) {
        hnDebugOut("kdDInstallUtilities::regNewOCX - Invalid 'Mode' selection. Registering default OCX\n");
        folder = kModes[0][1];
    }
    // The working control stays registered unless the new one is there to
    // take its place: without the client's folder the path would lie below
    // the drive root.
    std::string control;
    if (opcClientFolder.empty() ||
        !hnFormat(control, kPathCapacity, "%s\\ActiveX\\%s\\PlantOPCClientX.ocx", opcClientFolder.c_str(),
                  folder) ||
        !fileExists(control)) {
        hnDebugOut("kdDInstallUtilities::regNewOCX - Unable to locate the OCX of the selected mode\n");
        checkCurrentModeAndSetComboCtrlSel();
        return -1;
    }
    // The control registered before is read first: it is registered again
    // when the new one fails.
    std::string previous;
    bool hadPrevious = registeredPlantOpcClientOcx(previous) && fileExists(previous);
    CcleanUpApp::unRegOrvantoPlantOPCClientOCX();
    if (runRegsvr32(control, false))
        return 1;
    hnDebugOut("kdDInstallUtilities::regNewOCX - Unable to register the OCX of the selected mode\n");
    bool restored = hadPrevious && runRegsvr32(previous, false);
    appMessageBox(restored ? "The selected mode could not be registered; the previous mode was restored."
                           : "The selected mode could not be registered; no mode is registered now.");
    checkCurrentModeAndSetComboCtrlSel();
    return -1;
}

// ---------------------------------------------------------------- OPC program

bool kdDInstallUtilities::isPresent(int element) const {
    return statusOf(element) != kStatusNotInstalled;
}

int kdDInstallUtilities::updateOPCInstallerComboSelection() {
    bool scout = isPresent(kOpcScoutElement), matrikon = isPresent(kMatrikonElement);
    std::string reason; // both programs' reasons when both are there
    for (int element : {kOpcScoutElement, kMatrikonElement})
        if (isPresent(element))
            reason += (reason.empty() ? "" : "\r\n") +
                      installManager->item(static_cast<unsigned>(element))->statusReason();
    if (scout && matrikon) {
        selectComboText(IDC_UTIL1_PROGRAM_COMBO, kOpcScout);
        opcProgramStatus = kStatusMultipleVersions;
    } else if (scout || matrikon) {
        int element = scout ? kOpcScoutElement : kMatrikonElement;
        selectComboText(IDC_UTIL1_PROGRAM_COMBO, scout ? kOpcScout : kMatrikon);
        opcProgramStatus = statusOf(element);
    } else {
        selectComboText(IDC_UTIL1_PROGRAM_COMBO, kNone);
        opcProgramStatus.clear();
    }
    if (HWND label = item(IDC_UTIL1_PROGRAM_STATUS)) {
        ::SetWindowTextA(label, opcProgramStatus.c_str());
        hnSetToolTipText(toolTip, hwnd(), label, reason);
    }
    return 1;
}

bool kdDInstallUtilities::removeProgram(int element) {
    if (!isPresent(element))
        return true;
    runUninstallRange(element, element);
    return !isElementInstalled(element);
}

int kdDInstallUtilities::uninstallPresentOPCInstallers() {
    if (!removeProgram(kOpcScoutElement) || !removeProgram(kMatrikonElement)) {
        hnDebugOut("kdDInstallUtilities::uninstallPresentOPCInstallers - Unable to uninstall the present OPC "
                   "installer\n");
        return -1;
    }
    return 1;
}

int kdDInstallUtilities::processNewOPCInstallerSelection() {
    std::string chosen = comboText(IDC_UTIL1_PROGRAM_COMBO);
    if (chosen.empty()) {
        hnAppBase::current()->prompter().messageBox(
            hwnd(), "Error: Unable to process new selection.\nPlease try again.", "Error", MB_OK);
        return -1;
    }
    int element = chosen == kOpcScout ? kOpcScoutElement : chosen == kMatrikon ? kMatrikonElement : -1;
    bool both = isPresent(kOpcScoutElement) && isPresent(kMatrikonElement);
    bool anyPresent = isPresent(kOpcScoutElement) || isPresent(kMatrikonElement);
    // With both present the chosen one is removed too and installed again.
    bool needsInstall = element >= 0 && (both || statusOf(element) != kStatusInstalled);
    // The chosen program is fetched before anything is removed: offline the
    // present ones stay.
    if (needsInstall && runDownloadElement(element) <= 0) {
        hnDebugOut(
            "kdDInstallUtilities::processNewOPCInstallerSelection - Unable to download the new selection\n");
        return 1;
    }
    if ((both || needsInstall || (element < 0 && anyPresent)) && uninstallPresentOPCInstallers() < 0)
        return 1; // a program that could not be removed: nothing is installed beside it
    if (element >= 0 && statusOf(element) == kStatusNotInstalled)
        runInstallRange(element, element, false);
    return 1;
}
