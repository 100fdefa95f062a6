#pragma once
// The component set file: an INI-style text a person can read and edit,
// describing what one PC has installed. It is read line by line by its own
// reader (never with the profile-string functions, whose fixed buffers cut
// long lines silently) and refused whole at the first line it cannot use.
#include <functional>
#include <string>
#include <vector>

constexpr int kComponentSetFormat = 1;
constexpr std::size_t kComponentSetMaxLine = 4096; // characters, without the line break

extern const char* const kSetHeaderSection; // "Component Set": Format and Installer
extern const char* const kSetPythonSection; // "Python Selection"
extern const char* const kSetComponentsSection;
extern const char* const kSetSelectorsSection;
extern const char* const kSetContentSection;
extern const char* const kSetPackagesSection;

struct hnSetEntry {
    std::string key;
    std::string value;
    int line = 0; // in the file read; 0 for entries made in memory
};

struct hnSetSection {
    std::string name;
    std::vector<hnSetEntry> entries;
    std::vector<std::string> comments; // written after the entries, never read back
    int line = 0;
};

struct CComponentSet {
    int format = kComponentSetFormat;
    std::string installerVersion;
    std::vector<hnSetSection> sections; // in file order, the header section left out

    // The section of that name (case-insensitive), or null.
    const hnSetSection* section(const std::string& name) const;
    // The section of that name, added at the end when missing.
    hnSetSection& addSection(const std::string& name);
};

// Parses the text of a set file. 0, or 87 with `error` naming the line and
// what is wrong with it.
int hnParseComponentSet(const std::string& text, CComponentSet& out, std::string& error);
int hnReadComponentSet(const std::string& path, CComponentSet& out, std::string& error);

// Whether a key of a section names something the program knows; the first
// unknown key refuses the set (87).
using hnSetKeyCheck = std::function<bool(const std::string& section, const std::string& key)>;
int hnCheckComponentSetKeys(const CComponentSet& set, const hnSetKeyCheck& known, std::string& error);

// The text of a set; false with `error` when an entry cannot be written so
// that it reads back the same (a line break in it, an '=' in a key, a line
// over the limit).
bool hnFormatComponentSet(const CComponentSet& set, std::string& text, std::string& error);
// Writes the set beside the target first and then moves it over the target,
// so that a failed write never leaves half a set.
bool hnWriteComponentSet(const std::string& path, const CComponentSet& set, std::string& error);
