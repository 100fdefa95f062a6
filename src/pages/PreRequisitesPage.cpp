#include "pages/PreRequisitesPage.h"

#include <msi.h>
#include <vector>

#include "app/DebugOut.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "install/CheckInstallations.h"
#include "install/FetchFirst.h"
#include "download/StatusWords.h"
#include "pages_ids.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "python/PythonSelection.h"
#include "wizard/InstallerSheet.h"

namespace {

const char* const kPrerequisitesPath = "/orvanto/files/OrvantoPreRequisites/";
const char* const kMicrosoftPath = "/orvanto/files/InstallerDownloads/_Installers3rdParty/Microsoft/";
const char* const kPy27Path = "/orvanto/files/InstallerDownloads/_Modules/Py27/Python27/";
const char* const kPy36Path = "/orvanto/files/InstallerDownloads/_Modules/Py36/Python36/";

struct ElementRow {
    const char* name;
    const char* fileName;
    const char* serverPath;
    const char* switches;
    bool isMsiPackage;
    const char* cacheFolder;
};

const ElementRow kVc2017 = {"MS VC++ 2017 Redist 14.15.26706",
                            "vc2017_14.15.26706_redist_x86.exe",
                            kMicrosoftPath,
                            " /q:a ",
                            false,
                            cache::kPrerequisites};
const ElementRow kVc2019 = {"MS VC++ 2015-2019 Redist (x86) 14.26.28720",
                            "VC_14.26.28720.3_redist_x86.exe",
                            kMicrosoftPath,
                            " /q:a ",
                            false,
                            cache::kPrerequisites};

// Elements 0-4 and 6-8; element 5 is one of the two VC++ rows above.
const ElementRow kRows[] = {
    {"MS VC++ 2005 SP1 Redist", "vc2005sp1 - redist_x86.exe", kPrerequisitesPath, " /q:a ", false,
     cache::kPrerequisites},
    {"MS VC++ 2008 SP1 Redist", "vc2008sp1 - redist_x86.exe", kPrerequisitesPath, " /q:a ", false,
     cache::kPrerequisites},
    {"MS VC++ 2010 SP1 Redist", "vc2010sp1 - redist_x86.exe", kMicrosoftPath, " /q:a ", false,
     cache::kPrerequisites},
    {"Microsoft .Net 2.0.50727.42 Redist", "dotnetfx_2.0.50727.42.exe", kPrerequisitesPath, " ", false,
     cache::kPrerequisites},
    {"Windows Installer 3.1", "WindowsInstaller-KB893803-v2-x86.exe", kPrerequisitesPath, " ", false,
     cache::kPrerequisites},
    {nullptr, nullptr, nullptr, nullptr, false, nullptr},
    {"Python 2.7.9", "python-2.7.9.msi", kPy27Path, "/passive ALLUSERS=1", true, cache::kPy27Python2D},
    {"Python 2.7.13", "python-2.7.13.msi", kPy27Path, "/passive ALLUSERS=1", true, cache::kPy27Python2D},
    {"Python 3.6.6", "python-3.6.6.exe", kPy36Path, "/passive InstallAllUsers=1", false,
     cache::kPy36Python2D},
};

// The controls of one row, in the order the page shows them.
struct RowControls {
    int element;
    int name, status, progress, uninstall; // uninstall 0: none
};
const RowControls kRowControls[] = {
    {0, IDC_PREREQ_VC2005_NAME, IDC_PREREQ_VC2005_STATUS, IDC_PREREQ_VC2005_PROGRESS,
     IDC_PREREQ_VC2005_UNINSTALL},
    {1, IDC_PREREQ_VC2008_NAME, IDC_PREREQ_VC2008_STATUS, IDC_PREREQ_VC2008_PROGRESS,
     IDC_PREREQ_VC2008_UNINSTALL},
    {2, IDC_PREREQ_VC2010_NAME, IDC_PREREQ_VC2010_STATUS, IDC_PREREQ_VC2010_PROGRESS,
     IDC_PREREQ_VC2010_UNINSTALL},
    {5, IDC_PREREQ_VC14_NAME, IDC_PREREQ_VC14_STATUS, IDC_PREREQ_VC14_PROGRESS, IDC_PREREQ_VC14_UNINSTALL},
    {3, IDC_PREREQ_DOTNET_NAME, IDC_PREREQ_DOTNET_STATUS, IDC_PREREQ_DOTNET_PROGRESS, 0},
    {4, IDC_PREREQ_MSI31_NAME, IDC_PREREQ_MSI31_STATUS, IDC_PREREQ_MSI31_PROGRESS, 0},
};

const char* const kPythonTexts[] = {"Python 2.7.9", "Python 2.7.13", "Python 3.6.6"};
const char* const kVc2017UninstallKey = "{7e9fae12-5bbf-47fb-b944-09c49e75c061}";
const char* const kVc2017DisplayName = "Microsoft Visual C++ 2017 Redistributable (x86) - 14.15.26706";
const char* const kUnexpectedError = "Unexpected error. Please try again";

const int kFirstRowOffset = 22; // pixels from the group's top to the first row
const int kRowPitch = 30;

std::unique_ptr<hnInstallationElement> makeElement(const ElementRow& row, std::string* name,
                                                   std::string* status, std::string* progress) {
    std::string url = installerServices()->repositoryBaseUrl() + row.serverPath + row.fileName;
    std::string folder = cacheFolder(row.cacheFolder);
    return std::unique_ptr<hnInstallationElement>(new hnInstallationElement(
        row.name, url.c_str(), row.fileName, row.switches, folder.c_str(), row.isMsiPackage, 0, false, name,
        status, progress, kCategoryPrerequisites));
}

} // namespace

