#include "main/SetExport.h"

#include "app/SessionLog.h"
#include "app/Text.h"
#include "download/StatusWords.h"
#include "install/InstallManager.h"
#include "install/PipShow.h"
#include "main/ExitCodes.h"
#include "pages/InstallerPages.h"
#include "pages/PipExtensionsPageBase.h"
#include "pages/PipPackagesPageBase.h"
#include "python/Python27Functions.h"
#include "python/Python36Functions.h"
#include "python/PythonSelection.h"
#include "python/PySelAccessors.h"
#include "wizard/PropertyPageBase.h"

namespace {
// The installer version a set records.
const char* const kSetInstallerVersion = "15.0.0.774";
const char* const kNoMember = "None";

// What pip lists in each interpreter that no page offers: comments of the
// set, never read back.
void describeOtherPackages(const std::vector<hnPageItem>& items, std::vector<std::string>& comments) {
    const struct {
        const char* python;
        bool (*folder)(std::string&);
    } interpreters[] = {{"Python 2.7", &hnPyhton27InstallFunctions::getPython27InstallFolder},
                        {"Python 3.6", &hnPyhton36InstallFunctions::getPython36InstallFolder}};
    for (const auto& interpreter : interpreters) {
        std::string folder;
        hnPipListing listing;
        if (!interpreter.folder(folder) || !hnReadPipListing(folder, listing, nullptr))
            continue;
        for (const auto& package : listing.packages()) {
            bool offered = false;
            for (const hnPageItem& item : items)
                offered = offered ||
                          (!item.package.empty() && pipNameKey(item.package) == pipNameKey(package.first));
            if (!offered)
                comments.push_back(hnFormatText("%s: %s==%s (no page offers it)", interpreter.python,
                                                package.first.c_str(), package.second.c_str()));
        }
    }
}
} // namespace

CPagesWithoutWindows::CPagesWithoutWindows() : pages_(createInstallerPages()) {
    std::vector<hnInstallManagerBase*> managers;
    for (kdDPropertyPageBase* page : pages_->all()) {
        if (!page)
            continue;
        if (!page->elementsInitialised) {
            page->initInstallationElements();
            page->elementsInitialised = true;
        }
        managers.push_back(page->installManager.get());
    }
    for (hnInstallManagerBase* extra : pages_->extraManagers())
        managers.push_back(extra);
    // The package pages' packages are items of [Python Packages], not rows.
    std::vector<hnInstallManagerBase*> packages;
    for (kdDPropertyPageBase* page : pages_->all()) {
        if (auto* extensions = dynamic_cast<kdDPipExtensionsPageBase*>(page))
            packages.push_back(extensions->installManager.get());
        if (auto* sets = dynamic_cast<kdDPipPackagesPageBase*>(page))
            packages.push_back(sets->componentManager.get());
    }
    for (hnInstallManagerBase* manager : managers) {
        bool ofPackages = false;
        for (hnInstallManagerBase* other : packages)
            ofPackages = ofPackages || other == manager;
        for (unsigned i = 0; manager && !ofPackages && i < manager->count(); ++i)
            if (!row(manager->item(i)->name))
                rows_.push_back(manager->item(i));
    }
}

CPagesWithoutWindows::~CPagesWithoutWindows() = default;

hnInstallationElement* CPagesWithoutWindows::row(const std::string& name) const {
    for (hnInstallationElement* element : rows_)
        if (hnEqualsNoCase(element->name, name))
            return element;
    return nullptr;
}

void CPagesWithoutWindows::detect() {
    itemsDetected_ = false;
    // One pass reads the whole PC: pip's listing is read once per interpreter
    // for every page that asks, instead of once per page.
    hnPipAnswerScope answers;
    for (kdDPropertyPageBase* page : pages_->all()) {
        hnInstallManagerBase* manager = page ? page->installManager.get() : nullptr;
        if (manager && manager->count() > 0)
            manager->refreshStatuses(0, static_cast<int>(manager->count()) - 1);
    }
    for (hnInstallManagerBase* extra : pages_->extraManagers())
        if (extra && extra->count() > 0)
            extra->refreshStatuses(0, static_cast<int>(extra->count()) - 1);
}

std::vector<hnPageChoice> CPagesWithoutWindows::choices() {
    std::vector<hnPageChoice> found;
    for (kdDPropertyPageBase* page : pages_->all()) {
        if (!page)
            continue;
        for (hnPageChoice& choice : page->choices()) {
            bool seen = false;
            for (const hnPageChoice& other : found)
                seen = seen || hnEqualsNoCase(other.key, choice.key);
            if (!seen && !choice.key.empty())
                found.push_back(choice);
        }
    }
    return found;
}

