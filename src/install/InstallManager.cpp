#include "install/InstallManager.h"

#include <algorithm>
#include <windows.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/SessionLog.h"
#include "app/Text.h"
#include "install/ElementActions.h"
#include "install/PipShow.h"
#include "download/StatusWords.h"
#include "install/RepairQuestion.h"

const char* const kRepairQuestion =
    "Errors are observed in existing installations. \nDo you want to repair these "
    "components?\n\nClick 'Yes' to repair and proceed.\nClick 'No' to abort the "
    "installation.";

hnInstallManagerBase::~hnInstallManagerBase() {
    clearElements();
}

hnElementActions& hnInstallManagerBase::actions() const {
    return actions_ ? *actions_ : installerServices()->elementActions();
}

int hnInstallManagerBase::setElements(unsigned elementCount, hnInstallationElement* const* elements) {
    items.clear();
    items.reserve(elementCount);
    for (unsigned i = 0; i < elementCount; ++i)
        items.emplace_back(new hnInstallationElement(*elements[i]));
    return 1;
}

void hnInstallManagerBase::clearElements() {
    items.clear();
}

bool hnInstallManagerBase::needsRepair(const hnInstallationElement& element) {
    const std::string& status = element.status();
    return status == kStatusReinstallNeeded || status == kStatusVersionMismatch ||
           status == kStatusMultipleVersions || status == kStatusIncompleteModule;
}

void hnInstallManagerBase::markRun(const std::vector<bool>& inRun) {
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setProgress(inRun[i] ? kProgressPending : "");
}

void hnInstallManagerBase::markRange(int first, int last) {
    std::vector<bool> inRun(items.size(), false);
    for (int i = first; i <= last; ++i)
        if (validIndex(i))
            inRun[static_cast<std::size_t>(i)] = true;
    markRun(inRun);
}