kdDPrerequisitePythonHooks defaultPrerequisitePythonHooks() {
    kdDPrerequisitePythonHooks hooks;
    hooks.applyPython27Integration = [] { return hnPyhton27InstallFunctions::applyPython27Integration(); };
    hooks.applyPython36Integration = [] { return hnPyhton36InstallFunctions::applyPython36Integration(); };
    hooks.removePython27Integration = [] { return hnPyhton27InstallFunctions::removePython27Integration(); };
    hooks.removePython36Integration = [] { return hnPyhton36InstallFunctions::removePython36Integration(); };
    hooks.uninstallAllPython27Products = [] {
        return hnPyhton27InstallFunctions::uninstallAllPython27Products();
    };
    hooks.repairAllPython36Products = [] { return hnPyhton36InstallFunctions::repairAllPython36Products(); };
    hooks.reinstallProduct = [](const char* productCode) {
        return static_cast<unsigned>(::MsiReinstallProductA(productCode, REINSTALLMODE_FILEREPLACE));
    };
    return hooks;
}

kdDInstallPreRequisites::kdDInstallPreRequisites(const std::string& title,
                                                 const kdDPrerequisitePythonHooks& hooks)
    : kdDPropertyPageBase(IDD_PREREQUISITES, title, "Prerequisite Installation"),
      alternativeManager(new hnInstallManagerBase()), pythonHooks(hooks) {
    uiDlgName = "Prerequisite Installation";
    statusText = "Please click on the 'Next' button to proceed";
    installedStatusLine = hnFormatText("Status: %s", kStatusInstalled);
    bindText(IDC_STATUS_AREA, &statusText);
    for (const RowControls& row : kRowControls) {
        bindText(row.name, &rowNames[row.element]);
        bindText(row.status, &rowStatus[row.element]);
        bindText(row.progress, &rowProgress[row.element]);
    }
    bindText(IDC_PREREQ_PYTHON_STATUS, &pythonStatusLine);
    if (!elementsInitialised) {
        initInstallationElements();
        elementsInitialised = true;
    }
}

kdDInstallPreRequisites::~kdDInstallPreRequisites() = default;

bool kdDInstallPreRequisites::isVc2017Installed() {
    std::string displayName;
    return hnCheckInstallations::readUninstallValue(kVc2017UninstallKey, "DisplayName", displayName) &&
           displayName == kVc2017DisplayName;
}

int kdDInstallPreRequisites::pythonElementIndex(const std::string& selection) {
    for (int k = 0; k < 3; ++k)
        if (selection == kPythonTexts[k])
            return kFirstPythonElement + k;
    return -1;
}

