#pragma once
// A PC's component set, taken from the wizard's own pages: the pages are
// built without windows (as for an installer copy), their rows detected as
// on activation, and every installed row is described by its display name.
// There is no list of components besides the pages' tables.
#include <memory>
#include <string>
#include <vector>

#include "main/ComponentSetFile.h"
#include "wizard/PropertyPageBase.h"

class kdDSheetPages;
struct hnInstallationElement;

class CPagesWithoutWindows {
public:
    CPagesWithoutWindows();
    ~CPagesWithoutWindows();
    CPagesWithoutWindows(const CPagesWithoutWindows&) = delete;
    CPagesWithoutWindows& operator=(const CPagesWithoutWindows&) = delete;

    // Every row of every page in the pages' order, a name shown on several
    // pages once (the first row of that name).
    const std::vector<hnInstallationElement*>& rows() const { return rows_; }
    // The row of that display name (case-insensitive), or null.
    hnInstallationElement* row(const std::string& name) const;
    // Detects every row as its page does on activation.
    void detect();
    // Every page's choices (selectors, modes, the library variant) as
    // detected now, each key once.
    std::vector<hnPageChoice> choices();
    // Every page's content and packages, each key once (the first page's),
    // as detected at the first call after construction or detect().
    const std::vector<hnPageItem>& items();

private:
    std::unique_ptr<kdDSheetPages> pages_;
    std::vector<hnInstallationElement*> rows_;
    std::vector<hnPageItem> items_;
    bool itemsDetected_ = false;
};

// The set section of an item's kind: [Content] or [Python Packages].
const char* hnSetSectionOf(hnPageItem::Kind kind);

// Describes this PC: the stored Python choices, the installed rows with
// their detected version or status word, the choices, the installed content
// and the installed packages a page offers (those pip lists that no page
// offers as comments).
void hnDescribeThisPc(CPagesWithoutWindows& pages, CComponentSet& set);

// Whether a set's key names something this program knows, by the same
// tables: the stored Python choices, the pages' rows and the pages' choices.
bool hnIsKnownSetKey(CPagesWithoutWindows& pages, const std::string& section, const std::string& key);
// The values the pages must know too: a choice's member. 0, or 87 with
// `error` naming the line.
int hnCheckSetValues(CPagesWithoutWindows& pages, const CComponentSet& set, std::string& error);

// /export FILE: 0, or 1603 with `error` when the file cannot be written.
int hnExportComponentSet(const std::string& path, std::string& error);
