#pragma once
// Install All of a set of packages, fetch first: nothing on the machine
// changes unless every installable that may be needed is at hand.
class hnInstallManagerBase;

// Every element of the range that is not "Installed" is fetched first
// (download only, no questions); when any fetch fails nothing is repaired,
// removed or installed and the answer is -2. Otherwise the manager's
// installRange over the range, the whole list repaired after the question.
int installAllFetchedFirst(hnInstallManagerBase& manager, int first, int last, bool stopOnErrors);
