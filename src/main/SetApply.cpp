#include "main/SetApply.h"

#include <set>

#include "app/SessionLog.h"
#include "app/SessionLogLines.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "install/InstallManager.h"
#include "main/PassiveProgress.h"
#include "main/SetExport.h"
#include "main/UnattendedPrompter.h"
#include "pages/CataloguePage.h"
#include "pages/InstallerPages.h"
#include "pages/OptionalPageBase.h"
#include "pages/PipListingCheck.h"
#include "pages/PreRequisitesPage.h"
#include "python/PySelAccessors.h"
#include "python/PythonSelection.h"
#include "wizard/InstallerSheet.h"
#include "wizard/PropertyPageBase.h"

namespace {

const char* const kNoMember = "None";
const char* const kVersionNameKey = "VersionName";
// Long enough for what a handler posts to its page and sheet to arrive.
constexpr DWORD kSettleMs = 30;
// How long a package page may take to read pip's listing, or a catalogue
// page its fresh list, before its buttons work.
constexpr DWORD kListingWaitMs = 120000;

const hnSetEntry* entryOf(const CComponentSet& set, const char* section, const std::string& key) {
    const hnSetSection* s = set.section(section);
    for (std::size_t i = 0; s && i < s->entries.size(); ++i)
        if (hnEqualsNoCase(s->entries[i].key, key))
            return &s->entries[i];
    return nullptr;
}

bool isMissing(const hnInstallationElement& element) {
    return element.status().empty() || element.status() == kStatusNotInstalled;
}

// The step of a row that did not come, from what its row shows.
const char* failedStep(const hnInstallationElement& element) {
    std::string progress = element.progressText ? *element.progressText : std::string();
    if (progress == kProgressDownloadError)
        return "download";
    if (progress == kProgressFailed)
        return "install";
    return "detection after installing";
}

class CSetApplier {
public:
    CSetApplier(const CComponentSet& set, const hnApplyOptions& options, hnRunOutcome& outcome,
                const hnUnattendedPrompter& prompter)
        : set_(set), options_(options), outcome_(outcome), prompter_(prompter) {}

    void run();

private:
    bool stopped() {
        if (options_.progress && options_.progress->cancelled() && !outcome_.cancelled) {
            outcome_.cancelled = true;
            hnSessionLogF("Apply", "cancelled: the run stops after the step that ran");
        }
        return prompter_.ended() || outcome_.failed || outcome_.cancelled || outcome_.busy;
    }
    // Shows a step in the progress window of /passive.
    void step(const std::string& text) {
        hnSessionLogF("Apply", "%s", text.c_str());
        if (options_.progress)
            options_.progress->show(text, done_, total_);
    }
    void countListed(kdDPropertyPageBase& page);
    bool needsVisit(kdDPropertyPageBase& page);
    void applyStoredChoices();
    void applyPage(kdDPropertyPageBase& page);
    void applyInterpreters(kdDInstallPreRequisites& page);
    void applyRows(kdDPropertyPageBase& page);
    void applyChoices(kdDPropertyPageBase& page);
    void removeUnlistedRows(kdDPropertyPageBase& page);
    void checkRows(kdDPropertyPageBase& page);
    // Content and packages: those listed and missing come through their
    // rows, /exact removes those installed and not listed.
    void applyItems(kdDPropertyPageBase& page);
    void checkItems(kdDPropertyPageBase& page);
    void waitForListing(kdDPropertyPageBase& page);
    bool listedItem(const hnPageItem& item) const {
        return entryOf(set_, hnSetSectionOf(item.kind), item.key) != nullptr;
    }
    void fail(const hnInstallationElement& element, const char* step);
    void settle() { hnWaitHandlingMessages(kSettleMs); }