bool hnInstallManagerBase::askRepairQuestion() {
    return appMessageBox(kRepairQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::vector<std::string> hnInstallManagerBase::statusSnapshot(int first, int last) const {
    std::vector<std::string> snapshot;
    for (int i = first; i <= last; ++i)
        if (validIndex(i))
            snapshot.push_back(items[static_cast<std::size_t>(i)]->status());
    return snapshot;
}

hnInstallManagerBase::hnDetectOnce::hnDetectOnce(hnInstallManagerBase* manager) : manager_(manager) {
    if (manager_ && manager_->detectOnceDepth_++ == 0) {
        manager_->detected_.assign(manager_->items.size(), false);
        manager_->scopeMemo_ = hnDetectionMemo();
    }
}

hnInstallManagerBase::hnDetectOnce::~hnDetectOnce() {
    if (manager_ && --manager_->detectOnceDepth_ == 0)
        manager_->detected_.clear();
}

hnInstallManagerBase::hnChangingOperation::hnChangingOperation(hnInstallManagerBase& manager)
    : manager_(manager) {
    ++manager_.changingDepth_;
    manager_.detected_.assign(manager_.detected_.size(), false);
}

hnInstallManagerBase::hnChangingOperation::~hnChangingOperation() {
    --manager_.changingDepth_;
    manager_.detected_.assign(manager_.detected_.size(), false);
    manager_.scopeMemo_ = hnDetectionMemo();
}

hnInstallManagerBase::hnSharedDetection::hnSharedDetection(hnElementActions& actions, hnDetectionMemo* memo)
    : actions_(actions), previous_(actions.shareDetection(memo)) {}

hnInstallManagerBase::hnSharedDetection::~hnSharedDetection() {
    actions_.shareDetection(previous_);
}

int hnInstallManagerBase::refreshStatuses(int first, int last) {
    hnPipAnswerScope pipAnswers; // each package asked once for all rows
    // One refresh reads the machine-wide answers once; inside an open scope
    // (and outside any change) the whole scope shares them.
    hnDetectionMemo refreshMemo;
    bool inScope = detectOnceDepth_ > 0 && changingDepth_ == 0;
    hnSharedDetection sharing(actions(), inScope ? &scopeMemo_ : &refreshMemo);
    bool failed = false;
    for (int i = first; i <= last; ++i) {
        if (!validIndex(i))
            continue;
        hnInstallationElement& element = *items[static_cast<std::size_t>(i)];
        std::size_t row = static_cast<std::size_t>(i);
        if (changingDepth_ == 0 && row < detected_.size()) {
            if (detected_[row]) {
                failed = failed || element.status() != kStatusInstalled;
                continue;
            }
            detected_[row] = true;
        }
        element.statusDetail.clear();
        const std::string before = element.status();
        if (!actions().isInstalled(element)) {
            element.setStatus(kStatusNotInstalled);
            failed = true;
        } else {
            std::string status = element.status();
            bool complete = actions().getStatusWord(element, status);
            element.setStatus(status.c_str());
            if (!complete)
                failed = true;
        }
        // Support sees in the log when and why a row's word changed.
        if (element.status() != before)
            hnSessionLogF("Status", "%s: %s (was %s): %s", element.name.c_str(), element.status().c_str(),
                          before.empty() ? "unset" : before.c_str(), element.statusReason().c_str());
    }
    return failed ? -1 : 1;
}

int hnInstallManagerBase::installRange(int first, int last, bool repairWholeList, bool askBeforeRepair,
                                       bool stopOnErrors) {
    hnChangingOperation changing(*this);
    int scopeFirst = first, scopeLast = last;
    if (repairWholeList) {
        if (items.empty())
            return -1;
        scopeFirst = 0;
        scopeLast = static_cast<int>(items.size()) - 1;
    }

    // Without the question nobody could stop a repair that keeps leaving a
    // repair word behind: a pass that ends in a state the run has already
    // seen (unchanged, or alternating between words) ends the run.
    std::vector<std::vector<std::string>> seen;
    for (;;) {
        bool found = false;
        for (int i = scopeFirst; i <= scopeLast && !found; ++i)
            found = validIndex(i) && needsRepair(*items[static_cast<std::size_t>(i)]);
        if (!found)
            break;
        if (askBeforeRepair && !askRepairQuestion())
            return -1;
        seen.push_back(statusSnapshot(scopeFirst, scopeLast));
        for (int i = scopeFirst; i <= scopeLast; ++i) {
            if (validIndex(i) &&
                actions().repairElement(stopOnErrors, *items[static_cast<std::size_t>(i)]) <= 0)
                break;
        }
        refreshStatuses(scopeFirst, scopeLast);
        if (!askBeforeRepair &&
            std::find(seen.begin(), seen.end(), statusSnapshot(scopeFirst, scopeLast)) != seen.end()) {
            hnDebugOut("hnInstallManagerBase::installRange - repair returned the installations to an earlier "
                       "state\n");
            return -1;
        }
    }

    markRange(first, last);
    for (int i = first; i <= last && validIndex(i); ++i) {
        if (actions().installElement(*items[static_cast<std::size_t>(i)], i - first + 1, last - first + 1,
                                     false, stopOnErrors) <= 0)
            return -1;
    }
    return 1;
}

int hnInstallManagerBase::installSelection(const int* indices, int indexCount, bool refresh,
                                           bool repairWholeList) {
    hnChangingOperation changing(*this);
    if (!indices || indexCount <= 0)
        return -1;
    std::vector<int> selected;
    for (int k = 0; k < indexCount; ++k)
        if (validIndex(indices[k]))
            selected.push_back(indices[k]);

    for (;;) {
        bool found = false;
        if (repairWholeList) {
            for (auto& element : items)
                found = found || needsRepair(*element);
        } else {
            for (int index : selected)
                found = found || needsRepair(*items[static_cast<std::size_t>(index)]);
        }
        if (!found)
            break;
        if (!askRepairQuestion())
            return -1;
        if (repairWholeList) {
            int last = static_cast<int>(items.size()) - 1;
            if (repairRange(false, 0, last) <= 0) {
                appMessageBox("Unexpected error. Please try again.", MB_OK);
                return -1;
            }
            refreshStatuses(0, last);
        } else {
            std::vector<int> ordered(selected);
            std::sort(ordered.begin(), ordered.end());
            for (int index : ordered) {
                actions().repairElement(false, *items[static_cast<std::size_t>(index)]);
                refreshStatuses(index, index);
            }
        }
    }

    std::vector<bool> inRun(items.size(), false);
    for (int index : selected)
        inRun[static_cast<std::size_t>(index)] = true;
    markRun(inRun);
    for (int k = 0; k < indexCount; ++k) {
        if (!validIndex(indices[k]))
            return -1;
        if (actions().installElement(*items[static_cast<std::size_t>(indices[k])], k + 1, indexCount, refresh,
                                     false) < 1)
            return -1;
    }
    return 1;
}

int hnInstallManagerBase::downloadAll(bool showSummary, bool* skipAllErrors) {
    std::vector<int> all(items.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(i);
    return downloadSelection(all.data(), static_cast<int>(all.size()), showSummary, skipAllErrors);
}

int hnInstallManagerBase::downloadSelection(const int* indices, int indexCount, bool showSummary,
                                            bool* skipAllErrors) {
    if (!indices || indexCount < 1 || !skipAllErrors)
        return -1;
    std::vector<bool> inRun(items.size(), false);
    for (int k = 0; k < indexCount; ++k)
        if (validIndex(indices[k]))
            inRun[static_cast<std::size_t>(indices[k])] = true;
    markRun(inRun);

    for (int p = 0; p < indexCount; ++p) {
        if (!validIndex(indices[p]))
            continue;
        hnInstallationElement& element = *items[static_cast<std::size_t>(indices[p])];
        for (;;) {
            bool userAborted = false;
            if (actions().downloadElement(element, userAborted, p + 1, indexCount) > 0 || *skipAllErrors)
                break;
            if (userAborted)
                return -1;
            std::string text =
                hnFormatText("Error - Unable to download the component '%s'", element.fileName.c_str());
            hnDownloadErrorChoice choice = actions().askDownloadError(text);
            if (choice == hnDownloadErrorChoice::Retry)
                continue;
            if (choice == hnDownloadErrorChoice::IgnoreAll)
                *skipAllErrors = true;
            if (choice == hnDownloadErrorChoice::Abort)
                return -1;
            break;
        }
    }
    if (showSummary)
        appMessageBox(hnFormatText("Successfully downloaded the files.\nDownload directory - %s",
                                   cacheFolder(kInstallDataFolderName).c_str()),
                      MB_OK);
    return 1;
}

int hnInstallManagerBase::repairRange(bool stopOnErrors, int first, int last) {
    hnChangingOperation changing(*this);
    for (int i = first; i <= last; ++i) {
        if (validIndex(i) && actions().repairElement(stopOnErrors, *items[static_cast<std::size_t>(i)]) <= 0)
            return -1;
    }
    return 1;
}

int hnInstallManagerBase::uninstallRange(int first, int last, bool stopOnErrors) {
    hnChangingOperation changing(*this);
    markRange(first, last);
    for (int i = last; i >= first; --i) {
        if (!validIndex(i))
            continue;
        if (actions().uninstallElement(*items[static_cast<std::size_t>(i)], last - i + 1, last - first + 1,
                                       stopOnErrors) <= 0)
            return -1;
    }
    return 1;
}

int hnInstallManagerBase::deleteOldDownloads(bool onlyRefreshable, bool showSummary) {
    int total = static_cast<int>(items.size());
    for (int i = 0; i < total; ++i) {
        hnInstallationElement& element = *items[static_cast<std::size_t>(i)];
        if (onlyRefreshable && !element.refreshBeforeCopy)
            continue;
        if (actions().deleteOldDownload(i + 1, element, total) <= 0)
            return -1;
    }
    if (showSummary)
        appMessageBox(hnFormatText("Successfully deleted the old downloads.\nFrom directory - %s",
                                   cacheFolder(kInstallDataFolderName).c_str()),
                      MB_OK);
    return 1;
}

bool hnInstallManagerBase::allInstalled() const {
    if (items.empty())
        return false;
    for (auto& element : items)
        if (!element->statusText || *element->statusText != kStatusInstalled)
            return false;
    return true;
}

bool hnInstallManagerBase::noneInstalled() const {
    for (auto& element : items)
        if (element->statusText && *element->statusText != kStatusNotInstalled)
            return false;
    return true;
}

hnInstallationElement* hnInstallManagerBase::findElementByName(const std::string& name) const {
    for (auto& element : items)
        if (element->name == name)
            return element.get();
    return nullptr;
}

int hnInstallManagerBase::refreshVersionDetails(int last) {
    hnPipAnswerScope pipAnswers;
    bool failed = false;
    for (int i = 0; i <= last; ++i)
        if (validIndex(i) && actions().updateStatusDetail(*items[static_cast<std::size_t>(i)]) <= 0)
            failed = true;
    return failed ? -1 : 1;
}
