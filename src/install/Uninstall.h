#pragma once
// Removal of installation elements: the progress-dialog road of the pages
// (uninstallElement), the removal dispatcher by display name, the repair
// road of the install manager and the Windows Installer removal.
#include <string>

#include "install/ActionServices.h"

struct hnInstallationElement;
class hnElementActions;

// 1 removed (or was not installed), -1 still installed afterwards.
int uninstallElement(hnElementActions& detection, hnInstallationElement& element, int position, int runLength,
                     bool stopOnErrors, const hnActionTimings& timings = hnActionTimings());

// True when the removal method of the element's name reports success;
// names without a method are not removable (false).
bool uninstallComponentByName(hnInstallationElement& element, bool stopOnErrors,
                              const hnActionTimings& timings = hnActionTimings());

// The name has a removal method (the dispatcher can remove it).
bool hasRemovalMethod(const std::string& name);
// The name is one of the few components whose removal is not supported
// (".NET 2.0", "Windows Installer 3.1", the reader).
bool isKnownAsNotRemovable(const std::string& name);

// 1 nothing to do or removed, -1 failed.
int repairElement(bool stopOnErrors, hnInstallationElement& element,
                  const hnActionTimings& timings = hnActionTimings());

// True when the product is not installed or was configured to absent. A stop
// cancels the removal (false).
bool uninstallMsiProduct(const char* productCode, const hnStopBlock* stop = nullptr);

// Follows a program the caller cannot hold a handle to: waits until a process
// of that image name runs, then until none runs. False when none appeared.
bool followProcessByImageName(const char* imageName, const hnActionTimings& timings);
