#include "install/PipShow.h"

#include <cstring>
#include <memory>
#include <windows.h>

#include "app/Dialog.h"
#include "app/StopBlock.h"
#include "app/Text.h"
#include "app/WorkerWait.h"
#include "install/PythonEnvironment.h"
#include "process/ExecCmd.h"

namespace {

constexpr DWORD kRepeatPauseMs = 5000;
constexpr std::size_t kCommandCapacity = 2048;

constexpr DWORD kListingCapacity = 65536;

struct CaptureJob {
    const char* commandLine;
    std::string* output;
    DWORD capacity;
    int result;
    DWORD exitCode;
    const hnStopBlock* stop;
};

// pip's answers ("Name:", "Version:") come first: of a longer output the
// first characters the capture holds are decided on.
DWORD WINAPI runCapture(LPVOID param) {
    auto* job = static_cast<CaptureJob*>(param);
    hnExecCmdNCaptureStdOut runner(job->capacity);
    std::unique_ptr<char[]> captured(new char[job->capacity]());
    job->result = runner.execCmd(job->commandLine, captured.get(), job->stop);
    job->exitCode = runner.exitCode();
    if (job->result == kExecCmdOutputTooLong) {
        *job->output = runner.keptOutput();
        job->result = kExecCmdOk;
    } else if (job->result == kExecCmdOk) {
        *job->output = captured.get();
    }
    return 0;
}

// Runs the capture on a helper thread while this thread keeps its windows
// painted.
CaptureJob captureKeepingPainted(const char* commandLine, std::string* output,
                                 DWORD capacity = kExecCmdOutputCapacity, const hnStopBlock* stop = nullptr) {
    CaptureJob job{commandLine, output, capacity, 0, STILL_ACTIVE, stop};
    HANDLE thread = ::CreateThread(nullptr, 0, &runCapture, &job, 0, nullptr);
    if (!thread) {
        runCapture(&job);
        return job;
    }
    if (!hnWaitKeepingPainted(thread, INFINITE))
        ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    return job;
}

// The interpreter's listing, when pip printed all of it and ended with exit
// code 0; a longer listing than the capture holds is not trusted, since a
// package cut off would read as absent.
bool listingFromCapture(const CaptureJob& job, const std::string& output, hnPipListing& listing) {
    if (job.result != kExecCmdOk || job.exitCode != 0 || output.size() + 1 >= kListingCapacity)
        return false;
    listing.read(output);
    return true;
}

bool listingCommand(const std::string& folder, std::string& commandLine) {
    return hnFormat(commandLine, kCommandCapacity, "\"%sScripts\\pip.exe\" list --format=freeze",
                    folder.c_str());
}

bool readListing(const std::string& folder, hnPipListing& listing) {
    std::string commandLine, output;
    if (!listingCommand(folder, commandLine))
        return false;
    CaptureJob job = captureKeepingPainted(commandLine.c_str(), &output, kListingCapacity);
    return listingFromCapture(job, output, listing);
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A kept pair of answers by the lower-case key; false when none is kept.
template <typename First>
bool findKept(const std::map<std::string, std::pair<First, std::string>>& kept, const std::string& key,
              First& first, std::string& text) {
    auto found = kept.find(lowerCase(key));
    if (found == kept.end())
        return false;
    first = found->second.first;
    text = found->second.second;
    return true;
}

} // namespace

bool hnPipAnswers::inScope() const {
    return depth_ > 0 && thread_ == ::GetCurrentThreadId();
}

std::string pipNameKey(const std::string& name) {
    std::string key;
    bool run = false;
    for (char c : name) {
        bool separator = c == '-' || c == '_' || c == '.';
        if (separator && !run)
            key += '-';
        else if (!separator)
            key += static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        run = separator;
    }
    return key;
}

void hnPipListing::read(const std::string& output) {
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t equals = line.find("==");
        if (equals == 0 || equals == std::string::npos || equals + 2 >= line.size() ||
            line.find_first_of(" \t:", 0) < equals)
            continue;
        std::string name = line.substr(0, equals);
        packages_[pipNameKey(name)] = std::make_pair(name, line.substr(equals + 2));
    }
}

std::vector<std::pair<std::string, std::string>> hnPipListing::packages() const {
    std::vector<std::pair<std::string, std::string>> all;
    for (const auto& entry : packages_)
        all.push_back(entry.second);
    return all;
}

std::string hnPipListing::showText(const std::string& package) const {
    auto found = packages_.find(pipNameKey(package));
    if (found == packages_.end())
        return "WARNING: Package(s) not found: " + package + "\r\n";
    return "Name: " + found->second.first + "\r\nVersion: " + found->second.second + "\r\n";
}

void hnPipAnswers::open(hnPipQueries queries) {
    if (depth_ == 0) {
        thread_ = ::GetCurrentThreadId();
        queries_ = queries;
    }
    if (thread_ == ::GetCurrentThreadId())
        ++depth_;
}

