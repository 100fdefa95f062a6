#include "pages/ModulesPage.h"

#include <iterator>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/Text.h"
#include "artwork_ids.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/CheckInstallations.h"
#include "install/InstallActions.h"
#include "install/InstallHelpers.h"
#include "pages/MatrelVersionSelection.h"
#include "pages_ids.h"
#include "process/TempFolder.h"

namespace {

const char* const kRuntimeName = "Orvanto Version XV 15.0.0.774 Runtime";
const char* const kVariantsFolder = "3.2.1.169";
const char* const kVariantChoice = "Library Variant";
const char* const kNoRuntimePath =
    "Error: Unable to get Orvanto Runtime installation path. Please try again.";
const char* const kCopyFailed = "Error: Unable to use the selected file. Please try again.";

// The set in the order of its records; the script lives in "Python".
const char* const kMatrelFiles[kMatrelFileCount] = {
    "MatRel.dll",     "MatRel2.dll",    "pyMatrel26.pyd",      "pyMatrel27.pyd",
    "pyMatrel36.pyd", "pyMatrel37.pyd", "OrvantoMatTools.dll", "Python\\matrelct.py"};
const int kScript = 7;
// The order in which a variant's files are copied into the runtime.
const int kCopyOrder[kMatrelFileCount] = {0, 2, 3, 4, 5, 6, 1, 7};

struct Variant {
    int index;
    const char* text;
    const char* folder;
};
// In the order of recognition: the IPP variant of a compiler before the
// plain one (the files of the two may be identical).
const Variant kVariants[] = {
    {1, "Intel Compiler DLL", "Intel-Blend"},
    {2, "Intel with IPP", "Intel-Blend-IPP"},
    {4, "Visual C with IPP", "VC8-IPP"},
    {3, "Visual C Compiler DLL", "VC8"},
    {5, "Visual C Beta DLL for test purposes", "Matrel Beta"},
};

const Variant* findVariant(int index) {
    for (const Variant& variant : kVariants)
        if (variant.index == index)
            return &variant;
    return nullptr;
}

bool variantFolder(const std::string& runtime, const Variant& variant, std::string& folder) {
    return hnFormat(folder, kPathCapacity, "%s%s\\%s\\", runtime.c_str(), kVariantsFolder, variant.folder);
}

bool sameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// "MatRel.dll" of the same write time and size, the others of the same size.
bool variantMatches(const hnMatrelFileRecord* runtime, const hnMatrelFileRecord* variant) {
    if (!sameTime(runtime[0].modification, variant[0].modification))
        return false;
    for (int i = 0; i < kMatrelFileCount; ++i)
        if (runtime[i].size != variant[i].size)
            return false;
    return true;
}

} // namespace

std::vector<hnOptionalComponent> kdDInstallModules::elements() {
    return {variantComponent({"Orvanto 2018.0.0.992 IPP", nullptr, "Orvanto_2018.0.0.992_IPP.zip", nullptr},
                             false, true, "", "/orvanto/files/InstallerDownloads/_Modules/IPP/", false,
                             cache::kModules, "Optional Orvanto Modules")};
}

kdDInstallModules::kdDInstallModules(const std::string& title)
    : kdDOptionalPageBase(IDD_MODULES, title, "Orvanto Image Processing Options",
                          "Please click on the 'Next' button to browse and install the Orvanto modules.\nOr "
                          "click on the 'Finish' button to complete the installation.",
                          elements(),
                          {{0, IDC_MODULES_IPP_NAME, IDC_MODULES_IPP_STATUS, IDC_MODULES_IPP_PROGRESS,
                            IDC_MODULES_IPP_INSTALL, IDC_MODULES_IPP_REMOVE}},
                          {"Remove", "Download Modules", false}) {
    uiDlgName = "Image Processing Options";
    bindText(IDC_MODULES_IPP_NOTE, &ippNote);
    bindText(IDC_MODULES_VARIANT_TEXT, &variantText);
    bindText(IDC_MODULES_VARIANT_STATUS, &variantStatus);
}

const char* kdDInstallModules::variantName(int variant) {
    const Variant* found = findVariant(variant);
    return found ? found->text : "Unknown Version";
}