int kdDInstallPreRequisites::initInstallationElements() {
    bool vc2017 = isVc2017Installed();
    std::unique_ptr<hnInstallationElement> built[kElementCount];
    for (int i = 0; i < kElementCount; ++i) {
        if (i < 6) {
            const ElementRow& row = i == 5 ? (vc2017 ? kVc2017 : kVc2019) : kRows[i];
            built[i] = makeElement(row, &rowNames[i], &rowStatus[i], &rowProgress[i]);
        } else {
            int k = i - kFirstPythonElement;
            built[i] = makeElement(kRows[i], &pythonNames[k], &pythonStatus[k], &pythonProgress[k]);
        }
    }
    hnInstallationElement* elements[kElementCount];
    for (int i = 0; i < kElementCount; ++i)
        elements[i] = built[i].get();
    installManager->clearElements();
    installManager->setElements(kElementCount, elements);

    std::unique_ptr<hnInstallationElement> alternative =
        makeElement(vc2017 ? kVc2019 : kVc2017, &altNameText, &altStatusText, &altProgressText);
    hnInstallationElement* alternativeElements[] = {alternative.get()};
    alternativeManager->clearElements();
    alternativeManager->setElements(1, alternativeElements);
    return 1;
}

int kdDInstallPreRequisites::setupControls() {
    alignGroupWithRows(item(IDC_PAGE_GROUP));
    int top = controlTop(item(IDC_PAGE_GROUP)) + kFirstRowOffset;
    int shown = 0, button = 0;
    for (const RowControls& row : kRowControls) {
        hnImageButton* uninstall = nullptr;
        if (row.uninstall) {
            uninstall = &uninstallButtons[button++];
            setupImageButton(*uninstall, row.uninstall, IDP_REMOVE, "Uninstall");
        }
        layoutRemoveRow(uninstall, item(row.name), item(row.status), item(row.progress),
                        top + kRowPitch * shown++);
    }
    // The Python row: label in the name column, the choice beside it, the
    // status line across the status and progress columns, Repair in the
    // remove column.
    int pythonTop = top + kRowPitch * shown + 10;
    setupImageButton(repairButton, IDC_PREREQ_PYTHON_REPAIR, IDP_REPAIR, "Repair");
    ::SetWindowPos(item(IDC_PREREQ_PYTHON_LABEL), nullptr, 226, pythonTop + 4, 50, 20,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(item(IDC_PREREQ_PYTHON_COMBO), nullptr, 280, pythonTop + 1, 160, 120,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(item(IDC_PREREQ_PYTHON_STATUS), nullptr, 643, pythonTop + 4, 160, 20,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    moveControl(repairButton.hwnd(), 811, pythonTop);

    setupImageButton(installAllButton, IDC_PREREQ_INSTALL_ALL, IDP_INSTALL_ALL,
                     "Install All Pre-requisite Components", kDownloadButtonX - 40);
    setupImageButton(downloadButton, IDC_PREREQ_DOWNLOAD_INSTALLABLES, IDP_DOWNLOAD, "Download Installables",
                     kDownloadButtonX);
    endStatusAreaBefore(kDownloadButtonX - 40 - 8); // before both page buttons
    return 1;
}

bool kdDInstallPreRequisites::onInitDialog() {
    kdDPropertyPageBase::onInitDialog();
    HWND combo = item(IDC_PREREQ_PYTHON_COMBO);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const char* text : kPythonTexts)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    return true;
}

bool kdDInstallPreRequisites::onSetActive() {
    setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    setCancelText("Cancel");
    showDownloadButton(IDC_PREREQ_DOWNLOAD_INSTALLABLES);
    bool result = kdDPropertyPageBase::onSetActive();
    refreshPythonStatus();
    updatePrerequisitesNavigation();
    return result;
}

int kdDInstallPreRequisites::updateButtons() {
    int button = 0;
    for (const RowControls& row : kRowControls) {
        if (!row.uninstall)
            continue;
        const hnInstallationElement* element = installManager->item(static_cast<unsigned>(row.element));
        bool removable = element && element->status() != kStatusNotInstalled;
        ::EnableWindow(uninstallButtons[button++].hwnd(), removable);
    }
    return 1;
}

const char* const kdDInstallPreRequisites::kInterpreterChoice = "Python Interpreter";

int kdDInstallPreRequisites::installControlOf(int element) const {
    return element >= 0 && element < kFirstPythonElement ? IDC_PREREQ_INSTALL_ALL : 0;
}

bool kdDInstallPreRequisites::choose(const std::string& key, const std::string& member) {
    return hnEqualsNoCase(key, kInterpreterChoice) && chooseComboText(IDC_PREREQ_PYTHON_COMBO, member);
}

bool kdDInstallPreRequisites::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_PREREQ_VC2005_UNINSTALL:
            onUninstallRow(0);
            return true;
        case IDC_PREREQ_VC2008_UNINSTALL:
            onUninstallRow(1);
            return true;
        case IDC_PREREQ_VC2010_UNINSTALL:
            onUninstallRow(2);
            return true;
        case IDC_PREREQ_VC14_UNINSTALL:
            onUninstallRow(5);
            return true;
        case IDC_PREREQ_DOWNLOAD_INSTALLABLES:
            onDownloadInstallables();
            return true;
        case IDC_PREREQ_INSTALL_ALL:
            onInstallAllPrerequisites();
            return true;
        case IDC_PREREQ_PYTHON_REPAIR:
            onRepairPython();
            return true;
        default:
            break;
        }
    }
    if (id == IDC_PREREQ_PYTHON_COMBO && code == CBN_SELCHANGE) {
        onPythonSelectionChange();
        return true;
    }
    return kdDPropertyPageBase::onCommand(id, code, control);
}

