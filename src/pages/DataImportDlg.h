#pragma once
// Offers, after the core installation, to import the user data of an older
// installed version ("Orvanto 12.0", ...) into this version's data folder in
// the documents folder, with the paths in its settings file rewritten and,
// on request, the older runtime's templates.
#include <functional>
#include <string>
#include <vector>

#include "app/FolderCopy.h"
#include "pages/MigrationProgress.h"

extern const char* const kCurrentDataFolderName; // "Orvanto 15.0"

// The major and minor number of a data folder name ("Orvanto 15.0": 15, 0):
// the digits between the last space and the last point, and after it.
bool parseDataFolderVersion(const std::string& folderName, int& major, int& minor);
// Older data folder names in the order they are probed, oldest first.
std::vector<std::string> olderDataFolderNames(int major, int minor);

// Copies the tree below `source` into `target` as the import does: links
// left out, existing files kept unless `overwrite`; after each file
// `counter` grows and every 25th file sends `message` to `window` with it.
// False when stopped (or an argument is missing). `result` (when given)
// receives the counts of the copy.
bool copyFolderWithProgress(const std::string& source, const std::string& target, bool overwrite,
                            const hnStopBlock* stop, HWND window, UINT message, long long* counter,
                            hnTreeCopyResult* result = nullptr);
// What an import whose files were not all copied adds to its message.
std::string notCopiedText(int files, const std::string& first);
// Files below `folder` and their size in whole KB; links left out.
bool measureFolder(const std::string& folder, long long& files, long long& kilobytes);

// Rewrites `oldFolder` (any letter case) to `newFolder` in the values of the
// sections "Config.ArchiveHistory", "Config.ProfileHistory" and "Config" of
// the settings file, where more text follows the old folder. Through
// a temporary of its own, made new and swapped in only when written whole;
// the file stays as it was when that fails. Read and written as bytes: each
// line keeps its own ending. A file with a UTF-16 byte-order mark or a NUL
// byte is left as it is (false).
bool rewriteSettingsPaths(const std::string& settingsFile, const std::string& oldFolder,
                          const std::string& newFolder);

class DImportOrvantoData : public DMigrationProgressBase {
public:
    DImportOrvantoData();
    ~DImportOrvantoData() override { stopWorker(); }

    // The data folder of this version holds nothing but what the installer
    // made itself ("Python", "Plugins") and an older one exists.
    bool shouldOfferDataImport() const;

    std::string userDataRoot; // the documents folder
    // The installer's own settings file: an import that did not finish is
    // remembered there, never in a file of a data folder, and offered again
    // while it is.
    std::string installerSettings;
    // The older data folder of an import that did not finish; empty when
    // the last import finished.
    std::string incompleteImport() const;
    // Free bytes for the caller on the volume of a folder; false when unknown.
    std::function<bool(const std::string& folder, unsigned long long& freeBytes)> freeSpace;
    // The runtime folder (ending with a separator); false without one.
    std::function<bool(std::string& folder)> runtimeFolder;

    // Dialog texts, as last written to the controls.
    std::string requiredText, availableText, statusText;
    long long fileCount = 0;

protected:
    bool onInitDialog() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    void applyRunning(bool running) override;

private:
    void updateDiskSpace();
    void onImport();
    void dataImportWorker(const std::string& folderName, bool templates);
    std::string selectedFolder() const;
    void rememberIncompleteImport(const std::string& folderName) const; // empty: forgets

    int major_ = 15, minor_ = 0;
};

// The core page's hook: shows the dialog modally when the import is offered.
void offerDataImport(HWND owner);
