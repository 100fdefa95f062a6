#pragma once
// The server's content lists. Two formats: the sectioned list, an INI-like
// text in which a section header may repeat and every header opens a new
// entry (demo profiles, templates, toolbox lists, the section names of the
// package lists), and standard INI (tutorials, resources, the keys of the
// package lists). Everything read here comes from the server and is
// untrusted: values are only copied, never interpreted.
#include <cstdint>
#include <string>
#include <vector>

// One entry of a sectioned list.
struct CatalogueEntry {
    std::string group; // the section header: the tab the entry belongs to
    std::string Name;
    std::string ClassName; // folder name once installed; empty means Name
    std::string VersionLabel;
    std::string URL;
    std::string InfoText;
    std::string InfoURL;
};

class CatalogueList {
public:
    // Replaces the contents with the entries of the file. 1 success, -1 no
    // such file (no entries), -2 / -3 the file held more / fewer headers on
    // the second look than on the first (entries up to the first count
    // remain). Lines of any length are read whole. `loaded` becomes true.
    int load(const char* listPath);

    // Clears `groups` and appends every group not yet in it (compared
    // without regard to case) in the order of first appearance; -1 without
    // an array, else 1.
    int distinctGroups(std::vector<std::string>* groups) const;

    std::string path;
    bool loaded = false;
    std::vector<CatalogueEntry> entries;
    int32_t count = 0;
};

// The part of a section name that names its tab: from the first blank to the
// end, the blank included; a name without a blank is its own tab name.
std::string tabNameOfSection(const std::string& sectionName);
// The distinct tab names of the sections (compared without regard to case),
// in section order.
std::vector<std::string> tabNamesOfSections(const std::vector<std::string>& sectionNames);
// A section belongs to a tab when its lower-case name contains the lower-case
// tab name.
bool sectionBelongsToTab(const std::string& sectionName, const std::string& tabName);

// The section names of a standard INI file (8192-byte buffer). A name that the
// buffer cut is dropped, so it never makes a tab of its own. False when the
// file does not exist.
bool readIniSectionNames(const std::string& path, std::vector<std::string>& names);
// A value of a standard INI file (1024-byte buffer, empty default).
std::string readIniValue(const std::string& path, const std::string& section, const char* key);
// The same for a value that is an address to fetch (listedAddress).
std::string readListedAddress(const std::string& path, const std::string& section, const char* key);

// One package of a Python package list: the components of the eight slots,
// an absent slot empty.
constexpr int kPackageSlots = 8;
extern const char* const kPackageSlotKeys[kPackageSlots]; // "pywin" ... "Python.net"

struct PackageDefinition {
    std::string packageName;
    std::string components[kPackageSlots];
    bool valid = false;
};

struct PackageTable {
    std::vector<PackageDefinition> definitions;
    int count() const { return static_cast<int>(definitions.size()); }
};

// Discards the table's contents and reads one definition per group name from
// the list file. -1 without groups or path, else 1.
int buildPackageTable(const std::vector<std::string>* groups, const char* listPath, PackageTable& table);
// The component of slot 0-7, or null for an absent slot or a bad slot number.
const char* componentName(const PackageDefinition* definition, int slot);
// The first definition named exactly `packageName`, or null.
const PackageDefinition* findPackage(const PackageTable& table, const std::string& packageName);
