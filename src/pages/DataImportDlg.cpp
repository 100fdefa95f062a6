#include "pages/DataImportDlg.h"

#include <algorithm>
#include <cctype>
#include <commctrl.h>
#include <fstream>
#include <iterator>

#include "app/AppBase.h"
#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/FolderCopy.h"
#include "app/InstallerServices.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "catalogue/Documents.h"
#include "install/CheckInstallations.h"
#include "migration_ids.h"

const char* const kCurrentDataFolderName = "Orvanto 15.0";

namespace {

constexpr long long kNotifyEvery = 25;
constexpr double kLowSpaceMb = 2048.0;
const char* const kInsufficient = "Insufficient disk space";
const char* const kLow = "Low disk space";
const char* const kImportSection = "DataImport";
const char* const kIncompleteKey = "IncompleteFrom";

bool allDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string trimmed(const std::string& line) {
    std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    std::size_t last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

bool isRewrittenSection(const std::string& name) {
    const char* const sections[] = {"Config.ArchiveHistory", "Config.ProfileHistory", "Config"};
    for (const char* section : sections)
        if (hnEqualsNoCase(name, section))
            return true;
    return false;
}

// The folder holds an entry other than the ones the installer creates itself
// before the import is offered (the Python selection, the runtime's plugins).
bool holdsUserData(const std::string& folder) {
    bool holds = false;
    bool listed = hnListFolder(folder, [&holds](const hnFolderEntry& entry) {
        holds = !hnEqualsNoCase(entry.name, "Python") && !hnEqualsNoCase(entry.name, "Plugins");
        return !holds;
    });
    // What cannot be listed may hold anything: nothing is imported over it.
    return holds || !listed;
}

bool realFreeSpace(const std::string& folder, unsigned long long& freeBytes) {
    ULARGE_INTEGER available;
    if (!::GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr))
        return false;
    freeBytes = available.QuadPart;
    return true;
}

} // namespace

bool parseDataFolderVersion(const std::string& folderName, int& major, int& minor) {
    std::size_t space = folderName.find_last_of(' ');
    std::size_t point = folderName.find_last_of('.');
    if (space == std::string::npos || point == std::string::npos || point < space)
        return false;
    std::string majorText = folderName.substr(space + 1, point - space - 1);
    std::string minorText = folderName.substr(point + 1);
    if (!allDigits(majorText) || !allDigits(minorText) || majorText.size() > 4 || minorText.size() > 4)
        return false;
    major = std::stoi(majorText);
    minor = std::stoi(minorText);
    return true;
}

std::vector<std::string> olderDataFolderNames(int major, int minor) {
    std::vector<std::string> names;
    for (int i = 0; i <= 3; ++i)
        names.push_back(hnFormatText("Orvanto 9.%d", i));
    for (int i = 0; i <= 3; ++i)
        names.push_back(hnFormatText("Orvanto 10.%d", i));
    for (int i = 0; i <= 1; ++i)
        names.push_back(hnFormatText("Orvanto 11.%d", i));
    names.push_back("Orvanto 12.0");
    for (int i = 0; i < minor; ++i)
        names.push_back(hnFormatText("Orvanto %d.%d", major, i));
    return names;
}

bool copyFolderWithProgress(const std::string& source, const std::string& target, bool overwrite,
                            const hnStopBlock* stop, HWND window, UINT message, long long* counter,
                            hnTreeCopyResult* outcome) {
    if ((stop && stop->stopRequested()) || source.empty() || target.empty() || !counter)
        return false;
    hnTreeCopyOptions options;
    options.overwrite = overwrite;
    options.stop = stop;
    options.afterFile = [&] {
        ++*counter;
        if (window && *counter % kNotifyEvery == 0)
            ::SendMessageA(window, message, static_cast<WPARAM>(*counter), 0);
    };
    hnTreeCopyResult result;
    hnCopyFolderTree(source, target, options, result);
    if (result.failed || result.differing || result.links)
        hnDebugOutF("copyFolderWithProgress - %d files not copied, %d kept as they were, %d links left out\n",
                    result.failed, result.differing, result.links);
    if (outcome)
        *outcome = result;
    return !result.stopped;
}

std::string notCopiedText(int files, const std::string& first) {
    return hnFormatText("%d files could not be copied; the first: %s", files, first.c_str());
}

bool measureFolder(const std::string& folder, long long& files, long long& kilobytes) {
    return hnMeasureFolderTree(folder, files, kilobytes);
}

