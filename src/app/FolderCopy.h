#pragma once
// Copying users' folder trees (data folders, profiles, templates) so that no
// file is ever lost or left half-written: links (junctions, symbolic links)
// are neither entered nor copied, a file is written under a temporary name
// and renamed only when complete, a stop request is honoured between chunks,
// and every file that was not copied is counted.
#include <functional>
#include <string>

#include "app/ScopedHandle.h"

class hnStopBlock;

// Counts of one tree copy.
struct hnTreeCopyResult {
    int copied = 0;    // files written into the target
    int identical = 0; // target file existed with the same size and time
    int differing = 0; // target file existed and differs: left as it was
    int failed = 0;    // files or folders that could not be read or written
    int links = 0;     // links met in the source, left out
    bool stopped = false;
    std::string firstFailed; // the first file or folder counted in `failed`

    void fail(const std::string& path) {
        if (failed++ == 0)
            firstFailed = path;
    }

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

// Copies one file through a part file of a fresh short name in the target's
// folder: the target name appears only complete and flushed, with the
// source's times and attributes. False (nothing left behind) when stopped or
// on any failure, when the target is a link or the source itself; an
// existing target is replaced only when `replace`.
bool hnCopyFileComplete(const std::string& source, const std::string& target, bool replace,
                        const hnStopBlock* stop);

// Creates a file that did not exist, named `stem` followed by up to `digits`
// hex digits (CREATE_NEW, an existing file or link is never opened), for
// writing; `path` receives its name. Invalid when none could be made.
hnScopedHandle hnCreateFreshFile(const std::string& stem, unsigned digits, std::string& path);

// Number of files and their size in whole KB (each file's size / 1024) below
// `folder`, links left out. False when the folder cannot be read.
bool hnMeasureFolderTree(const std::string& folder, long long& files, long long& kilobytes);

// Both paths name the one file (same volume serial and file index), links
// not followed.
bool hnSameFile(const std::string& a, const std::string& b);

// Removes a moved tree: walks `source` again and deletes each file only when
// `target` holds, at that moment, a different file of the same size and
// time; folders go when empty. True only when the source is gone.
bool hnDeleteMovedTree(const std::string& source, const std::string& target);

// One entry of a listed folder. A link is only ever a link: it is never
// counted as a file or folder, so nothing enters or follows it by mistake.
struct hnFolderEntry {
    enum Kind { Link, Folder, File } kind;
    const char* name;
    unsigned long long size; // of a file
};

// The one folder listing: calls `visit` for each entry of `folder` but "."
// and ".."; `visit` returns false to end the listing there. False when the
// folder cannot be listed (even an empty folder lists "." and "..") or the
// listing broke off: a folder that cannot be listed is never empty.
bool hnListFolder(const std::string& folder, const std::function<bool(const hnFolderEntry&)>& visit);

// Both exist as files with the same size and the same last-write time.
bool hnSameSizeAndTime(const std::string& a, const std::string& b);

