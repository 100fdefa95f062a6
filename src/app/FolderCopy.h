#pragma once
// Copying users' folder trees (data folders, profiles, templates) so that no
// file is ever lost or left half-written: links (junctions, symbolic links)
// are neither entered nor copied, a file is written under a temporary name
// and renamed only when complete, a stop request is honoured between chunks,
// and every file that was not copied is counted.
#include <functional>
#include <string>

class hnStopBlock;

// Counts of one tree copy.
struct hnTreeCopyResult {
    int copied = 0;    // files written into the target
    int identical = 0; // target file existed with the same size and time
    int differing = 0; // target file existed and differs: left as it was
    int failed = 0;    // files or folders that could not be read or written
    int links = 0;     // links met in the source, left out
    bool stopped = false;

    // Every source file is in the target with the same size and time.
    bool complete() const { return !stopped && failed == 0 && differing == 0 && links == 0; }
};

struct hnTreeCopyOptions {
    bool overwrite = false;            // replace target files that exist
    const hnStopBlock* stop = nullptr; // checked before each entry and chunk
    // Called after each file (copied or not) with no arguments.
    std::function<void()> afterFile;
};

// Copies the tree below `source` into `target` (created as needed). False
// when stopped, when the source is missing or a link, or when the target
// folder cannot be made; the counts tell what happened to each file.
bool hnCopyFolderTree(const std::string& source, const std::string& target, const hnTreeCopyOptions& options,
                      hnTreeCopyResult& result);

// Copies one file through "<target>.hnpart": the target name appears only
// complete, with the source's times and attributes. False (nothing left
// behind) when stopped or on any failure; an existing target is replaced
// only when `replace`.
bool hnCopyFileComplete(const std::string& source, const std::string& target, bool replace,
                        const hnStopBlock* stop);

// Number of files and their size in whole KB (each file's size / 1024) below
// `folder`, links left out. False when the folder cannot be read.
bool hnMeasureFolderTree(const std::string& folder, long long& files, long long& kilobytes);

// Both exist as files with the same size and the same last-write time.
bool hnSameSizeAndTime(const std::string& a, const std::string& b);

