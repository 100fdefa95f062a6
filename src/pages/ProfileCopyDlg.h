#pragma once
// The profiles (sub-folders of "Profiles") of the versions' data folders, and
// the dialog that copies or moves the chosen ones into this version.
#include <atomic>
#include <string>
#include <vector>
#include <windows.h>
#include <commctrl.h>

#include "pages/MigrationProgress.h"

struct hnProfileItem {
    int number = 0;
    bool selected = false;
    std::string name = "Orvanto Profile";
    HTREEITEM treeItem = nullptr;
};

struct versionProfiles {
    static constexpr std::size_t kMaxItems = 1024;
    std::string folderName = "Orvanto Vision Software Version";
    std::vector<hnProfileItem> items;
};

// The older data folders below `userDataRoot` that exist, newest first.
std::vector<std::string> listOlderVersionFolders(const std::string& userDataRoot, int major, int minor);
// Every entry of a data folder's "Profiles", whatever it is (folder, file,
// link, any name, no limit): a name there is taken.
std::vector<std::string> presentProfileNames(const std::string& userDataRoot, const std::string& folderName);
// The profiles of one data folder: its real sub-folders of "Profiles" (no
// links, never "." or ".."), leaving out the names (any letter case) that
// `present` holds.
versionProfiles readVersionProfiles(const std::string& userDataRoot, const std::string& folderName,
                                    const std::vector<std::string>* present = nullptr);

// What became of one profile.
enum class hnProfileOutcome {
    Done,    // copied (and, for a move, the source removed)
    Kept,    // a move whose copy is not complete: the source stays where it was
    Failed,  // the copy failed; a target folder this run created is removed
    Stopped, // stopped halfway; a target folder this run created is removed
};
// Copies the profile folder `source` to `target` (inside `targetProfiles`)
// without replacing files; with `move` deletes the source only when every one
// of its files is in the target with the same size and time (checked again
// file by file while deleting). A move that meets links keeps its source and
// removes the target folder it made; a copy adds the links it left out to
// `linksLeftOut`.
hnProfileOutcome copyOrMoveProfile(const std::string& source, const std::string& target,
                                   const std::string& targetProfiles, bool move, const hnStopBlock* stop,
                                   int* linksLeftOut = nullptr);

class DCopyMoveOrvantoProfiles : public DMigrationProgressBase {
public:
    DCopyMoveOrvantoProfiles(const std::vector<versionProfiles>& lists, bool copy, int selectedCount,
                             const std::string& userDataRoot);
    ~DCopyMoveOrvantoProfiles() override { stopWorker(); }

    int failures() const { return failures_; }
    std::string messageText() const;

protected:
    bool onInitDialog() override;
    void onProgress(long long done) override;

private:
    void profileCopyWorker();

    const std::vector<versionProfiles>& lists_;
    bool copy_;
    int selectedCount_;
    std::string userDataRoot_;
    std::atomic<int> failures_{0};
    std::atomic<int> linksLeftOut_{0};
};
