#include "install/FetchFirst.h"

#include "app/DebugOut.h"
#include "app/SessionLog.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/ElementActions.h"
#include "install/InstallManager.h"

namespace {

// "A, B (Version Mismatch)": the rows that are there in any form, with the
// word of those that are not whole.
std::string installedNow(const hnInstallManagerBase& manager) {
    std::string list;
    for (unsigned i = 0; i < manager.count(); ++i) {
        const hnInstallationElement& element = *manager.item(i);
        const std::string& status = element.status();
        if (status.empty() || status == kStatusNotInstalled)
            continue;
        if (!list.empty())
            list += ", ";
        list += element.name;
        if (status != kStatusInstalled)
            list += " (" + status + ")";
    }
    return list;
}

} // namespace

bool fetchRowsFirst(hnInstallManagerBase& manager, const std::vector<int>& rows, std::string& told) {
    told.clear();
    std::vector<hnInstallationElement*> needed;
    for (int row : rows) {
        hnInstallationElement* element = manager.item(static_cast<unsigned>(row));
        if (element && element->status() != kStatusInstalled)
            needed.push_back(element);
    }
    for (std::size_t k = 0; k < needed.size(); ++k) {
        hnInstallationElement& element = *needed[k];
        bool userAborted = false;
        if (manager.actions().downloadElement(element, userAborted, static_cast<int>(k) + 1,
                                              static_cast<int>(needed.size())) > 0 &&
            !userAborted)
            continue;
        std::string installed = installedNow(manager);
        told = (userAborted ? "The download of " + element.name + " was stopped"
                            : element.name + " could not be downloaded") +
               ", so nothing was changed; " +
               (installed.empty() ? std::string("none of these components is installed.")
                                  : "installed now: " + installed + ".");
        hnDebugOutF("fetchRowsFirst - Unable to download %s; nothing changed\n", element.name.c_str());
        hnSessionLogF("Install", "%s", told.c_str());
        return false;
    }
    return true;
}

int installAllFetchedFirst(hnInstallManagerBase& manager, int first, int last, bool askBeforeRepair,
                           bool stopOnErrors, std::string& told) {
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(manager.count()); ++i) {
        const hnInstallationElement& element = *manager.item(static_cast<unsigned>(i));
        if ((i >= first && i <= last) || hnInstallManagerBase::needsRepair(element))
            rows.push_back(i);
    }
    if (!fetchRowsFirst(manager, rows, told))
        return -2;
    return manager.installRange(first, last, true, askBeforeRepair, stopOnErrors);
}
