#include "main/ComponentSetFile.h"

#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/Text.h"
#include "main/ExitCodes.h"

const char* const kSetHeaderSection = "Component Set";
const char* const kSetPythonSection = "Python Selection";
const char* const kSetComponentsSection = "Components";
const char* const kSetSelectorsSection = "Selectors";
const char* const kSetContentSection = "Content";
const char* const kSetPackagesSection = "Python Packages";

namespace {

const char* const kFormatKey = "Format";
const char* const kInstallerKey = "Installer";
// A set file is small; anything far larger is not one.
constexpr DWORD kMaxSetFileBytes = 16 * 1024 * 1024;

const char* const* knownSections() {
    static const char* const sections[] = {kSetHeaderSection,
                                           kSetPythonSection,
                                           kSetComponentsSection,
                                           kSetSelectorsSection,
                                           kSetContentSection,
                                           kSetPackagesSection,
                                           nullptr};
    return sections;
}

bool isKnownSection(const std::string& name) {
    for (const char* const* s = knownSections(); *s; ++s)
        if (hnEqualsNoCase(name, *s))
            return true;
    return false;
}

std::string trim(const std::string& text) {
    std::string::size_type first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    std::string::size_type last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

int refuse(std::string& error, int line, const std::string& text) {
    error = line > 0 ? hnFormatText("line %d: %s", line, text.c_str()) : text;
    return exitcode::kBadSetFile;
}

bool isDecimal(const std::string& text) {
    return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

const hnSetSection* CComponentSet::section(const std::string& name) const {
    for (const hnSetSection& s : sections)
        if (hnEqualsNoCase(s.name, name))
            return &s;
    return nullptr;
}

hnSetSection& CComponentSet::addSection(const std::string& name) {
    for (hnSetSection& s : sections)
        if (hnEqualsNoCase(s.name, name))
            return s;
    sections.push_back(hnSetSection());
    sections.back().name = name;
    return sections.back();
}

int hnParseComponentSet(const std::string& text, CComponentSet& out, std::string& error) {
    out = CComponentSet();
    out.format = 0;
    error.clear();
    std::size_t position = 0;
    // An editor's byte-order mark is not part of the first line.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        position = 3;
    hnSetSection header;
    hnSetSection* current = nullptr;
    bool inHeader = false;
    bool sawHeader = false;
    int lineNumber = 0;
    while (position < text.size()) {
        std::string::size_type end = text.find('\n', position);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(position, end - position);
        position = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kComponentSetMaxLine)
            return refuse(
                error, lineNumber,
                hnFormatText("longer than %u characters", static_cast<unsigned>(kComponentSetMaxLine)));
        if (line.find('\0') != std::string::npos || line.find('\r') != std::string::npos)
            return refuse(error, lineNumber, "holds a control character");
        std::string content = trim(line);
        if (content.empty() || content[0] == ';' || content[0] == '#')
            continue;
        if (content[0] == '[') {
            if (content.back() != ']' || content.size() < 3)
                return refuse(error, lineNumber, "malformed section line \"" + content + "\"");
            std::string name = trim(content.substr(1, content.size() - 2));
            if (!isKnownSection(name))
                return refuse(error, lineNumber, "unknown section [" + name + "]");
            bool isHeader = hnEqualsNoCase(name, kSetHeaderSection);
            if ((isHeader && sawHeader) || (!isHeader && out.section(name)))
                return refuse(error, lineNumber, "section [" + name + "] appears twice");
            inHeader = isHeader;
            sawHeader = sawHeader || isHeader;
            if (isHeader)
                header.name = kSetHeaderSection;
            current = isHeader ? &header : &out.addSection(name);
            current->line = lineNumber;
            continue;
        }
        std::string::size_type equals = content.find('=');
        if (equals == std::string::npos)
            return refuse(error, lineNumber, "malformed line \"" + content + "\" (no '=')");
        hnSetEntry entry;
        entry.key = trim(content.substr(0, equals));
        entry.value = trim(content.substr(equals + 1));
        entry.line = lineNumber;
        if (entry.key.empty())
            return refuse(error, lineNumber, "malformed line \"" + content + "\" (no name)");
        if (!current)
            return refuse(error, lineNumber, "\"" + entry.key + "\" stands before any section");
        for (const hnSetEntry& other : current->entries)
            if (hnEqualsNoCase(other.key, entry.key))
                return refuse(error, lineNumber,
                              "\"" + entry.key + "\" appears twice in [" + current->name + "]");
        if (inHeader && !hnEqualsNoCase(entry.key, kFormatKey) && !hnEqualsNoCase(entry.key, kInstallerKey))
            return refuse(error, lineNumber, "unknown name \"" + entry.key + "\" in [" + header.name + "]");
        current->entries.push_back(entry);
    }
    if (!sawHeader)
        return refuse(error, 0, std::string("no [") + kSetHeaderSection + "] section");
    const hnSetEntry* format = nullptr;
    for (const hnSetEntry& entry : header.entries) {
        if (hnEqualsNoCase(entry.key, kFormatKey))
            format = &entry;
        else
            out.installerVersion = entry.value;
    }
    if (!format)
        return refuse(error, header.line, std::string("[") + kSetHeaderSection + "] has no Format");
    if (!isDecimal(format->value) || std::stol(format->value) < 1)
        return refuse(error, format->line, "Format \"" + format->value + "\" is not a format number");
    out.format = static_cast<int>(std::stol(format->value));
    if (out.format > kComponentSetFormat)
        return refuse(error, format->line,
                      hnFormatText("format %d is newer than this installer reads (%d)", out.format,
                                   kComponentSetFormat));
    return 0;
}

int hnReadComponentSet(const std::string& path, CComponentSet& out, std::string& error) {
    out = CComponentSet();
    hnScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return refuse(error, 0,
                      hnFormatText("cannot open \"%s\" (error %lu)", path.c_str(), ::GetLastError()));
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxSetFileBytes)
        return refuse(error, 0, "\"" + path + "\" is not a set file (too large)");
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!text.empty() &&
        (!::ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr) ||
         read != text.size()))
        return refuse(error, 0,
                      hnFormatText("cannot read \"%s\" (error %lu)", path.c_str(), ::GetLastError()));
    return hnParseComponentSet(text, out, error);
}