int kdDInstallModules::setupControls() {
    kdDOptionalPageBase::setupControls();
    setupImageButton(changeButton_, IDC_MODULES_VARIANT_CHANGE, IDP_CHANGE, "Change", 811);
    // The variant's texts in the status columns of the row above.
    int top = controlTop(changeButton_.hwnd());
    ::SetWindowPos(item(IDC_MODULES_VARIANT_LABEL), nullptr, 226, top + 4, 220, 20,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(item(IDC_MODULES_VARIANT_TEXT), nullptr, 450, top + 4, 190, 20,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(item(IDC_MODULES_VARIANT_STATUS), nullptr, 643, top + 4, 140, 20,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return 1;
}

void kdDInstallModules::afterActivation() {
    ippNote = "Note: IPP is an option to speed up image processing. It can be important with large system or "
              "images where image resampling is applied.";
    transferToControls();
    updateMatrelVariantStatus();
}

bool kdDInstallModules::runtimeCheck() {
    if (hnCheckInstallations::isRuntimeProductInstalled())
        return true;
    appMessageBox(
        hnFormatText("Error - %s should installed on the computer before installing or removing the "
                     "modules.\nPlease install %s and try again.",
                     kRuntimeName, kRuntimeName));
    return false;
}

bool kdDInstallModules::onCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_MODULES_IPP_INSTALL:
            if (runtimeCheck())
                onInstallRow(0);
            return true;
        case IDC_MODULES_IPP_REMOVE:
            if (runtimeCheck()) {
                onUninstallRow(0);
                updateMatrelVariantStatus();
            }
            return true;
        case IDC_MODULES_VARIANT_CHANGE:
            changeMatrelVariant();
            return true;
        default:
            break;
        }
    }
    return kdDOptionalPageBase::onCommand(id, code, control);
}

int kdDInstallModules::getAllMatrelOptionRelatedFilesInfo(const char* folder, hnMatrelFileRecord* records) {
    if (!folder || !records) {
        hnDebugOutF("kdDInstallModules::getAllMatrelOptionRelatedFilesInfo - NULL pointer %d\n",
                    folder ? 2 : 1);
        return -1;
    }
    for (int i = 0; i < kMatrelFileCount; ++i) {
        std::string path;
        if (!hnFormat(path, kPathCapacity, "%s%s", folder, kMatrelFiles[i]) || !fileExists(path))
            return -2;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            return -3;
        hnMatrelFileRecord& record = records[i];
        record.creation = data.ftCreationTime;
        record.modification = data.ftLastWriteTime;
        record.access = data.ftLastAccessTime;
        record.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        record.attributes = data.dwFileAttributes;
        record.fullName = path;
    }
    return 1;
}

void kdDInstallModules::updateMatrelVariantStatus() {
    if (!runtimeCheck())
        return;
    std::string runtime;
    if (!hnCheckInstallations::getRuntimeFolder(runtime)) {
        appMessageBox(kNoRuntimePath);
        return;
    }
    int detected = detectVariant(runtime);
    if (detected < 0) {
        variantText = "DLL Not Available";
        variantStatus = "Error";
        transferToControls();
        return;
    }
    variantIndex = detected;
    variantText = variantName(variantIndex);
    variantStatus = "Ok";
    if (variantIndex == 0 ||
        ((variantIndex == 2 || variantIndex == 4) && rowStatus[0] == kStatusNotInstalled))
        variantStatus = "Incorrect Version";
    transferToControls();
}

int kdDInstallModules::detectVariant(const std::string& runtime) {
    hnMatrelFileRecord active[kMatrelFileCount];
    if (getAllMatrelOptionRelatedFilesInfo(runtime.c_str(), active) < 1)
        return -1;
    for (const Variant& variant : kVariants) {
        std::string folder;
        hnMatrelFileRecord found[kMatrelFileCount];
        if (!variantFolder(runtime, variant, folder))
            continue;
        getAllMatrelOptionRelatedFilesInfo(folder.c_str(), found); // missing files stay zero
        if (variantMatches(active, found))
            return variant.index;
    }
    return 0;
}

std::vector<hnPageChoice> kdDInstallModules::choices() {
    hnPageChoice choice;
    choice.key = kVariantChoice;
    choice.current = "None";
    std::string runtime;
    if (hnCheckInstallations::isRuntimeProductInstalled() &&
        hnCheckInstallations::getRuntimeFolder(runtime)) {
        const Variant* active = findVariant(detectVariant(runtime));
        if (active)
            choice.current = active->text;
    }
    for (const Variant& variant : kVariants)
        choice.members.push_back(variant.text);
    return {choice};
}

bool kdDInstallModules::choose(const std::string& key, const std::string& member) {
    if (!hnEqualsNoCase(key, kVariantChoice) || !hwnd())
        return false;
    for (const Variant& variant : kVariants)
        if (hnEqualsNoCase(member, variant.text)) {
            changeMatrelVariantTo(variant.index);
            return true;
        }
    return false;
}

void kdDInstallModules::changeMatrelVariant() {
    DMatrelVersionSelection dialog;
    dialog.selectedVariant = variantIndex;
    dialog.ippInstalled = rowStatus[0] != kStatusNotInstalled;
    if (dialog.doModal(hwnd()) != IDOK)
        return;
    changeMatrelVariantTo(dialog.selectedVariant);
}