// ---------------------------------------------------------------- Python choice

bool kdDInstallPreRequisites::comboSelection(std::string& text) const {
    return hnComboSelection(item(IDC_PREREQ_PYTHON_COMBO), text);
}

void kdDInstallPreRequisites::selectComboText(const std::string& text) {
    hnComboSelectExact(item(IDC_PREREQ_PYTHON_COMBO), text);
}

void kdDInstallPreRequisites::tellSheetPythonVersion(int version) {
    if (auto* wizard = dynamic_cast<kdDKadrixSDKInstallerSheet*>(sheet()))
        wizard->updateWizardPagesForPythonVersion(version);
}

int kdDInstallPreRequisites::refreshPythonStatus() {
    std::string saved;
    int read = getPythonVersionSelection(&saved);
    if (read < 0 || saved.empty())
        saved = kPython279;
    // A stored text that is none of the three (the settings file is edited by
    // hand now and then) reads 0 from the settings: nothing to select.
    bool known = read != 0 && pythonElementIndex(saved) >= 0;
    if (known)
        selectComboText(saved);
    std::string selected;
    if (!known || !comboSelection(selected)) {
        installManager->item(kFirstPythonElement)->setStatus(kStatusReinstallNeeded);
        currentPython = kPython279;
        // The choice shows the interpreter that is to be reinstalled, so that
        // "Install All Pre-requisites" can put it right.
        selectComboText(currentPython);
    } else {
        currentPython = selected;
    }

    int element = pythonElementIndex(currentPython);
    if (element >= 0)
        pythonStatusLine = hnFormatText(
            "Status: %s", installManager->item(static_cast<unsigned>(element))->status().c_str());
    else
        pythonStatusLine = kStatusReinstallNeeded;

    tellSheetPythonVersion(currentPython == kPython366 ? 1 : 0);
    if (HWND line = item(IDC_PREREQ_PYTHON_STATUS)) {
        ::SetWindowTextA(line, pythonStatusLine.c_str());
        showStatusReason(line, element >= 0 ? installManager->item(static_cast<unsigned>(element)) : nullptr);
    }
    if (HWND repair = item(IDC_PREREQ_PYTHON_REPAIR))
        ::ShowWindow(repair, pythonStatusLine == installedStatusLine ? SW_SHOW : SW_HIDE);
    return 1;
}