int hnCheckComponentSetKeys(const CComponentSet& set, const hnSetKeyCheck& known, std::string& error) {
    for (const hnSetSection& section : set.sections)
        for (const hnSetEntry& entry : section.entries)
            if (!known(section.name, entry.key))
                return refuse(error, entry.line,
                              "unknown name \"" + entry.key + "\" in [" + section.name + "]");
    error.clear();
    return 0;
}

namespace {
bool appendLine(std::string& text, const std::string& line, std::string& error) {
    if (line.size() > kComponentSetMaxLine ||
        line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
        error = "cannot write \"" + line.substr(0, 80) + "\": too long or holds a line break";
        return false;
    }
    text += line;
    text += "\r\n";
    return true;
}

bool writableEntry(const hnSetEntry& entry, std::string& error) {
    std::string key = trim(entry.key);
    if (key.empty() || key != entry.key || trim(entry.value) != entry.value ||
        key.find('=') != std::string::npos || key[0] == ';' || key[0] == '#' || key[0] == '[') {
        error = "cannot write the entry \"" + entry.key.substr(0, 80) + "\": it would not read back the same";
        return false;
    }
    return true;
}
} // namespace

bool hnFormatComponentSet(const CComponentSet& set, std::string& text, std::string& error) {
    text.clear();
    error.clear();
    bool ok = appendLine(text, std::string("[") + kSetHeaderSection + "]", error) &&
              appendLine(text, hnFormatText("%s=%d", kFormatKey, set.format), error) &&
              appendLine(text, std::string(kInstallerKey) + "=" + set.installerVersion, error);
    for (const hnSetSection& section : set.sections) {
        if (!ok)
            break;
        if (!isKnownSection(section.name) || hnEqualsNoCase(section.name, kSetHeaderSection)) {
            error = "cannot write the section [" + section.name + "]";
            return false;
        }
        ok = appendLine(text, "", error) && appendLine(text, "[" + section.name + "]", error);
        for (const hnSetEntry& entry : section.entries)
            ok = ok && writableEntry(entry, error) && appendLine(text, entry.key + "=" + entry.value, error);
        for (const std::string& comment : section.comments)
            ok = ok && appendLine(text, "; " + comment, error);
    }
    return ok;
}

bool hnWriteComponentSet(const std::string& path, const CComponentSet& set, std::string& error) {
    std::string text;
    if (!hnFormatComponentSet(set, text, error))
        return false;
    std::string temporary = path + "tmp";
    {
        hnScopedHandle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size()) {
            error = hnFormatText("cannot write \"%s\" (error %lu)", temporary.c_str(), ::GetLastError());
            file.reset();
            ::DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (!::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = hnFormatText("cannot move the set onto \"%s\" (error %lu)", path.c_str(), ::GetLastError());
        ::DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}