void kdDInstallModules::changeMatrelVariantTo(int variant) {
    if (variant < 1 || variant > 5) {
        appMessageBox("Error: Matrel version not selected. Please try again.");
        return;
    }
    variantIndex = variant;
    std::string runtime;
    if (!hnCheckInstallations::getRuntimeFolder(runtime)) {
        appMessageBox(kNoRuntimePath);
        return;
    }
    switchVariantFiles(runtime, variantIndex);
    updateMatrelVariantStatus();
}

bool kdDInstallModules::switchVariantFiles(const std::string& runtime, int index) {
    const Variant* variant = findVariant(index);
    std::string source;
    hnMatrelFileRecord offered[kMatrelFileCount];
    // A variant without all its files would leave the runtime without a
    // usable library: nothing is touched then.
    if (!variant || !variantFolder(runtime, *variant, source) ||
        getAllMatrelOptionRelatedFilesInfo(source.c_str(), offered) < 1) {
        hnDebugOut("kdDInstallModules::changeMatrelVariant - Variant files incomplete\n");
        appMessageBox(kCopyFailed);
        return false;
    }
    // The active files are kept in the private temp folder until the new
    // ones are all in place.
    char backupFolder[kTempSubFolderCapacity] = {};
    if (!createTempSubFolder(backupFolder, "MatrelBackup")) {
        hnDebugOut("kdDInstallModules::changeMatrelVariant - Unable to create the backup folder\n");
        appMessageBox(kCopyFailed);
        return false;
    }
    std::string targets[kMatrelFileCount], backups[kMatrelFileCount];
    bool backedUp[kMatrelFileCount] = {};
    for (int i = 0; i < kMatrelFileCount; ++i) {
        const char* name = kMatrelFiles[i];
        if (i == kScript)
            name = "matrelct.py";
        if (!hnFormat(targets[i], kPathCapacity, "%s%s", runtime.c_str(), kMatrelFiles[i]) ||
            !hnFormat(backups[i], kPathCapacity, "%s\\%s", backupFolder, name)) {
            appMessageBox(kCopyFailed);
            return false;
        }
        if (fileExists(targets[i])) {
            if (!::CopyFileA(targets[i].c_str(), backups[i].c_str(), FALSE)) {
                hnDebugOut("kdDInstallModules::changeMatrelVariant - Unable to back up the active files\n");
                appMessageBox(kCopyFailed);
                return false;
            }
            backedUp[i] = true;
        }
    }
    if (!deleteFileIfPresent(targets[0])) {
        appMessageBox(
            "Error: Unable to delete current Matrel.dll. It may be in use.\nPlease close the Orvanto "
            "Vision Software, if its open; and try again.");
        return false;
    }
    for (int i = 1; i < kMatrelFileCount; ++i)
        deleteFileIfPresent(targets[i]);
    for (int i : kCopyOrder) {
        if (::CopyFileA(offered[i].fullName.c_str(), targets[i].c_str(), FALSE))
            continue;
        // Back to the files that were active.
        std::vector<std::string> lost = restoreBackedUpFiles(targets, backups, backedUp, kMatrelFileCount);
        if (lost.empty()) {
            hnDebugOut("kdDInstallModules::changeMatrelVariant - Copy failed, active files restored\n");
            appMessageBox(kCopyFailed);
            return false;
        }
        std::string names;
        for (const std::string& name : lost)
            names += (names.empty() ? "" : ", ") + name;
        hnDebugOutF("kdDInstallModules::changeMatrelVariant - Copy failed, not restored: %s\n",
                    names.c_str());
        appMessageBox(hnFormatText("%s\nThese files of the previous version could not be put back: %s.",
                                   kCopyFailed, names.c_str()));
        return false;
    }
    return true;
}

std::vector<std::string> restoreBackedUpFiles(const std::string* targets, const std::string* backups,
                                              const bool* backedUp, int count) {
    std::vector<std::string> lost;
    for (int k = 0; k < count; ++k) {
        bool back = backedUp[k] ? copyFileReplacing(backups[k], targets[k]) &&
                                      filesHaveSameContent(backups[k], targets[k])
                                : deleteFileIfPresent(targets[k]);
        if (!back)
            lost.push_back(targets[k]);
    }
    return lost;
}

void kdDInstallModules::warnWhenVariantIsWrong() {
    if (variantStatus != "Ok")
        appMessageBox("Warning: Correct Matrel version is not selected.\nIt is recommended to select correct "
                      "Matrel version before proceeding.");
}

LRESULT kdDInstallModules::onWizardNext() {
    warnWhenVariantIsWrong();
    return kdDOptionalPageBase::onWizardNext();
}

bool kdDInstallModules::onQueryCancel() {
    warnWhenVariantIsWrong();
    return kdDOptionalPageBase::onQueryCancel();
}
