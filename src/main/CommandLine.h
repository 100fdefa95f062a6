#pragma once
// The installer's own command line, beside the wizard. Options are
// case-insensitive and begin with "/" or "-"; values may be quoted and
// contain blanks. Inside quotes a backslash is an ordinary character, so a
// quoted folder may end in one ("C:\Plant Mirror\").
#include <string>
#include <vector>

struct CInstallerCommandLine {
    // What the run does; Wizard when no option was given.
    enum class Action { Wizard, Export, Apply, Mirror };
    Action action = Action::Wizard;

    std::string exportFile;      // /export FILE
    std::string applyFile;       // /apply FILE (with /mirror: the set to mirror)
    std::string mirrorFolder;    // /mirror FOLDER
    std::string repositoryUrl;   // /repository URL, without a trailing '/'
    std::string logFile;         // /log FILE
    std::string documentsFolder; // /documents FOLDER
    bool exact = false;          // /exact
    bool quiet = false;          // /quiet
    bool passive = false;        // /passive
};

// Splits a command line into its words: blanks separate words outside
// quotes; a quote starts or ends a quoted stretch and is dropped. `quoted`
// tells for each word whether any part of it was quoted.
std::vector<std::string> hnSplitCommandLine(const std::string& line, std::vector<bool>* quoted = nullptr);

// Parses the words after the program's own name. 0 with `out` filled, or
// 1639 with `reason` naming what cannot be used.
int hnParseInstallerCommandLine(const std::string& arguments, CInstallerCommandLine& out,
                                std::string& reason);

// Parses the whole command line of the process (the first word is the
// program itself).
int hnParseProcessCommandLine(const std::string& commandLine, CInstallerCommandLine& out,
                              std::string& reason);

// True for "http://" (any case) followed by a host and an optional port of 1
// to 65535, nothing else but trailing '/'. `normalised` gets the URL without
// them ("http://host[:port]", as the repository address is used).
bool hnIsUsableRepositoryUrl(const std::string& url, std::string* normalised = nullptr);