    const CComponentSet& set_;
    const hnApplyOptions& options_;
    hnRunOutcome& outcome_;
    const hnUnattendedPrompter& prompter_;
    int done_ = 0, total_ = 0;        // listed rows and choices, for the progress bar
    std::set<std::string> attempted_; // rows whose control was pressed
};

// A page is shown only when it has something to do: a row or choice the set
// names, rows /exact may remove, or the interpreter to choose.
bool CSetApplier::needsVisit(kdDPropertyPageBase& page) {
    if (dynamic_cast<kdDInstallPreRequisites*>(&page) && entryOf(set_, kSetPythonSection, kVersionNameKey))
        return true;
    hnInstallManagerBase& manager = *page.installManager;
    for (unsigned i = 0; i < manager.count(); ++i)
        if (entryOf(set_, kSetComponentsSection, manager.item(i)->name))
            return true;
    bool optional = dynamic_cast<kdDOptionalPageBase*>(&page) != nullptr;
    for (const hnPageItem& item : page.items())
        if (item.installed.empty() ? listedItem(item) : options_.exact && !listedItem(item))
            return true;
    for (const hnPageChoice& choice : page.choices()) {
        if (entryOf(set_, kSetSelectorsSection, choice.key))
            return true;
        if (options_.exact && optional && !hnEqualsNoCase(choice.current, kNoMember))
            for (const std::string& member : choice.members)
                if (hnEqualsNoCase(member, kNoMember))
                    return true;
    }
    if (!options_.exact || !optional || manager.count() == 0)
        return false;
    // /exact: only a page with a row to remove.
    manager.refreshStatuses(0, static_cast<int>(manager.count()) - 1);
    for (unsigned i = 0; i < manager.count(); ++i)
        if (page.removeControlOf(static_cast<int>(i)) != 0 && !isMissing(*manager.item(i)))
            return true;
    return false;
}

// The listed rows and choices of a page count as done once the page ran.
void CSetApplier::countListed(kdDPropertyPageBase& page) {
    hnInstallManagerBase& manager = *page.installManager;
    for (unsigned i = 0; i < manager.count(); ++i)
        if (entryOf(set_, kSetComponentsSection, manager.item(i)->name))
            ++done_;
    for (const hnPageChoice& choice : page.choices())
        if (entryOf(set_, kSetSelectorsSection, choice.key))
            ++done_;
    for (const hnPageItem& item : page.items())
        if (listedItem(item))
            ++done_;
    if (options_.progress)
        options_.progress->show("", done_, total_);
}

void CSetApplier::fail(const hnInstallationElement& element, const char* step) {
    outcome_.failed = true;
    hnSessionLogF("Apply", "%s failed at its %s (%s)%s%s", element.name.c_str(), step, element.url.c_str(),
                  element.progressReason().empty() ? "" : ": ", element.progressReason().c_str());
}

// The stored Python choices other than the interpreter, which the
// prerequisites page's combo sets when it installs and switches.
void CSetApplier::applyStoredChoices() {
    for (const hnPySelAccessor& accessor : pySelAccessors()) {
        const hnSetEntry* entry = entryOf(set_, kSetPythonSection, accessor.key);
        if (!entry || hnEqualsNoCase(accessor.key, kVersionNameKey))
            continue;
        std::string now;
        if (accessor.get(&now) == 1 && now == entry->value)
            continue;
        if (accessor.set(entry->value.c_str()) != 1) {
            outcome_.failed = true;
            hnSessionLogF("Apply", "the Python choice %s=%s could not be stored", accessor.key,
                          entry->value.c_str());
            return;
        }
        hnSessionLogF("Apply", "stored the Python choice %s=%s", accessor.key, entry->value.c_str());
    }
}

// Interpreters listed and missing come through the combo one by one (each
// switch installs the interpreter chosen); the stored one is chosen last.
void CSetApplier::applyInterpreters(kdDInstallPreRequisites& page) {
    hnInstallManagerBase& manager = *page.installManager;
    for (unsigned i = kdDInstallPreRequisites::kFirstPythonElement; i < manager.count() && !stopped(); ++i) {
        hnInstallationElement& element = *manager.item(i);
        if (!entryOf(set_, kSetComponentsSection, element.name) || !isMissing(element))
            continue;
        step("Installing " + element.name);
        attempted_.insert(element.name);
        page.choose(kdDInstallPreRequisites::kInterpreterChoice, element.name);
        settle();
    }
    const hnSetEntry* chosen = entryOf(set_, kSetPythonSection, kVersionNameKey);
    std::string stored;
    if (chosen && !stopped() && (getPythonVersionSelection(&stored) != 1 || stored != chosen->value)) {
        step("Choosing the interpreter " + chosen->value);
        page.choose(kdDInstallPreRequisites::kInterpreterChoice, chosen->value);
        settle();
    }
}

void CSetApplier::applyRows(kdDPropertyPageBase& page) {
    hnInstallManagerBase& manager = *page.installManager;
    std::vector<int> pressed;
    for (unsigned i = 0; i < manager.count() && !stopped(); ++i) {
        hnInstallationElement& element = *manager.item(i);
        if (!entryOf(set_, kSetComponentsSection, element.name) || !isMissing(element))
            continue;
        int control = page.installControlOf(static_cast<int>(i));
        if (control == 0)
            continue; // a selector's member, or a row another control brings
        bool again = false;
        for (int done : pressed)
            again = again || done == control;
        if (again)
            continue; // a button that installs several rows at once ran already
        pressed.push_back(control);
        for (unsigned k = i; k < manager.count(); ++k) // a shared button brings its rows together
            if (page.installControlOf(static_cast<int>(k)) == control)
                attempted_.insert(manager.item(k)->name);
        step("Installing " + element.name);
        page.pressControl(control);
        settle();
    }
}

void CSetApplier::applyChoices(kdDPropertyPageBase& page) {
    for (const hnPageChoice& choice : page.choices()) {
        if (stopped())
            return;
        const hnSetEntry* entry = entryOf(set_, kSetSelectorsSection, choice.key);
        std::string wanted;
        if (entry)
            wanted = entry->value;
        else if (options_.exact && dynamic_cast<kdDOptionalPageBase*>(&page))
            wanted = kNoMember; // only where "None" is one of the members
        bool offered = false;
        for (const std::string& member : choice.members)
            offered = offered || hnEqualsNoCase(member, wanted);
        if (wanted.empty() || !offered || hnEqualsNoCase(wanted, choice.current))
            continue;
        step(choice.key + ": " + wanted + " instead of " + choice.current);
        page.choose(choice.key, wanted);
        settle();
    }
    // A switch that did not happen is a failed component: the member asked
    // for is the one to name.
    for (const hnPageChoice& choice : page.choices()) {
        const hnSetEntry* entry = entryOf(set_, kSetSelectorsSection, choice.key);
        if (entry && !hnEqualsNoCase(entry->value, choice.current) && !stopped()) {
            outcome_.failed = true;
            hnSessionLogF("Apply", "%s failed: %s is not in place (%s is)", choice.key.c_str(),
                          entry->value.c_str(), choice.current.c_str());
        }
    }
}

// /exact: the rows of the optional pages that the set does not name go.
void CSetApplier::removeUnlistedRows(kdDPropertyPageBase& page) {
    if (!options_.exact || !dynamic_cast<kdDOptionalPageBase*>(&page))
        return;
    hnInstallManagerBase& manager = *page.installManager;
    for (unsigned i = 0; i < manager.count() && !stopped(); ++i) {
        hnInstallationElement& element = *manager.item(i);
        int control = page.removeControlOf(static_cast<int>(i));
        if (control == 0 || isMissing(element) || entryOf(set_, kSetComponentsSection, element.name))
            continue;
        step("Removing " + element.name + " (not in the set)");
        page.pressControl(control);
        settle();
    }
}

// Every row the set names must be there now; each one that is not is named
// with its address and step, also after a download the prompter answered
// with Abort. The page's activation and its handlers detected the rows
// already: only a listed row that still looks missing makes the page detect
// its rows once more before it counts.
void CSetApplier::checkRows(kdDPropertyPageBase& page) {
    hnInstallManagerBase& manager = *page.installManager;
    bool looksMissing = false;
    for (unsigned i = 0; i < manager.count(); ++i)
        looksMissing = looksMissing || (entryOf(set_, kSetComponentsSection, manager.item(i)->name) &&
                                        isMissing(*manager.item(i)));
    if (!looksMissing)
        return;
    manager.refreshStatuses(0, static_cast<int>(manager.count()) - 1);
    for (unsigned i = 0; i < manager.count(); ++i) {
        hnInstallationElement& element = *manager.item(i);
        if (!entryOf(set_, kSetComponentsSection, element.name) || !isMissing(element))
            continue;
        if (attempted_.count(element.name) || !stopped())
            fail(element, failedStep(element));
        else
            hnSessionLogF("Apply", "%s is not installed: the run stopped before it", element.name.c_str());
    }
}

void CSetApplier::waitForListing(kdDPropertyPageBase& page) {
    // What the page's rows wait for: pip's listing, a catalogue's fresh list.
    auto reading = [&page] {
        if (auto* listing = dynamic_cast<kdDPipListingPage*>(&page))
            return listing->checking();
        if (auto* catalogue = dynamic_cast<kdDCataloguePageBase*>(&page))
            return catalogue->fetchingList();
        return false;
    };
    for (DWORD waited = 0; reading() && waited < kListingWaitMs && !stopped(); waited += kSettleMs)
        settle();
}

void CSetApplier::applyItems(kdDPropertyPageBase& page) {
    for (const hnPageItem& item : page.items()) {
        if (stopped())
            return;
        if (!item.installed.empty() || !listedItem(item))
            continue;
        // Detected again: a set installed for an earlier item brought more.
        bool missing = false;
        for (const hnPageItem& now : page.items())
            missing = missing || (now.key == item.key && now.installed.empty());
        if (!missing)
            continue;
        step("Installing " + item.key);
        const hnSetEntry* entry = entryOf(set_, hnSetSectionOf(item.kind), item.key);
        if (!item.offered.empty() && !hnEqualsNoCase(item.offered, entry->value))
            hnSessionLogF("Apply",
                          "%s: the server offers %s now, the set records %s; the server's is installed",
                          item.key.c_str(), item.offered.c_str(), entry->value.c_str());
        attempted_.insert(item.key);
        if (!page.installItem(item.key))
            hnSessionLogF("Apply", "%s: the page has no control that installs it", item.key.c_str());
        settle();
    }
    if (!options_.exact)
        return;
    for (const hnPageItem& item : page.items()) {
        if (stopped())
            return;
        if (item.installed.empty() || listedItem(item))
            continue;
        step("Removing " + item.key + " (not in the set)");
        if (!page.removeItem(item.key))
            hnSessionLogF("Apply",
                          "%s stays: its page has no control that removes it alone (a package "
                          "set's component goes only with its whole set)",
                          item.key.c_str());
        settle();
    }
}

// Every listed item must be there now. Content and packages come at the
// version offered now: a version other than the set's is logged, not failed.
void CSetApplier::checkItems(kdDPropertyPageBase& page) {
    for (const hnPageItem& item : page.items()) {
        const hnSetEntry* entry = entryOf(set_, hnSetSectionOf(item.kind), item.key);
        if (!entry)
            continue;
        if (item.installed.empty()) {
            if (attempted_.count(item.key) || !stopped()) {
                outcome_.failed = true;
                hnSessionLogF("Apply", "%s failed: not installed after its install step%s%s",
                              item.key.c_str(), item.offered.empty() ? "" : ", offered version ",
                              item.offered.c_str());
            }
        } else if (!hnEqualsNoCase(item.installed, entry->value)) {
            hnSessionLogF("Apply", "%s is %s here; the set records %s (the set records, it does not pin)",
                          item.key.c_str(), item.installed.c_str(), entry->value.c_str());
        }
    }
}

void CSetApplier::applyPage(kdDPropertyPageBase& page) {
    waitForListing(page);
    if (auto* prerequisites = dynamic_cast<kdDInstallPreRequisites*>(&page)) {
        applyRows(page);
        if (!stopped())
            applyInterpreters(*prerequisites);
    } else {
        applyRows(page);
    }
    if (!stopped())
        applyChoices(page);
    if (!stopped())
        applyItems(page);
    if (!stopped())
        removeUnlistedRows(page);
    checkRows(page);
    checkItems(page);
    countListed(page);
}

void CSetApplier::run() {
    applyStoredChoices();
    if (stopped())
        return;
    kdDSheetHooks hooks = defaultSheetHooks();
    // No upgrade check, so never a hand-over to another installer.
    hooks.checkUpgradeChannel = [](CUpgradeInfo&, hnUpgradeCheckControl&) { return false; };
    kdDKadrixSDKInstallerSheet sheet(createInstallerPages(), hooks);
    sheet.setWizardMode();
    if (!sheet.create()) { // hidden: the sheet's window is made without WS_VISIBLE
        outcome_.failed = true;
        hnSessionLogF("Apply", "the wizard's pages could not be created");
        return;
    }
    settle();
    for (const char* section :
         {kSetComponentsSection, kSetSelectorsSection, kSetContentSection, kSetPackagesSection})
        if (const hnSetSection* listed = set_.section(section))
            total_ += static_cast<int>(listed->entries.size());
    // The page list follows the interpreter chosen on the way: it is read
    // again after every page.
    for (int index = 0; index < sheet.pageCount() && !stopped(); ++index) {
        kdDPropertyPageBase* page = sheet.pageBase(index);
        if (!page || !page->installManager)
            continue;
        if (!page->elementsInitialised) { // as the page's first activation does
            page->initInstallationElements();
            page->elementsInitialised = true;
        }
        if (!needsVisit(*page))
            continue;
        if (!sheet.setActivePage(index))
            continue;
        settle();
        if (!stopped())
            applyPage(*page);
    }
    sheet.destroy();
}

} // namespace

