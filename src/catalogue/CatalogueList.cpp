#include "catalogue/CatalogueList.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/Text.h"

const char* const kPackageSlotKeys[kPackageSlots] = {
    "pywin", "pyserial", "numpy", "scipy", "opencv-python", "MySQL-python", "Paint.net", "Python.net"};

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The lines of the file, each without its line end (LF or CR LF; a last line
// without one counts too). The whole file is read at once, so a line is never
// split however long it is, and both looks at it see the same text.
bool readLines(const std::string& path, std::vector<std::string>& lines) {
    lines.clear();
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    std::string content;
    char chunk[16384];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file.get())) > 0)
        content.append(chunk, got);
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// "[name]" of at least three characters after trimming; the name untrimmed.
bool sectionHeader(const std::string& line, std::string& group) {
    if (line.size() < 3 || line.front() != '[' || line.back() != ']')
        return false;
    group = line.substr(1, line.size() - 2);
    return true;
}

// The keys a sectioned list entry takes, and where each value goes.
struct KeyField {
    const char* key;
    std::string CatalogueEntry::*field;
};
const KeyField kKeyFields[] = {{"Name", &CatalogueEntry::Name},
                               {"ClassName", &CatalogueEntry::ClassName},
                               {"VersionLabel", &CatalogueEntry::VersionLabel},
                               {"URL", &CatalogueEntry::URL},
                               {"InfoText", &CatalogueEntry::InfoText},
                               {"InfoURL", &CatalogueEntry::InfoURL}};

void storeKeyLine(const std::string& line, CatalogueEntry& entry) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0)
        return;
    std::string key = line.substr(0, equals);
    for (const KeyField& known : kKeyFields) {
        if (!hnEqualsNoCase(key, known.key))
            continue;
        std::string& field = entry.*known.field;
        if (field.empty()) // the first non-empty value of a key wins
            field = line.substr(equals + 1);
        if (known.field == &CatalogueEntry::URL)
            field = listedAddress(field);
        return;
    }
}

std::string lowerCase(std::string text) {
    if (!text.empty())
        ::CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool containsNoCase(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&name](const std::string& known) { return hnEqualsNoCase(known, name); });
}

} // namespace

int CatalogueList::load(const char* listPath) {
    entries.clear();
    count = 0;
    path = listPath ? listPath : "";
    loaded = true;
    std::vector<std::string> lines;
    if (!listPath || !readLines(path, lines))
        return -1;
    std::vector<std::string> content;
    content.reserve(lines.size());
    std::string group;
    for (const std::string& line : lines) {
        content.push_back(trimmed(line));
        if (sectionHeader(content.back(), group))
            ++count;
    }
    entries.resize(static_cast<std::size_t>(count));
    // After the k-th header the current entry is k - 1; key lines before the
    // first header belong to none.
    int current = -1;
    for (const std::string& line : content) {
        if (line.empty())
            continue;
        if (sectionHeader(line, group)) {
            if (++current >= count)
                return -2;
            if (entries[static_cast<std::size_t>(current)].group.empty())
                entries[static_cast<std::size_t>(current)].group = group;
        } else if (current >= 0) {
            storeKeyLine(line, entries[static_cast<std::size_t>(current)]);
        }
    }
    return current + 1 == count ? 1 : -3;
}

int CatalogueList::distinctGroups(std::vector<std::string>* groups) const {
    if (!groups)
        return -1;
    groups->clear();
    for (const CatalogueEntry& entry : entries)
        if (!containsNoCase(*groups, entry.group))
            groups->push_back(entry.group);
    return 1;
}

std::string tabNameOfSection(const std::string& sectionName) {
    std::size_t blank = sectionName.find(' ');
    return blank == std::string::npos ? sectionName : sectionName.substr(blank);
}

std::vector<std::string> tabNamesOfSections(const std::vector<std::string>& sectionNames) {
    std::vector<std::string> tabs;
    for (const std::string& section : sectionNames) {
        std::string tab = tabNameOfSection(section);
        if (!containsNoCase(tabs, tab))
            tabs.push_back(tab);
    }
    return tabs;
}

bool sectionBelongsToTab(const std::string& sectionName, const std::string& tabName) {
    return lowerCase(sectionName).find(lowerCase(tabName)) != std::string::npos;
}

bool readIniSectionNames(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    if (!fileExists(path))
        return false;
    const DWORD capacity = 8192;
    std::vector<char> buffer(capacity, '\0');
    DWORD length = ::GetPrivateProfileSectionNamesA(buffer.data(), capacity, path.c_str());
    // A full buffer (capacity - 2) means the list was cut: its last name may be
    // a fragment and is dropped.
    bool cut = length >= capacity - 2;
    for (DWORD start = 0; start < length && buffer[start];) {
        std::string name(buffer.data() + start);
        start += static_cast<DWORD>(name.size()) + 1;
        names.push_back(name);
    }
    if (cut && !names.empty())
        names.pop_back();
    return true;
}

std::string readListedAddress(const std::string& path, const std::string& section, const char* key) {
    return listedAddress(readIniValue(path, section, key));
}

std::string readIniValue(const std::string& path, const std::string& section, const char* key) {
    char value[kIniValueCapacity] = {};
    ::GetPrivateProfileStringA(section.c_str(), key, "", value, sizeof(value), path.c_str());
    return value;
}

int buildPackageTable(const std::vector<std::string>* groups, const char* listPath, PackageTable& table) {
    table.definitions.clear();
    if (!groups || !listPath)
        return -1;
    for (const std::string& group : *groups) {
        PackageDefinition definition;
        definition.packageName = group;
        for (int slot = 0; slot < kPackageSlots; ++slot)
            definition.components[slot] = readIniValue(listPath, group, kPackageSlotKeys[slot]);
        definition.valid = true;
        table.definitions.push_back(std::move(definition));
    }
    return 1;
}

const char* componentName(const PackageDefinition* definition, int slot) {
    if (!definition || slot < 0 || slot >= kPackageSlots || definition->components[slot].empty())
        return nullptr;
    return definition->components[slot].c_str();
}

const PackageDefinition* findPackage(const PackageTable& table, const std::string& packageName) {
    for (const PackageDefinition& definition : table.definitions)
        if (definition.packageName == packageName)
            return &definition;
    return nullptr;
}
