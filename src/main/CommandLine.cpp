#include "main/CommandLine.h"

#include <cctype>
#include <cstdlib>

#include "app/Text.h"
#include "main/ExitCodes.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The options, by name; a value option takes the next word.
enum class Option { Export, Apply, Mirror, Repository, Log, Documents, Exact, Quiet, Passive };
struct OptionRow {
    const char* name;
    Option option;
    bool takesValue;
    std::string CInstallerCommandLine::*value; // where the value goes
    bool CInstallerCommandLine::*flag;         // or the flag it sets
};
const OptionRow kOptions[] = {
    {"export", Option::Export, true, &CInstallerCommandLine::exportFile, nullptr},
    {"apply", Option::Apply, true, &CInstallerCommandLine::applyFile, nullptr},
    {"mirror", Option::Mirror, true, &CInstallerCommandLine::mirrorFolder, nullptr},
    {"repository", Option::Repository, true, &CInstallerCommandLine::repositoryUrl, nullptr},
    {"log", Option::Log, true, &CInstallerCommandLine::logFile, nullptr},
    {"documents", Option::Documents, true, &CInstallerCommandLine::documentsFolder, nullptr},
    {"exact", Option::Exact, false, nullptr, &CInstallerCommandLine::exact},
    {"quiet", Option::Quiet, false, nullptr, &CInstallerCommandLine::quiet},
    {"passive", Option::Passive, false, nullptr, &CInstallerCommandLine::passive},
};

const OptionRow* findOption(const std::string& word) {
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-'))
        return nullptr;
    std::string name = word.substr(1);
    for (const OptionRow& row : kOptions)
        if (hnEqualsNoCase(name, row.name))
            return &row;
    return nullptr;
}

int refuse(std::string& reason, const std::string& text) {
    reason = text;
    return exitcode::kBadCommandLine;
}

// The combinations that make one run.
int checkCombination(CInstallerCommandLine& out, std::string& reason) {
    bool exporting = !out.exportFile.empty();
    bool applying = !out.applyFile.empty();
    bool mirroring = !out.mirrorFolder.empty();
    if (exporting && (applying || mirroring))
        return refuse(reason, "/export cannot be combined with /apply or /mirror");
    if (!exporting && !applying && !mirroring)
        return refuse(reason, "one of /export, /apply or /mirror is needed");
    if (out.quiet && out.passive)
        return refuse(reason, "/quiet and /passive exclude each other");
    if (out.exact && (!applying || mirroring))
        return refuse(reason, "/exact needs /apply without /mirror");
    if (!out.documentsFolder.empty() && (!applying || mirroring))
        return refuse(reason, "/documents needs /apply without /mirror");
    out.action =
        mirroring ? CInstallerCommandLine::Action::Mirror
                  : (applying ? CInstallerCommandLine::Action::Apply : CInstallerCommandLine::Action::Export);
    return exitcode::kDone;
}

} // namespace

std::vector<std::string> hnSplitCommandLine(const std::string& line, std::vector<bool>* quoted) {
    std::vector<std::string> words;
    if (quoted)
        quoted->clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::string word;
        bool inQuotes = false;
        bool wasQuoted = false;
        for (; i < line.size() && (inQuotes || !isBlank(line[i])); ++i) {
            if (line[i] == '"') {
                inQuotes = !inQuotes;
                wasQuoted = true;
            } else {
                word += line[i];
            }
        }
        words.push_back(word);
        if (quoted)
            quoted->push_back(wasQuoted);
    }
    return words;
}

bool hnIsUsableRepositoryUrl(const std::string& url, std::string* normalised) {
    const std::string scheme = "http://";
    if (url.size() <= scheme.size() || !hnEqualsNoCase(url.substr(0, scheme.size()), scheme))
        return false;
    for (char c : url) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || u >= 0x7F || c == '\\' || c == '?' || c == '#' || c == '@' || c == '"')
            return false;
    }
    std::string rest = url.substr(scheme.size());
    std::string authority = rest.substr(0, rest.find('/'));
    std::string host = authority;
    std::string::size_type colon = authority.find(':');
    if (colon != std::string::npos) {
        host = authority.substr(0, colon);
        std::string port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
            return false;
        long number = std::strtol(port.c_str(), nullptr, 10);
        if (number < 1 || number > 65535)
            return false;
    }
    if (host.empty())
        return false;
    // Below the host only the repository's own server paths follow, which the
    // program appends itself: a base path would be lost.
    if (rest.find_first_not_of('/', authority.size()) != std::string::npos)
        return false;
    for (char c : host)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-')
            return false;
    if (normalised) {
        std::string trimmed = url;
        while (trimmed.size() > scheme.size() + authority.size() && trimmed.back() == '/')
            trimmed.pop_back();
        *normalised = trimmed;
    }
    return true;
}

int hnParseInstallerCommandLine(const std::string& arguments, CInstallerCommandLine& out,
                                std::string& reason) {
    out = CInstallerCommandLine();
    reason.clear();
    std::vector<bool> quoted;
    std::vector<std::string> words = hnSplitCommandLine(arguments, &quoted);
    if (words.empty())
        return exitcode::kDone; // the wizard, as always
    bool seen[sizeof(kOptions) / sizeof(kOptions[0])] = {};
    for (std::size_t i = 0; i < words.size(); ++i) {
        const OptionRow* row = quoted[i] ? nullptr : findOption(words[i]);
        if (!row)
            return refuse(reason, "unknown option or stray word \"" + words[i] + "\"");
        std::size_t index = static_cast<std::size_t>(row - kOptions);
        if (seen[index])
            return refuse(reason, "/" + std::string(row->name) + " is given twice");
        seen[index] = true;
        if (!row->takesValue) {
            out.*(row->flag) = true;
            continue;
        }
        // A value is the next word unless that word is itself an option; a
        // quoted word is always a value.
        if (i + 1 >= words.size() || (!quoted[i + 1] && findOption(words[i + 1])) || words[i + 1].empty())
            return refuse(reason, "/" + std::string(row->name) + " needs a value");
        out.*(row->value) = words[++i];
    }
    if (!out.repositoryUrl.empty() && !hnIsUsableRepositoryUrl(out.repositoryUrl, &out.repositoryUrl))
        return refuse(reason, "/repository takes only an http:// address with a host");
    return checkCombination(out, reason);
}

int hnParseProcessCommandLine(const std::string& commandLine, CInstallerCommandLine& out,
                              std::string& reason) {
    // Skip the program's own name, quoted or not.
    std::size_t i = 0;
    while (i < commandLine.size() && isBlank(commandLine[i]))
        ++i;
    bool inQuotes = false;
    for (; i < commandLine.size() && (inQuotes || !isBlank(commandLine[i])); ++i)
        if (commandLine[i] == '"')
            inQuotes = !inQuotes;
    return hnParseInstallerCommandLine(commandLine.substr(i), out, reason);
}