void hnPipAnswers::close() {
    if (!inScope())
        return;
    if (--depth_ == 0) {
        answers_.clear();
        listings_.clear();
        folders_.clear();
    }
}

void hnPipAnswers::forget() {
    if (inScope()) {
        answers_.clear();
        listings_.clear();
        folders_.clear();
    }
}

bool hnPipAnswers::findFolder(const std::string& installPathKey, bool& present, std::string& folder) const {
    return inScope() && findKept(folders_, installPathKey, present, folder);
}

void hnPipAnswers::keepFolder(const std::string& installPathKey, bool present, const std::string& folder) {
    if (inScope())
        folders_[lowerCase(installPathKey)] = std::make_pair(present, folder);
}

const hnPipListing* hnPipAnswers::listing(const std::string& folder) {
    if (!inScope() || queries_ != hnPipQueries::Listing)
        return nullptr;
    const std::string key = lowerCase(folder);
    auto found = listings_.find(key);
    if (found == listings_.end()) {
        std::pair<bool, hnPipListing> entry;
        entry.first = readListing(folder, entry.second);
        found = listings_.emplace(key, std::move(entry)).first;
    }
    return found->second.first ? &found->second.second : nullptr;
}

void hnPipAnswers::keepListing(const std::string& folder, bool read, const hnPipListing& listing) {
    if (inScope() && queries_ == hnPipQueries::Listing)
        listings_[lowerCase(folder)] = std::make_pair(read, listing);
}

bool hnReadPipListing(const std::string& folder, hnPipListing& listing, const hnStopBlock* stop) {
    std::string commandLine, output;
    if (!listingCommand(folder, commandLine))
        return false;
    CaptureJob job{commandLine.c_str(), &output, kListingCapacity, 0, STILL_ACTIVE, stop};
    runCapture(&job);
    return listingFromCapture(job, output, listing);
}

bool hnPipAnswers::holdsListing(const std::string& folder) const {
    if (!inScope() || queries_ != hnPipQueries::Listing)
        return false;
    auto found = listings_.find(lowerCase(folder));
    return found != listings_.end() && found->second.first;
}

bool hnPipAnswers::find(const std::string& commandLine, std::string& output, int& result) const {
    return inScope() && findKept(answers_, commandLine, result, output);
}

void hnPipAnswers::keep(const std::string& commandLine, const std::string& output, int result) {
    if (inScope())
        answers_[lowerCase(commandLine)] = std::make_pair(result, output);
}

hnPipAnswerScope::hnPipAnswerScope(hnPipQueries queries) : answers_(pythonEnvironment().pipAnswers()) {
    if (answers_)
        answers_->open(queries);
}

hnPipAnswerScope::~hnPipAnswerScope() {
    if (answers_)
        answers_->close();
}

int runPipShow(const std::string& interpreterFolder, const char* package, std::string& output,
               hnDialog* dialog, const hnStopBlock* stop) {
    output.clear();
    std::string commandLine;
    if (!package || !hnFormat(commandLine, kCommandCapacity, "\"%sScripts\\pip.exe\" show \"%s\"",
                              interpreterFolder.c_str(), package))
        return kExecCmdNullArgument;
    hnPipAnswers* answers = pythonEnvironment().pipAnswers();
    int result = 0;
    if (answers && answers->find(commandLine, output, result))
        return result;
    // The dialog stands for pip running: the scope's listing or this query.
    if (dialog && !(answers && answers->holdsListing(interpreterFolder)))
        dialog->showForWait();
    if (const hnPipListing* listing = answers ? answers->listing(interpreterFolder) : nullptr) {
        output = listing->showText(package);
        answers->keep(commandLine, output, kExecCmdOk);
        return kExecCmdOk;
    }
    result = captureKeepingPainted(commandLine.c_str(), &output, kExecCmdOutputCapacity, stop).result;
    if (result == kExecCmdTimedOut) {
        bool paused = true;
        if (stop)
            paused = stop->pause(kRepeatPauseMs);
        else
            hnWaitKeepingPainted(nullptr, kRepeatPauseMs);
        if (paused)
            result = captureKeepingPainted(commandLine.c_str(), &output, kExecCmdOutputCapacity, stop).result;
    }
    if (result != kExecCmdOk)
        output.clear();
    // A stopped query is no answer to keep.
    if (answers && !(stop && stop->stopRequested()))
        answers->keep(commandLine, output, result);
    return result;
}

bool pipOutputMatches(const std::string& output, const char* needle, const char* excluded) {
    if (!needle || output.find(needle) == std::string::npos)
        return false;
    return !excluded || output.find(excluded) == std::string::npos;
}

std::string pipReportedVersion(const std::string& output) {
    const char* const label = "Version: ";
    std::size_t at = output.find(label);
    if (at == std::string::npos)
        return std::string();
    at += std::strlen(label);
    return output.substr(at, output.find_first_of("\r\n", at) - at);
}
