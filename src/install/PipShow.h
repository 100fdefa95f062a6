#pragma once
// pip's "show" query as every presence and version probe runs it: the
// interpreter's own pip, standard output captured, one repeat after a 5-second
// pause when the command was ended at its time limit.
#include <map>
#include <string>
#include <utility>
#include <windows.h>

class hnDialog;

// pip "show" answers kept while a scope is open, so that a refresh over many
// rows asks pip once per package and interpreter. Only the thread that
// opened the outermost scope uses and keeps answers; the last close, and
// every installation or removal through pip, forgets them.
class hnPipAnswers {
public:
    void open();
    void close();
    void forget();
    bool find(const std::string& commandLine, std::string& output, int& result) const;
    void keep(const std::string& commandLine, const std::string& output, int result);

private:
    bool inScope() const;
    int depth_ = 0;
    DWORD thread_ = 0;
    std::map<std::string, std::pair<int, std::string>> answers_; // by lower-case command line
};

// A scope of the application's pip answers for its lifetime.
class hnPipAnswerScope {
public:
    hnPipAnswerScope();
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
// and "Version:" lines stand.
int runPipShow(const std::string& interpreterFolder, const char* package, std::string& output,
               hnDialog* dialog);

// The probes' answer: the output holds the needle and, when an excluded text
// is given, not that text (plain substring tests).
bool pipOutputMatches(const std::string& output, const char* needle, const char* excluded);
