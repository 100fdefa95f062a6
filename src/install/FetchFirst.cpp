#include "install/FetchFirst.h"

#include "app/DebugOut.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/ElementActions.h"
#include "install/InstallManager.h"

int installAllFetchedFirst(hnInstallManagerBase& manager, int first, int last, bool stopOnErrors) {
    for (int i = first; i <= last; ++i) {
        hnInstallationElement* element = manager.item(static_cast<unsigned>(i));
        if (!element || element->status() == kStatusInstalled)
            continue;
        bool userAborted = false;
        if (manager.actions().downloadElement(*element, userAborted, i - first + 1, last - first + 1) <= 0 ||
            userAborted) {
            hnDebugOutF("installAllFetchedFirst - Unable to download %s; nothing changed\n",
                        element->name.c_str());
            return -2;
        }
    }
    return manager.installRange(first, last, true, true, stopOnErrors);
}
