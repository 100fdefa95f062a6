#pragma once
// pip's "show" query as every presence and version probe runs it: the
// interpreter's own pip, standard output captured, one repeat after a 5-second
// pause when the command was ended at its time limit.
#include <map>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

class hnDialog;
class hnStopBlock;

// One interpreter's packages as pip's "list --format=freeze" prints them
// ("name==version" lines), looked up as pip's "show" looks names up: without
// regard to case and to '-', '_' and '.'.
class hnPipListing {
public:
    // Reads the listing's lines; other lines (pip's warnings) are passed over.
    void read(const std::string& output);
    // The answer pip's "show" gives for `package`: its "Name:" and "Version:"
    // lines, or pip's not-found warning.
    std::string showText(const std::string& package) const;
    // Every package as pip printed it: name and version, by pip's name order.
    std::vector<std::pair<std::string, std::string>> packages() const;

private:
    std::map<std::string, std::pair<std::string, std::string>> packages_; // name and version, by key
};

// Reads the listing of the interpreter in `folder` (with its separator) on
// the calling thread; false when pip failed, printed more than the capture
// holds or `stop` (may be null) ended the wait. pip is left to end by itself.
bool hnReadPipListing(const std::string& folder, hnPipListing& listing, const hnStopBlock* stop);

// The name pip compares: lower case, every run of '-', '_' and '.' one '-'.
std::string pipNameKey(const std::string& name);

// How a scope fills its answers: from one package listing per interpreter
// (a package the listing cannot answer is asked on its own), or by asking
// pip about each package.
enum class hnPipQueries { Listing, PerPackage };

// pip "show" answers kept while a scope is open, so that a refresh over many
// rows asks pip once per package and interpreter, or once per interpreter.
// Only the thread that opened the outermost scope uses and keeps answers; the
// outermost scope chooses how they are filled; the last close, and every
// installation or removal through pip, forgets them.
class hnPipAnswers {
public:
    void open(hnPipQueries queries = hnPipQueries::Listing);
    void close();
    void forget();
    bool find(const std::string& commandLine, std::string& output, int& result) const;
    void keep(const std::string& commandLine, const std::string& output, int result);
    // The listing of the interpreter in `folder`, read once per scope; null
    // outside a scope, with per-package queries, or when the listing failed.
    const hnPipListing* listing(const std::string& folder);
    // Whether the listing of `folder` has been read in this scope and can
    // answer without running pip.
    bool holdsListing(const std::string& folder) const;
    // Takes a listing read elsewhere (a worker) as this scope's reading of
    // `folder`; `read` false records a failed reading, so that the scope asks
    // each package on its own.
    void keepListing(const std::string& folder, bool read, const hnPipListing& listing);
    // The interpreter folder read from `installPathKey` (false: none), kept
    // like the answers: every row asks for it before asking pip.
    bool findFolder(const std::string& installPathKey, bool& present, std::string& folder) const;
    void keepFolder(const std::string& installPathKey, bool present, const std::string& folder);

private:
    bool inScope() const;
    int depth_ = 0;
    DWORD thread_ = 0;
    hnPipQueries queries_ = hnPipQueries::Listing;
    std::map<std::string, std::pair<int, std::string>> answers_;    // by lower-case command line
    std::map<std::string, std::pair<bool, hnPipListing>> listings_; // read, listing; by lower-case folder
    std::map<std::string, std::pair<bool, std::string>> folders_;   // present, folder; by lower-case key
};

// A scope of the application's pip answers for its lifetime.
class hnPipAnswerScope {
public:
    explicit hnPipAnswerScope(hnPipQueries queries = hnPipQueries::Listing);
    ~hnPipAnswerScope();
    hnPipAnswerScope(const hnPipAnswerScope&) = delete;
    hnPipAnswerScope& operator=(const hnPipAnswerScope&) = delete;

private:
    hnPipAnswers* answers_;
};

// Runs "\"%sScripts\\pip.exe\" show \"%s\"" for the interpreter folder (with
// its trailing separator) and the package. While it runs `dialog`, when given,
// is shown and kept painted; it stays up for the caller's next query and its
// owner closes it when the queries are done. Returns the capture's result (1
// with the output, otherwise the output is empty); an output longer than the
// capture holds gives 1 with its first 2,047 characters, where pip's "Name:"
// and "Version:" lines stand. A stop requested through `stop` (may be null)
// ends the query and its repeat at once (pip is left to end by itself).
int runPipShow(const std::string& interpreterFolder, const char* package, std::string& output,
               hnDialog* dialog, const hnStopBlock* stop = nullptr);

// The probes' answer: the output holds the needle and, when an excluded text
// is given, not that text (plain substring tests).
bool pipOutputMatches(const std::string& output, const char* needle, const char* excluded);

// The text of pip's "Version:" line; empty when the output has none.
std::string pipReportedVersion(const std::string& output);
