#pragma once
// Fetch first, change second: an install run over a page's rows changes
// nothing on the machine unless every installable it may need is at hand.
#include <string>
#include <vector>

class hnInstallManagerBase;

// Fetches (download only, no questions) every row of `rows` that is not
// "Installed". True when all are at hand; otherwise `told` is the one
// sentence for the user: what could not be downloaded, that nothing was
// changed, and what of the manager's rows is installed now.
bool fetchRowsFirst(hnInstallManagerBase& manager, const std::vector<int>& rows, std::string& told);

// installRange(first, last) with the whole list repaired, fetch first: the
// rows of the range and every row with a repair word are fetched before
// anything runs. A failed fetch answers -2 with `told` set and changes
// nothing; otherwise the answer is installRange's.
int installAllFetchedFirst(hnInstallManagerBase& manager, int first, int last, bool askBeforeRepair,
                           bool stopOnErrors, std::string& told);
