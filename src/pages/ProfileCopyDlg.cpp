#include "pages/ProfileCopyDlg.h"

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/FolderCopy.h"
#include "app/Text.h"
#include "migration_ids.h"
#include "pages/DataImportDlg.h"

std::vector<std::string> listOlderVersionFolders(const std::string& userDataRoot, int major, int minor) {
    std::vector<std::string> names = olderDataFolderNames(major, minor);
    std::vector<std::string> found;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        std::string folder;
        if (hnJoinPath(folder, userDataRoot, *name) && fileExists(folder))
            found.push_back(*name);
    }
    return found;
}

namespace {
bool profilesFolder(const std::string& userDataRoot, const std::string& folderName, std::string& folder) {
    return hnFormat(folder, kPathCapacity, "%s\\%s\\Profiles", userDataRoot.c_str(), folderName.c_str());
}
} // namespace

std::vector<std::string> presentProfileNames(const std::string& userDataRoot, const std::string& folderName) {
    std::vector<std::string> names;
    std::string folder;
    if (profilesFolder(userDataRoot, folderName, folder))
        hnListFolder(folder, [&names](const hnFolderEntry& entry) {
            names.push_back(entry.name);
            return true;
        });
    return names;
}

versionProfiles readVersionProfiles(const std::string& userDataRoot, const std::string& folderName,
                                    const std::vector<std::string>* present) {
    versionProfiles version;
    version.folderName = folderName;
    std::string folder;
    if (!profilesFolder(userDataRoot, folderName, folder))
        return version;
    hnListFolder(folder, [&](const hnFolderEntry& entry) {
        // A link may lead anywhere: it is no profile to move.
        if (entry.kind != hnFolderEntry::Folder || !isPlainLocalFileName(entry.name))
            return true;
        bool taken = false;
        if (present)
            for (const std::string& name : *present)
                taken = taken || hnEqualsNoCase(name, entry.name);
        if (taken)
            return true;
        hnProfileItem item;
        item.number = static_cast<int>(version.items.size());
        item.name = entry.name;
        version.items.push_back(item);
        return version.items.size() < versionProfiles::kMaxItems;
    });
    return version;
}

hnProfileOutcome copyOrMoveProfile(const std::string& source, const std::string& target,
                                   const std::string& targetProfiles, bool move, const hnStopBlock* stop,
                                   int* linksLeftOut) {
    bool existed = fileExists(target);
    hnTreeCopyOptions options;
    options.stop = stop;
    hnTreeCopyResult result;
    hnCopyFolderTree(source, target, options, result);
    // A partial profile would never be offered again: the run that made the
    // folder takes it away again.
    auto removeMadeFolder = [&] {
        if (!existed && isStrictlyInsideFolder(target, targetProfiles))
            deleteFolderTree(target.c_str(), targetProfiles.c_str());
    };
    if (result.stopped || result.failed) {
        removeMadeFolder();
        return result.stopped ? hnProfileOutcome::Stopped : hnProfileOutcome::Failed;
    }
    if (!move) {
        if (linksLeftOut)
            *linksLeftOut += result.links;
        return hnProfileOutcome::Done;
    }
    if (!result.complete()) {
        hnDebugOutF("copyOrMoveProfile - %s kept: %d files differ in the target, %d links not moved\n",
                    source.c_str(), result.differing, result.links);
        if (result.links > 0)
            removeMadeFolder();
        return hnProfileOutcome::Kept;
    }
    if (!hnDeleteMovedTree(source, target)) {
        hnDebugOutF("copyOrMoveProfile - %s kept in part: not every file could be checked and deleted\n",
                    source.c_str());
        return hnProfileOutcome::Kept;
    }
    return hnProfileOutcome::Done;
}

DCopyMoveOrvantoProfiles::DCopyMoveOrvantoProfiles(const std::vector<versionProfiles>& lists, bool copy,
                                                   int selectedCount, const std::string& userDataRoot)
    : DMigrationProgressBase(IDD_COPY_MOVE_PROFILES, "DCopyMoveOrvantoProfiles::stopWorker"), lists_(lists),
      copy_(copy), selectedCount_(selectedCount), userDataRoot_(userDataRoot) {}

std::string DCopyMoveOrvantoProfiles::messageText() const {
    return hnWindowText(item(IDC_MIGRATION_MESSAGE));
}

bool DCopyMoveOrvantoProfiles::onInitDialog() {
    ::SetDlgItemTextA(hwnd(), IDC_MIGRATION_MESSAGE,
                      copy_ ? "Copying selected Orvanto Profiles..." : "Moving selected Orvanto Profiles...");
    startProgress(selectedCount_);
    centerOnOwner();
    startWorker([this] { profileCopyWorker(); });
    return true;
}

void DCopyMoveOrvantoProfiles::profileCopyWorker() {
    const hnStopBlock* stop = &stopBlock();
    std::string targetProfiles;
    if (!hnFormat(targetProfiles, kPathCapacity, "%s\\%s\\Profiles", userDataRoot_.c_str(),
                  kCurrentDataFolderName))
        return;
    int processed = 0;
    for (const versionProfiles& version : lists_) {
        for (const hnProfileItem& profile : version.items) {
            if (stop->stopRequested())
                return;
            if (!profile.selected)
                continue;
            std::string source, target;
            if (!hnFormat(source, kPathCapacity, "%s\\%s\\%s\\%s", userDataRoot_.c_str(),
                          version.folderName.c_str(), "Profiles", profile.name.c_str()) ||
                !hnFormat(target, kPathCapacity, "%s\\%s", targetProfiles.c_str(), profile.name.c_str())) {
                ++failures_;
            } else {
                int links = 0;
                hnProfileOutcome outcome =
                    copyOrMoveProfile(source, target, targetProfiles, !copy_, stop, &links);
                linksLeftOut_ += links;
                if (outcome == hnProfileOutcome::Stopped)
                    return;
                if (outcome != hnProfileOutcome::Done)
                    ++failures_;
            }
            reportProgress(++processed);
        }
    }
    reportProgress(selectedCount_);
}

void DCopyMoveOrvantoProfiles::onProgress(long long done) {
    DMigrationProgressBase::onProgress(done);
    if (done < selectedCount_)
        return;
    int failed = failures_, links = linksLeftOut_;
    std::string linksNote =
        links > 0 ? hnFormatText("\n%d links inside the profiles were not copied.", links) : "";
    if (failed == 0) {
        setPercentText("(100%) Processing complete.");
        std::string text = std::string(copy_ ? "Copy selected Orvanto Profiles.\nProcessing complete."
                                             : "Move selected Orvanto Profiles.\nProcessing complete.") +
                           linksNote;
        ::SetDlgItemTextA(hwnd(), IDC_MIGRATION_MESSAGE, text.c_str());
        return;
    }
    setPercentText("(100%) Processing finished with errors.");
    std::string text =
        copy_
            ? hnFormatText("Copy selected Orvanto Profiles.\n%d of %d Orvanto Profiles could not be copied.",
                           failed, selectedCount_)
            : hnFormatText("Move selected Orvanto Profiles.\n%d of %d Orvanto Profiles could not be moved "
                           "completely and stay in their version.",
                           failed, selectedCount_);
    text += linksNote;
    ::SetDlgItemTextA(hwnd(), IDC_MIGRATION_MESSAGE, text.c_str());
}
