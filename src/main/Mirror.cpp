#include "main/Mirror.h"

#include <atomic>
#include <set>
#include <vector>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/RepositoryAddress.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "download/DownloadEngine.h"
#include "download/InstallationElement.h"
#include "download/InternetStop.h"
#include "download/StatusWords.h"
#include "install/InstallManager.h"
#include "main/ExitCodes.h"
#include "main/PassiveProgress.h"
#include "main/SetExport.h"
#include "pages/WelcomePage.h"
#include "wizard/InstallerSheet.h"

namespace {

// The category prefix of the package pages' rows: the components a package
// set installs.
const char* const kPackageCategory = "Recommended Orvanto Extensions";
// The content group whose items (pictures) a page shows, not installs.
const char* const kResourcesGroup = "Resources";

std::string parentOf(const std::string& path) {
    std::string::size_type cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool fullPathOf(const std::string& path, std::string& full) {
    char buffer[MAX_PATH] = {};
    DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    full.assign(buffer, length);
    while (full.size() > 3 && (full.back() == '\\' || full.back() == '/'))
        full.pop_back();
    return true;
}

// What a set names: every key and value of its sections but the Python
// choices (row names, selector members, content items, packages).
class SetNames {
public:
    explicit SetNames(const CComponentSet* set) : set_(set) {
        if (!set)
            return;
        for (const hnSetSection& section : set->sections) {
            if (hnEqualsNoCase(section.name, kSetPythonSection))
                continue;
            bool selectors = hnEqualsNoCase(section.name, kSetSelectorsSection);
            bool content = hnEqualsNoCase(section.name, kSetContentSection);
            for (const hnSetEntry& entry : section.entries) {
                names_.insert(hnLowerCase(entry.key));
                // "Demo Profile: Name": the row of the list is the name.
                std::string::size_type kind = entry.key.find(": ");
                if (content && kind != std::string::npos)
                    names_.insert(hnLowerCase(entry.key.substr(kind + 2)));
                names_.insert(hnLowerCase(entry.value));
                if (selectors)
                    members_.push_back(hnLowerCase(entry.value));
            }
        }
        const hnSetSection* packages = set->section(kSetPackagesSection);
        packages_ = packages && !packages->entries.empty();
    }
    bool everything() const { return set_ == nullptr; }
    bool names(const std::string& name) const { return names_.count(hnLowerCase(name)) > 0; }
    // A row the set needs; lists and documents (fetched fresh for a copy) are
    // always needed, since the program reads them whatever it installs.
    // A selector's member is its combo text, which names its rows within
    // their display names.
    // The prerequisites page installs its rows as a chain, the chosen
    // interpreter among them: a set needs all of them.
    bool needs(const hnInstallationElement& row) const {
        if (everything() || row.refreshBeforeCopy || names(row.name) ||
            hnEqualsNoCase(row.category, kCategoryPrerequisites))
            return true;
        std::string name = hnLowerCase(row.name);
        for (const std::string& member : members_)
            if (!member.empty() && name.find(member) != std::string::npos)
                return true;
        return packages_ &&
               row.category.compare(0, std::string(kPackageCategory).size(), kPackageCategory) == 0;
    }

private:
    const CComponentSet* set_;
    std::set<std::string> names_;
    std::vector<std::string> members_;
    bool packages_ = false;
};

// One mirror run: each server path fetched once, failures counted, the run
// stopped through its stop block.
class MirrorRun {
public:
    MirrorRun(const std::string& folder, hnInternetStop& stop, CPassiveProgress* progress)
        : folder_(folder), stop_(stop), progress_(progress), rules_(hnMachineLinkRules()) {}

    // Mirrors the file `url` names for `what`; the local file in `local`.
    // False when it failed, was not there or the run was stopped; an address
    // that is not the repository's is logged and left out, which is no
    // failure. A `list` the server does not have (404) is no failure either:
    // the mirror then lacks it as the server does, and the program treats
    // both alike.
    bool fetch(const std::string& url, const std::string& what, std::string* local = nullptr,
               bool list = false);
    bool stopped() const { return stopped_ || stop_.stopRequested(); }
    bool failed() const { return !firstFailure_.empty(); }
    const std::string& firstFailure() const { return firstFailure_; }
    unsigned fetched = 0, kept = 0, leftOut = 0;
    int expectedSteps = 0; // for the progress bar of /passive

private:
    // Shows the file in the window of /passive, whose Cancel stops the run
    // before the next file.
    void step(const std::string& what);
    bool fail(const std::string& what, const std::string& url, const std::string& why);
    std::string folder_;
    hnInternetStop& stop_;
    CPassiveProgress* progress_;
    int steps_ = 0;
    hnLinkRules rules_;
    std::atomic<bool> abort_{false};
    std::set<std::string> done_; // server paths, lower case
    std::string firstFailure_;
    bool stopped_ = false;
};

bool MirrorRun::fail(const std::string& what, const std::string& url, const std::string& why) {
    std::string text = hnFormatText("\"%s\" from %s: %s", what.c_str(), url.c_str(), why.c_str());
    hnSessionLogF("Mirror", "failed: %s", text.c_str());
    if (firstFailure_.empty())
        firstFailure_ = text;
    return false;
}

void MirrorRun::step(const std::string& what) {
    if (!progress_)
        return;
    ++steps_;
    progress_->show(what, steps_, expectedSteps > steps_ ? expectedSteps : steps_ + 1);
    hnWaitHandlingMessages(0);
    if (progress_->cancelled())
        stop_.requestStop();
}

bool MirrorRun::fetch(const std::string& url, const std::string& what, std::string* local, bool list) {
    step(what);
    if (stopped())
        return false;
    hnListedAddress address = hnReadListedAddress(url);
    if (address.kind != hnListedAddress::Kind::Repository) {
        ++leftOut;
        hnSessionLogF("Mirror", "not mirrored, %s: \"%s\" %s",
                      address.kind == hnListedAddress::Kind::Elsewhere
                          ? "not below the repository's own server paths"
                          : "not a plain web address",
                      what.c_str(), url.c_str());
        return true;
    }
    std::string path;
    if (!hnLocalPathOfServerPath(folder_, address.path, path))
        return fail(what, url, "the server path is no plain file name here");
    if (local)
        *local = path;
    if (!done_.insert(hnLowerCase(address.path)).second)
        return true;
    std::string source = listedAddress(url);
    // Every folder below the mirror's own is one this run made or found; a
    // link there (or in place of the file) would send an elevated write
    // elsewhere.
    std::string parent = parentOf(path), refusal;
    if (!hnFolderChainIsSafe(folder_, parent, 0, rules_, refusal) ||
        (createFolderPath(parent), !hnFolderChainIsSafe(folder_, parent, 0, rules_, refusal)))
        return fail(what, source, refusal.empty() ? "the folder " + parent + " is not usable" : refusal);
    if (hnIsLinkPath(path))
        return fail(what, source, "a link stands in place of the file");
    ElementDownloadPaths paths = elementDownloadPaths(parent, path.substr(parent.size() + 1));
    DownloadResult result = mirrorFile(source, paths, abort_, &stop_);
    if (result.outcome == DownloadOutcome::Aborted || stop_.stopRequested()) {
        stopped_ = true;
        return false;
    }
    if (list && result.outcome == DownloadOutcome::HttpError && result.code == 404) {
        hnSessionLogF("Mirror", "not on the server, so not in the mirror: \"%s\" %s", what.c_str(),
                      source.c_str());
        return false;
    }
    if (!result.succeeded()) {
        std::string why = result.userText();
        return fail(what, source, why.empty() ? "Error. Unable to download file - Unexpected error" : why);
    }
    ++(result.outcome == DownloadOutcome::Present ? kept : fetched);
    return true;
}

// A list or document the program reads from its download cache: the copy
// just mirrored goes there too, as a refresh would put it, so that the
// content pages build their items from the server's current lists. True when
// the cache holds the mirrored copy.
bool placeInCache(const hnInstallationElement& row, const std::string& mirrored) {
    std::string target, full, refusal;
    if (!hnJoinPath(target, row.downloadFolder, row.fileName) || !fullPathOf(target, full))
        return false;
    if (hnEqualsNoCase(full, mirrored)) // the mirror is the cache itself
        return true;
    // The cache lies below the application folder: no link on the way is
    // followed, before the missing levels are made and after.
    if (!hnWriteFolderIsSafe(row.downloadFolder, refusal) ||
        (createFolderPath(row.downloadFolder), !hnWriteFolderIsSafe(row.downloadFolder, refusal))) {
        hnSessionLogF("Mirror", "the cached copy of %s is left as it was: %s", row.fileName.c_str(),
                      refusal.c_str());
        return false;
    }
    std::string temporary = target + "tmp";
    if (!::CopyFileA(mirrored.c_str(), temporary.c_str(), FALSE) || !moveFileReplacing(temporary, target)) {
        deleteFileForced(temporary);
        hnSessionLogF("Mirror", "unable to refresh the cached %s", target.c_str());
        return false;
    }
    return true;
}

} // namespace

int hnMirrorRepository(const std::string& folderArgument, const std::string& setFile, hnInternetStop& stop,
                       std::string& error, CPassiveProgress* progress) {
    error.clear();
    CPagesWithoutWindows pages;
    CComponentSet set;
    if (!setFile.empty() && (hnReadComponentSet(setFile, set, error) != 0 ||
                             hnCheckComponentSetKeys(
                                 set,
                                 [&pages](const std::string& section, const std::string& key) {
                                     return hnIsKnownSetKey(pages, section, key);
                                 },
                                 error) != 0 ||
                             hnCheckSetValues(pages, set, error) != 0)) {
        error = "the set file \"" + setFile + "\" cannot be used: " + error;
        return exitcode::kBadSetFile;
    }
    std::string folder;
    if (!fullPathOf(folderArgument, folder) || (createFolderPath(folder), !fileExists(folder))) {
        error = "the mirror folder \"" + folderArgument + "\" cannot be made";
        return exitcode::kFailed;
    }
    hnSessionLogF("Mirror", "into %s from %s, %s", folder.c_str(),
                  installerServices() ? installerServices()->repositoryBaseUrl().c_str() : "",
                  setFile.empty() ? "every page" : "what the set needs");
    SetNames wanted(setFile.empty() ? nullptr : &set);
    MirrorRun run(folder, stop, progress);
    run.expectedSteps = static_cast<int>(pages.rows().size());
    // The lists this run put into the cache, by their rows' names.
    std::set<std::string> listsInCache;
    auto mirrorRow = [&run, &wanted, &listsInCache](const hnInstallationElement& row) {
        std::string local;
        if (run.stopped() || !wanted.needs(row) ||
            !run.fetch(row.url, row.name, &local, row.refreshBeforeCopy) || !row.refreshBeforeCopy ||
            local.empty() || !fileExists(local))
            return;
        if (placeInCache(row, local))
            listsInCache.insert(hnLowerCase(row.name));
    };
    for (const hnInstallationElement* row : pages.rows())
        mirrorRow(*row);
    std::string helpTexts[3];
    for (const auto& help : kdDKadrixSDKInstallerSheet::createHelpElements(helpTexts))
        mirrorRow(*help);
    // The content items come from the lists just mirrored (each item is named
    // as its list's row). An item whose list is not in the cache is left
    // alone: its page would fetch the list itself.
    if (!run.stopped())
        visitCopyContent(
            [&listsInCache](const char*, const std::string& item) {
                return listsInCache.count(hnLowerCase(item)) > 0;
            },
            [&run, &wanted](const char* group, hnInstallManagerBase& elements) {
                // The resources page shows its pictures whatever is installed.
                bool shown = hnEqualsNoCase(group, kResourcesGroup);
                for (unsigned i = 0; i < elements.count() && !run.stopped(); ++i) {
                    const hnInstallationElement& element = *elements.item(i);
                    if (shown || wanted.everything() || element.refreshBeforeCopy ||
                        wanted.names(element.name))
                        run.fetch(element.url, element.name);
                }
                return run.stopped() ? 0 : 1;
            });
    hnSessionLogF("Mirror", "%u files fetched, %u kept (same size as the server's), %u addresses left out",
                  run.fetched, run.kept, run.leftOut);
    if (run.stopped()) {
        error = "the mirror was stopped";
        return exitcode::kCancelled;
    }
    if (run.failed()) {
        error = "a file could not be mirrored: " + run.firstFailure();
        return exitcode::kFailed;
    }
    return exitcode::kDone;
}