const std::vector<hnPageItem>& CPagesWithoutWindows::items() {
    if (itemsDetected_)
        return items_;
    items_.clear();
    for (kdDPropertyPageBase* page : pages_->all()) {
        if (!page)
            continue;
        for (hnPageItem& item : page->items()) {
            bool seen = false;
            for (const hnPageItem& other : items_)
                seen = seen || (other.kind == item.kind && hnEqualsNoCase(other.key, item.key));
            if (!seen && !item.key.empty())
                items_.push_back(item);
        }
    }
    itemsDetected_ = true;
    return items_;
}

const char* hnSetSectionOf(hnPageItem::Kind kind) {
    return kind == hnPageItem::Content ? kSetContentSection : kSetPackagesSection;
}

void hnDescribeThisPc(CPagesWithoutWindows& pages, CComponentSet& set) {
    set = CComponentSet();
    set.installerVersion = kSetInstallerVersion;
    hnSetSection& python = set.addSection(kSetPythonSection);
    for (const hnPySelAccessor& accessor : pySelAccessors()) {
        std::string value;
        // Only a stored, valid choice: a missing one means the default there too.
        if (accessor.get(&value) == 1)
            python.entries.push_back({accessor.key, value, 0});
    }
    pages.detect();
    hnSetSection& components = set.addSection(kSetComponentsSection);
    for (const hnInstallationElement* element : pages.rows()) {
        const std::string& status = element->status();
        if (status.empty() || status == kStatusNotInstalled)
            continue;
        components.entries.push_back(
            {element->name, element->statusDetail.empty() ? status : element->statusDetail, 0});
    }
    // A choice with nothing chosen is left out: applying a set never removes
    // a member it does not name, except with /exact.
    hnSetSection& selectors = set.addSection(kSetSelectorsSection);
    for (const hnPageChoice& choice : pages.choices())
        if (!hnEqualsNoCase(choice.current, kNoMember))
            selectors.entries.push_back({choice.key, choice.current, 0});
    set.addSection(kSetContentSection);
    set.addSection(kSetPackagesSection);
    for (const hnPageItem& item : pages.items())
        if (!item.installed.empty())
            set.addSection(hnSetSectionOf(item.kind)).entries.push_back({item.key, item.installed, 0});
    describeOtherPackages(pages.items(), set.addSection(kSetPackagesSection).comments);
}

bool hnIsKnownSetKey(CPagesWithoutWindows& pages, const std::string& section, const std::string& key) {
    if (hnEqualsNoCase(section, kSetPythonSection)) {
        for (const hnPySelAccessor& accessor : pySelAccessors())
            if (hnEqualsNoCase(key, accessor.key))
                return true;
        return false;
    }
    if (hnEqualsNoCase(section, kSetComponentsSection))
        return pages.row(key) != nullptr;
    if (hnEqualsNoCase(section, kSetSelectorsSection)) {
        for (const hnPageChoice& choice : pages.choices())
            if (hnEqualsNoCase(choice.key, key))
                return true;
        return false;
    }
    for (const hnPageItem& item : pages.items())
        if (hnEqualsNoCase(section, hnSetSectionOf(item.kind)) && hnEqualsNoCase(item.key, key))
            return true;
    return false;
}

int hnCheckSetValues(CPagesWithoutWindows& pages, const CComponentSet& set, std::string& error) {
    const hnSetSection* selectors = set.section(kSetSelectorsSection);
    if (!selectors)
        return 0;
    std::vector<hnPageChoice> choices = pages.choices();
    for (const hnSetEntry& entry : selectors->entries) {
        for (const hnPageChoice& choice : choices) {
            if (!hnEqualsNoCase(choice.key, entry.key))
                continue;
            bool member = false;
            for (const std::string& text : choice.members)
                member = member || hnEqualsNoCase(text, entry.value);
            if (!member) {
                error = hnFormatText("line %d: \"%s\" is no member of \"%s\"", entry.line,
                                     entry.value.c_str(), entry.key.c_str());
                return exitcode::kBadSetFile;
            }
        }
    }
    return 0;
}

int hnExportComponentSet(const std::string& path, std::string& error) {
    CPagesWithoutWindows pages;
    CComponentSet set;
    hnDescribeThisPc(pages, set);
    if (!hnWriteComponentSet(path, set, error))
        return exitcode::kFailed;
    const hnSetSection* components = set.section(kSetComponentsSection);
    hnSessionLogF("Export", "wrote the component set to \"%s\" (%u installed components)", path.c_str(),
                  components ? static_cast<unsigned>(components->entries.size()) : 0u);
    return exitcode::kDone;
}