void kdDInstallPreRequisites::onPythonSelectionChange() {
    std::string selection;
    if (!comboSelection(selection)) {
        hnDebugOut("kdDInstallPreRequisites::OnCbnSelchangeComboPython - Unable to get new selection\n");
        appMessageBox(kUnexpectedError, MB_OK);
        return;
    }
    if (selection == kPython366) {
        std::string question = hnFormatText(
            "You have selected to switch to %s.\n\nPlease note that-\n(a) Python 3.6.6 is in beta,\n(b) "
            "Legacy "
            "Python 2.7 profiles must be converted before running on Python 3.6,\n\nDo you want to switch to "
            "%s?\nPlease click on 'Yes' button to proceed.\nPlease click on 'No' button to abort and to "
            "continue "
            "using currently selected python version.\n",
            selection.c_str(), selection.c_str());
        if (appMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) {
            refreshPythonStatus();
            updatePrerequisitesNavigation();
            return;
        }
    }
    if (processNewPythonInstallation() > 0)
        refreshPythonStatus();
    updatePrerequisitesNavigation();
}

int kdDInstallPreRequisites::uninstallPythonRow(int element) {
    return runUninstallRange(element, element);
}

int kdDInstallPreRequisites::processNewPythonInstallation() {
    std::string selection;
    if (!comboSelection(selection)) {
        hnDebugOut("kdDInstallPreRequisites::processNewPythonInstallation - Unable to get new selection\n");
        selection = kPython279;
    }
    if (selection == currentPython && pythonStatusLine == installedStatusLine)
        return -1; // already installed and correct

    if (selection != currentPython) {
        if (selection == kPython366 && pythonHooks.removePython27Integration)
            pythonHooks.removePython27Integration();
        if (selection == kPython279 || selection == kPython2713) {
            int other = pythonElementIndex(selection == kPython279 ? kPython2713 : kPython279);
            const std::string& otherStatus = installManager->item(static_cast<unsigned>(other))->status();
            if (!otherStatus.empty() && otherStatus != kStatusNotInstalled) {
                std::string question = hnFormatText("Only one Python 2.7 version can be installed on a "
                                                    "computer.\n\nDo you want to un-install "
                                                    "existing Python 2.7 version and install %s?\n\nPlease "
                                                    "click on 'Yes' button to proceed and "
                                                    "install %s.\nPlease click on 'No' to abort and to "
                                                    "continue using existing Python version.\n",
                                                    selection.c_str(), selection.c_str());
                if (appMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
                    return 1;
                if (pythonHooks.uninstallAllPython27Products)
                    pythonHooks.uninstallAllPython27Products();
            }
        }
        if (pythonHooks.removePython36Integration)
            pythonHooks.removePython36Integration();
        installNewPython();
        return 1;
    }

    // The chosen interpreter is the current one but not installed correctly.
    int element = pythonElementIndex(currentPython);
    if (element >= 0)
        uninstallPythonRow(element);
    installNewPython();
    return 1;
}

int kdDInstallPreRequisites::installNewPython() {
    std::string selection;
    if (!comboSelection(selection)) {
        hnDebugOut("kdDInstallPreRequisites::installNewPython - Unable to get new selection\n");
        return -1;
    }
    int element = pythonElementIndex(selection);
    if (element < 0)
        return 1;
    runInstallSelection(&element, 1, true, false);
    const auto& integration =
        selection == kPython366 ? pythonHooks.applyPython36Integration : pythonHooks.applyPython27Integration;
    if (integration)
        integration();
    setPythonVersionSelection(selection.c_str());
    return 1;
}

void kdDInstallPreRequisites::onRepairPython() {
    if (currentPython == kPython279 || currentPython == kPython2713) {
        const char* code = currentPython == kPython279 ? kPython279ProductCode : kPython2713ProductCode;
        unsigned result =
            pythonHooks.reinstallProduct ? pythonHooks.reinstallProduct(code) : ERROR_CALL_NOT_IMPLEMENTED;
        if (result != ERROR_SUCCESS)
            hnDebugOutF("kdDInstallPreRequisites::OnBnClickedButtonRepair - Reinstall failed %u\n", result);
        else if (pythonHooks.applyPython27Integration)
            pythonHooks.applyPython27Integration();
    } else if (currentPython == kPython366) {
        if (pythonHooks.repairAllPython36Products && pythonHooks.repairAllPython36Products() &&
            pythonHooks.applyPython36Integration)
            pythonHooks.applyPython36Integration();
    } else {
        appMessageBox(kUnexpectedError, MB_OK);
        return;
    }
    installManager->refreshStatuses(0, kElementCount - 1);
    transferToControls();
    updateButtons();
    refreshPythonStatus();
    updatePrerequisitesNavigation();
}

// ---------------------------------------------------------------- rows and navigation

void kdDInstallPreRequisites::onUninstallRow(int element) {
    runUninstallRange(element, element);
    updatePrerequisitesNavigation();
}

void kdDInstallPreRequisites::onDownloadInstallables() {
    bool skipAllErrors = false;
    runDownloadAll(&skipAllErrors);
}

void kdDInstallPreRequisites::onInstallAllPrerequisites() {
    int count = static_cast<int>(installManager->count());
    if (count <= 3) {
        hnDebugOut("kdDInstallPreRequisites::OnBnClickedButtonInstallAllPrerequisites - Invalid installation "
                   "elements count 1\n");
        return;
    }
    std::string chosen;
    int chosenElement = comboSelection(chosen) ? pythonElementIndex(chosen) : -1;
    int indices[kElementCount] = {};
    int collected = 0;
    for (int i = 0; i < count; ++i) {
        if (i >= kFirstPythonElement && i < kFirstPythonElement + 3)
            continue;
        if (collected >= count - 3 || collected >= kElementCount) {
            hnDebugOut(
                "kdDInstallPreRequisites::OnBnClickedButtonInstallAllPrerequisites - Invalid installation "
                "elements count 2\n");
            break;
        }
        indices[collected++] = i;
    }
    // Fetch first: every installable of the run, the chosen interpreter's
    // included, is at hand before anything is repaired or installed.
    std::vector<int> fetched(indices, indices + collected);
    if (chosenElement >= 0)
        fetched.push_back(chosenElement);
    std::string told;
    if (!fetchRowsFirst(*installManager, fetched, told)) {
        hnAppBase::current()->prompter().messageBox(hwnd(), told.c_str(), nullptr, MB_OK | MB_ICONWARNING);
        transferToControls();
        updateButtons();
        return;
    }

    // Repair pass: the redistributables and the chosen interpreter only. An
    // interpreter the user did not choose is left alone; removing it here
    // would lose it for good, nothing installs it again.
    installManager->repairRange(false, 0, kFirstPythonElement - 1);
    if (chosenElement >= 0)
        installManager->repairRange(false, chosenElement, chosenElement);
    installManager->refreshStatuses(0, count - 1);
    // Only the collected rows are looked at for repair words: the whole list
    // would take the interpreters that were left alone above.
    runInstallSelection(indices, collected, true, false);

    onPythonSelectionChange();
    updatePrerequisitesNavigation();
    updateButtons();
}

bool kdDInstallPreRequisites::arePrerequisitesInstalled() {
    installManager->refreshStatuses(0, static_cast<int>(installManager->count()) - 1);
    bool installed = true;
    for (unsigned i = 0; i < installManager->count(); ++i) {
        if (i >= kFirstPythonElement && i < kFirstPythonElement + 3)
            continue;
        if (installManager->item(i)->status() != kStatusInstalled)
            installed = false;
    }
    refreshPythonStatus();
    return installed && pythonStatusLine == installedStatusLine;
}

int kdDInstallPreRequisites::updatePrerequisitesNavigation() {
    bool ready = arePrerequisitesInstalled();
    if (ready) {
        setWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
        statusText = "Please click on the 'Next' button to proceed";
    } else {
        setWizardButtons(PSWIZB_BACK);
        statusText =
            "Please click on the 'Install All Pre-requisite Components' button to install the Orvanto "
            "pre-requisite components";
    }
    if (HWND installAll = item(IDC_PREREQ_INSTALL_ALL))
        ::ShowWindow(installAll, ready ? SW_HIDE : SW_SHOW);
    transferToControls();
    return 1;
}

LRESULT kdDInstallPreRequisites::onWizardNext() {
    if (!arePrerequisitesInstalled() &&
        hnAppBase::current()->prompter().messageBox(
            hwnd(),
            "One or more 'Pre-requisite Components' are not installed.\nIt is recommended to install all "
            "'Pre-requisite Components' before proceeding.\n\nDo you want to continue proceeding to next "
            "page?\nPlease click on 'Yes' button to proceed.\nPlease click on 'No' button to abort.",
            "Confirmation", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return -1;
    return kdDPropertyPageBase::onWizardNext();
}