namespace {

bool readFileBytes(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

bool rewriteSettingsPaths(const std::string& settingsFile, const std::string& oldFolder,
                          const std::string& newFolder) {
    std::string key = hnLowerCase(oldFolder);
    std::string content;
    if (key.empty() || !readFileBytes(settingsFile, content))
        return false;
    // Text in another encoding is left exactly as it was copied.
    if (content.find('\0') != std::string::npos || content.compare(0, 2, "\xFF\xFE") == 0 ||
        content.compare(0, 2, "\xFE\xFF") == 0) {
        hnDebugOutF("rewriteSettingsPaths - %s is not plain text, left as copied\n", settingsFile.c_str());
        return false;
    }
    // Line by line as bytes: every line keeps its own ending.
    std::string rewritten;
    bool rewrite = false;
    for (std::size_t start = 0; start < content.size();) {
        std::size_t end = content.find('\n', start);
        end = end == std::string::npos ? content.size() : end + 1;
        std::size_t bodyEnd = end;
        if (bodyEnd > start && content[bodyEnd - 1] == '\n')
            --bodyEnd;
        if (bodyEnd > start && content[bodyEnd - 1] == '\r')
            --bodyEnd;
        std::string line = content.substr(start, bodyEnd - start);
        std::string header = trimmed(line);
        if (header.size() > 2 && header.front() == '[' && header.back() == ']')
            rewrite = isRewrittenSection(header.substr(1, header.size() - 2));
        std::size_t at = rewrite ? hnLowerCase(line).find(key) : std::string::npos;
        if (at != std::string::npos && at > 0 && at + key.size() < line.size())
            line = line.substr(0, at) + newFolder + line.substr(at + key.size());
        rewritten += line;
        rewritten.append(content, bodyEnd, end - bodyEnd);
        start = end;
    }
    // A temporary of its own, made new, swapped in only once it is flushed
    // and closed without an error.
    std::string temporary;
    hnScopedHandle out = hnCreateFreshFile(settingsFile + "~", 3, temporary);
    if (!out)
        return false;
    DWORD written = 0;
    bool complete =
        (rewritten.empty() ||
         (::WriteFile(out.get(), rewritten.data(), static_cast<DWORD>(rewritten.size()), &written, nullptr) &&
          written == rewritten.size())) &&
        ::FlushFileBuffers(out.get());
    complete = ::CloseHandle(out.release()) && complete;
    if (complete && ::MoveFileExA(temporary.c_str(), settingsFile.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileA(temporary.c_str());
    return false;
}

DImportOrvantoData::DImportOrvantoData()
    : DMigrationProgressBase(IDD_IMPORT_DATA, "DImportOrvantoData::stopWorker"), freeSpace(realFreeSpace),
      runtimeFolder(hnCheckInstallations::getRuntimeFolder) {
    hnDocumentsFolder(userDataRoot);
    parseDataFolderVersion(kCurrentDataFolderName, major_, minor_);
    if (DHelp2::helpSettingsPath(&installerSettings) != 1)
        installerSettings.clear();
}

std::string DImportOrvantoData::incompleteImport() const {
    char value[MAX_PATH] = {};
    if (!installerSettings.empty())
        ::GetPrivateProfileStringA(kImportSection, kIncompleteKey, "", value, sizeof(value),
                                   installerSettings.c_str());
    return value;
}

void DImportOrvantoData::rememberIncompleteImport(const std::string& folderName) const {
    if (installerSettings.empty())
        return;
    if (!::WritePrivateProfileStringA(kImportSection, kIncompleteKey,
                                      folderName.empty() ? nullptr : folderName.c_str(),
                                      installerSettings.c_str()))
        hnDebugOutF("rememberIncompleteImport - unable to write %s\n", installerSettings.c_str());
}

bool DImportOrvantoData::shouldOfferDataImport() const {
    std::string folder;
    if (userDataRoot.empty() || !hnJoinPath(folder, userDataRoot, kCurrentDataFolderName))
        return false;
    // What an unfinished import copied is user data too: it does not stop the offer.
    if (incompleteImport().empty() && fileExists(folder) && holdsUserData(folder))
        return false;
    for (const std::string& name : olderDataFolderNames(major_, minor_)) {
        std::string older;
        if (hnJoinPath(older, userDataRoot, name) && fileExists(older))
            return true;
    }
    return false;
}

bool DImportOrvantoData::onInitDialog() {
    if (HMENU menu = ::GetSystemMenu(hwnd(), FALSE))
        ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    std::string message = hnFormatText("You have upgraded to '%s'.\n\nData generated by older Orvanto "
                                       "versions exists on this computer.\nYou "
                                       "can import this data, so that it is can be used in '%s'",
                                       "Orvanto Version XV", "Orvanto Version XV");
    ::SetDlgItemTextA(hwnd(), IDC_MIGRATION_MESSAGE, message.c_str());
    startProgress(0);
    HWND list = item(IDC_IMPORT_FROM);
    LRESULT last = CB_ERR;
    for (const std::string& name : olderDataFolderNames(major_, minor_)) {
        std::string folder;
        if (hnJoinPath(folder, userDataRoot, name) && fileExists(folder))
            last = ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (last != CB_ERR)
        ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(last), 0);
    updateDiskSpace();
    setRunning(false);
    centerOnOwner();
    return true;
}

std::string DImportOrvantoData::selectedFolder() const {
    std::string name;
    hnComboSelection(item(IDC_IMPORT_FROM), name);
    return name;
}

void DImportOrvantoData::updateDiskSpace() {
    long long files = 0, kilobytes = 0;
    std::string folder, name = selectedFolder();
    if (!name.empty() && hnJoinPath(folder, userDataRoot, name))
        measureFolder(folder, files, kilobytes);
    double required = static_cast<double>(kilobytes) / 1024.0;
    unsigned long long freeBytes = 0;
    double available =
        freeSpace && freeSpace(userDataRoot, freeBytes) ? static_cast<double>(freeBytes) / 1048576.0 : 0.0;
    const char* status =
        available < required ? kInsufficient : (available - required < kLowSpaceMb ? kLow : "Ok");
    fileCount = files;
    requiredText = hnFormatText("Disk Space Required: %.2f MB", required);
    availableText = hnFormatText("Disk Space Available: %.2f MB", available);
    statusText = hnFormatText("Status: %s", status);
    ::SetDlgItemTextA(hwnd(), IDC_IMPORT_REQUIRED, requiredText.c_str());
    ::SetDlgItemTextA(hwnd(), IDC_IMPORT_AVAILABLE, availableText.c_str());
    ::SetDlgItemTextA(hwnd(), IDC_IMPORT_STATUS, statusText.c_str());
}

bool DImportOrvantoData::onCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_IMPORT_FROM && code == CBN_SELCHANGE) {
        updateDiskSpace();
        return true;
    }
    if (id == IDC_IMPORT_START && code == BN_CLICKED) {
        onImport();
        return true;
    }
    return DMigrationProgressBase::onCommand(id, code, control);
}

void DImportOrvantoData::onImport() {
    hnPrompter& prompter = hnAppBase::current()->prompter();
    std::string status = hnWindowText(item(IDC_IMPORT_STATUS));
    if (status.find(kInsufficient) != std::string::npos) {
        prompter.messageBox(hwnd(),
                            "Sufficient disk space is not available.\nPlease create required free space by "
                            "deleting some files on the system drive and try again.",
                            kInstallerCaption, MB_OK | MB_ICONERROR);
        return;
    }
    if (status.find(kLow) != std::string::npos &&
        prompter.messageBox(
            hwnd(),
            "After importing the data, system drive will have low disk space.\nDo you want to "
            "continue?",
            kInstallerCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::string name = selectedFolder();
    if (name.empty())
        return;
    bool templates = ::IsDlgButtonChecked(hwnd(), IDC_IMPORT_TEMPLATES) == BST_CHECKED;
    startProgress(fileCount);
    startWorker([this, name, templates] { dataImportWorker(name, templates); });
}

void DImportOrvantoData::dataImportWorker(const std::string& folderName, bool templates) {
    std::string source, target;
    if (!hnJoinPath(source, userDataRoot, folderName) ||
        !hnJoinPath(target, userDataRoot, kCurrentDataFolderName))
        return;
    const hnStopBlock* stop = &stopBlock();
    long long counter = 0;
    hnTreeCopyResult data, templatesResult;
    rememberIncompleteImport(folderName); // until it is known to have finished
    copyFolderWithProgress(source, target, false, stop, window_, kProgressMessage, &counter, &data);
    std::string settings;
    // Also after an abort: whatever was copied points at this version.
    if (hnFormat(settings, kPathCapacity, "%s\\Orvanto.ini", target.c_str()) && fileExists(settings))
        rewriteSettingsPaths(settings, source, target);

    std::string runtime, ending;
    if (templates && !stop->stopRequested() && runtimeFolder && runtimeFolder(runtime) &&
        hnFormat(ending, kPathCapacity, "\\%s\\%s\\", kCurrentDataFolderName, "Runtime") &&
        runtime.size() > ending.size() &&
        hnEqualsNoCase(runtime.substr(runtime.size() - ending.size()), ending)) {
        std::string base = runtime.substr(0, runtime.size() - ending.size());
        std::string from, to;
        if (hnFormat(from, kPathCapacity, "%s\\%s\\%s\\%s", base.c_str(), folderName.c_str(), "Runtime",
                     "Templates") &&
            hnFormat(to, kPathCapacity, "%sTemplates", runtime.c_str()) && fileExists(from))
            copyFolderWithProgress(from, to, false, stop, window_, kProgressMessage, &counter,
                                   &templatesResult);
    }
    // Files that were not copied are said, and the bar keeps the share that
    // really was copied.
    int failed = data.failed + templatesResult.failed;
    if (failed > 0) {
        std::string message =
            hnWindowText(::GetDlgItem(window_, IDC_MIGRATION_MESSAGE)) + "\n" +
            notCopiedText(failed, data.failed ? data.firstFailed : templatesResult.firstFailed);
        ::SetDlgItemTextA(window_, IDC_MIGRATION_MESSAGE, message.c_str());
    }
    if (failed == 0 && !stop->stopRequested())
        rememberIncompleteImport("");
    if (!stop->stopRequested())
        reportProgress(failed > 0 ? std::max(0LL, counter - failed) : fileCount);
}

void DImportOrvantoData::applyRunning(bool running) {
    ::EnableWindow(item(IDC_IMPORT_FROM), !running);
    ::EnableWindow(item(IDC_IMPORT_TEMPLATES), !running);
    ::EnableWindow(item(IDC_IMPORT_START), !running);
}

void offerDataImport(HWND owner) {
    DImportOrvantoData dialog;
    if (dialog.shouldOfferDataImport())
        dialog.doModal(owner);
}