namespace {
// Writes a set into the session log, line by line.
void logSet(const CComponentSet& set) {
    std::string text, error;
    if (!hnFormatComponentSet(set, text, error)) {
        hnSessionLogF("Set as detected", "%s", error.c_str());
        return;
    }
    hnSessionLogLines("Set as detected", text);
}
} // namespace

void hnApplyComponentSet(const CComponentSet& set, const hnApplyOptions& options, hnRunOutcome& outcome,
                         const hnUnattendedPrompter& prompter) {
    CSetApplier(set, options, outcome, prompter).run();
    // One detection of the whole PC serves the last check and the log's
    // closing record: each would cost a full detection of its own.
    CPagesWithoutWindows pages;
    CComponentSet detected;
    hnDescribeThisPc(pages, detected);
    if (!prompter.ended() && !outcome.failed) {
        // Rows that no visited page brings (a page of the other interpreter,
        // a manager besides the pages') are checked once more as a whole.
        const hnSetSection* components = set.section(kSetComponentsSection);
        for (std::size_t i = 0; components && i < components->entries.size(); ++i) {
            const hnInstallationElement* row = pages.row(components->entries[i].key);
            if (row && isMissing(*row)) {
                outcome.failed = true;
                hnSessionLogF("Apply", "%s failed: no page of this run installs it (%s)", row->name.c_str(),
                              row->url.c_str());
            }
        }
        for (const hnPageItem& item : pages.items()) {
            if (entryOf(set, hnSetSectionOf(item.kind), item.key) && item.installed.empty()) {
                outcome.failed = true;
                hnSessionLogF("Apply", "%s failed: no page of this run installs it", item.key.c_str());
            }
        }
    }
    logSet(detected);
}
