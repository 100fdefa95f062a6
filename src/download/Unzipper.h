#pragma once
// Extraction of zip archives into folders: the archive's folder structure is
// recreated below the target and every file carries its entry's time.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <minizip/unzip.h>

#include "app/ScopedHandle.h"

struct hnMinizipTraits {
    using type = unzFile;
    static type none() { return nullptr; }
    static bool valid(type h) { return h != nullptr; }
    static void close(type h) { ::unzClose(h); }
};
using hnScopedUnzip = hnScoped<hnMinizipTraits>;

struct ZipEntryInfo {
    std::string name; // with '\\' for every '/'
    std::string comment;
    uint32_t versionMadeBy = 0;
    uint32_t versionNeeded = 0;
    uint32_t flags = 0;
    uint32_t compressionMethod = 0;
    uint32_t modificationTime = 0; // MS-DOS date (high word) and time (low word)
    uint32_t crc32 = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    bool isFolder = false;    // directory attribute, or a name ending in a separator
    bool nameTooLong = false; // the stored name did not fit 259 characters
};

// Where an extraction's time went, in seconds, summed over its files.
struct hnUnzipTiming {
    double folders = 0; // the target's and each entry's folders: made, checked, held
    double create = 0;  // opening the file (or its temporary)
    double inflate = 0; // reading the entry: decompression and its checksum
    double write = 0;
    double close = 0; // entry time, closing, moving a temporary onto its name
    double wait = 0;  // the reading thread waiting for a free buffer or idle writers
    unsigned files = 0;
};

class hnEntryWriters;

class CUnzipper {
public:
    CUnzipper();
    virtual ~CUnzipper();
    CUnzipper(const CUnzipper&) = delete;
    CUnzipper& operator=(const CUnzipper&) = delete;

    // Opens an archive (closing any open one); its full path without the
    // extension becomes the default output folder.
    bool openArchive(const char* path);
    void closeArchive();
    bool firstEntry();
    bool nextEntry();
    bool readEntryInfo(ZipEntryInfo& info);

    // Extracts the current entry below `folder` (the default output folder
    // when null). A file is written under a temporary name and moved onto its
    // own only after it was read to its end with a good checksum. Names that
    // are absolute, climb out with "..", or make a path of 260 characters or
    // more are refused, and so is an entry when the folder, a folder on the
    // way to the entry or the entry itself is a junction or symbolic link.
    bool extractEntry(const char* folder);
    // Extracts every entry; false when the folder is a link. The whole
    // directory is read first: when any entry would be refused (unreadable,
    // leaving the folder, too long, through a link, or not starting with
    // `requiredPrefix`, compared without regard to case) nothing is written.
    // A failure while writing stops the extraction and removes every
    // top-level file and folder that this extraction created. Small entries
    // are inflated and checked whole in memory and then written by worker
    // threads, while the next entries are inflated.
    bool extractAll(const char* folder, const char* requiredPrefix = nullptr);

    const std::string& defaultOutputFolder() const { return defaultOutputFolder_; }
    const hnUnzipTiming& timing() const { return timing_; }

    static bool ensureFolder(const std::string& path);
    static bool ensureParentFolder(const std::string& filePath);
    static bool applyEntryTime(const std::string& filePath, uint32_t dosDateTime);

private:
    // The directory check of extractAll; fills `created` with the top-level
    // paths that do not exist yet.
    bool checkDirectory(const std::string& base, const char* requiredPrefix,
                        std::vector<std::string>& created);
    bool extractFile(const std::string& base, const std::string& target, const ZipEntryInfo& info);
    // The entry read whole into a buffer of the writers, its checksum
    // checked, and queued; false when it cannot be read or a write failed.
    bool queueFile(const std::string& base, const std::string& target, const ZipEntryInfo& info);
    // Makes or checks each folder of `relative` below `base`, none a link.
    bool ensureFoldersBelow(const std::string& base, const std::string& relative);
    // The target folder made and checked: not below a link the installer
    // must not write through, not a link itself.
    bool prepareBase(const std::string& base, const char* routine);
    // True (with a debug line) when the path is a junction or symbolic link.
    bool refuseLink(const std::string& path, const char* routine);
    // While extractAll runs, the folders it has checked stay open without
    // delete sharing: nothing can replace them with a link meanwhile, so
    // their checks are not repeated for every entry. False when the folder
    // turned out to be a link once held.
    bool holdFolder(const std::string& path, const char* routine);
    bool isHeld(const std::string& path) const;
    void releaseFolders();

    hnScopedUnzip archive_;
    bool holding_ = false;
    std::map<std::string, hnScopedHandle> heldFolders_; // by lower-case path
    hnUnzipTiming timing_;
    std::string defaultOutputFolder_;
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<hnEntryWriters> writers_; // while extractAll runs
    std::atomic<unsigned> serial_{0};         // names of temporaries
};

// Opens `archivePath` and extracts all of it below `folder` (extractAll).
bool extractArchiveToFolder(const char* archivePath, const char* folder,
                            const char* requiredPrefix = nullptr);

// Bytes per read and write while extracting.
constexpr unsigned kUnzipChunk = 256 * 1024;
