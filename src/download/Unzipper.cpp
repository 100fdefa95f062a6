#include "download/Unzipper.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/Text.h"
#include "download/DownloadEngine.h"

namespace {

constexpr std::size_t kNameCapacity = 260;
constexpr std::size_t kCommentCapacity = 255;

bool endsWithSeparator(const std::string& text) {
    return !text.empty() && (text.back() == '\\' || text.back() == '/');
}

// A name that stays below the target: relative, no drive or stream colon,
// no ".." component.
bool staysInside(const std::string& name) {
    if (name.empty() || name[0] == '\\' || name.find(':') != std::string::npos)
        return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('\\', start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

std::string joinBelow(const std::string& folder, const std::string& name) {
    return endsWithSeparator(folder) ? folder + name : folder + "\\" + name;
}

// Targets often lie in folders that users can write to while this program
// runs elevated: a junction or symbolic link there would send the data
// wherever it points.
bool isLinkedEntry(const std::string& path) {
    return hnIsLinkPath(path);
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Adds the time since the last lap to a total.
class hnLap {
public:
    hnLap() {
        ::QueryPerformanceFrequency(&frequency_);
        ::QueryPerformanceCounter(&start_);
    }
    void to(double& total) {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        total += double(now.QuadPart - start_.QuadPart) / double(frequency_.QuadPart);
        start_ = now;
    }

private:
    LARGE_INTEGER frequency_, start_;
};

// The archive read through two windows of its bytes: the central directory
// and the entry being inflated each stay in one, so that an entry's record,
// its local header and its data seldom cost a system call each (the stdio
// layer reads again after every seek).
struct ArchiveReader {
    struct Window {
        uint64_t start = 0;
        DWORD length = 0;
        unsigned used = 0;
        std::unique_ptr<char[]> data;
    };
    hnScopedHandle file;
    uint64_t size = 0;
    uint64_t position = 0;
    unsigned clock = 0;
    Window windows[2];
};
constexpr DWORD kReaderWindow = 256 * 1024;

voidpf ZCALLBACK openReader(voidpf, const void* name, int mode) {
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !name)
        return nullptr;
    std::unique_ptr<ArchiveReader> reader(new ArchiveReader);
    reader->file.reset(::CreateFileA(static_cast<const char*>(name), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!reader->file || !::GetFileSizeEx(reader->file.get(), &size))
        return nullptr;
    reader->size = static_cast<uint64_t>(size.QuadPart);
    for (ArchiveReader::Window& window : reader->windows)
        window.data.reset(new char[kReaderWindow]);
    return reader.release();
}

// The window holding byte `at`, read into the one used least recently when
// neither holds it; null at the end of the file or on a read error.
const ArchiveReader::Window* windowAt(ArchiveReader& reader, uint64_t at) {
    for (ArchiveReader::Window& window : reader.windows) {
        if (window.length && at >= window.start && at - window.start < window.length) {
            window.used = ++reader.clock;
            return &window;
        }
    }
    if (at >= reader.size)
        return nullptr;
    ArchiveReader::Window& window =
        reader.windows[0].used <= reader.windows[1].used ? reader.windows[0] : reader.windows[1];
    uint64_t start = at & ~static_cast<uint64_t>(4095);
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(start);
    where.OffsetHigh = static_cast<DWORD>(start >> 32);
    DWORD got = 0;
    window.length = 0;
    if (!::ReadFile(reader.file.get(), window.data.get(), kReaderWindow, &got, &where) || at - start >= got)
        return nullptr;
    window.start = start;
    window.length = got;
    window.used = ++reader.clock;
    return &window;
}

uLong ZCALLBACK readReader(voidpf, voidpf stream, void* buffer, uLong size) {
    ArchiveReader& reader = *static_cast<ArchiveReader*>(stream);
    uLong done = 0;
    while (done < size) {
        const ArchiveReader::Window* window = windowAt(reader, reader.position);
        if (!window)
            break;
        uint64_t offset = reader.position - window->start;
        uLong count = static_cast<uLong>(std::min<uint64_t>(size - done, window->length - offset));
        std::memcpy(static_cast<char*>(buffer) + done, window->data.get() + offset, count);
        done += count;
        reader.position += count;
    }
    return done;
}

uLong ZCALLBACK writeReader(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK tellReader(voidpf, voidpf stream) {
    return static_cast<ArchiveReader*>(stream)->position;
}

long ZCALLBACK seekReader(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    ArchiveReader& reader = *static_cast<ArchiveReader*>(stream);
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET:
        reader.position = offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_CUR:
        reader.position += offset;
        return 0;
    case ZLIB_FILEFUNC_SEEK_END:
        reader.position = reader.size + offset;
        return 0;
    default:
        return -1;
    }
}

int ZCALLBACK closeReader(voidpf, voidpf stream) {
    delete static_cast<ArchiveReader*>(stream);
    return 0;
}

int ZCALLBACK errorReader(voidpf, voidpf) {
    return 0;
}

FILETIME entryFileTime(uint32_t dosDateTime, bool& ok) {
    FILETIME local = {}, utc = {};
    ok = ::DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16),
                                 static_cast<WORD>(dosDateTime & 0xFFFF), &local) &&
         ::LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

} // namespace

CUnzipper::CUnzipper() : buffer_(new char[kUnzipChunk]) {}

CUnzipper::~CUnzipper() {
    closeArchive();
}

void CUnzipper::closeArchive() {
    if (archive_)
        ::unzCloseCurrentFile(archive_.get());
    archive_.reset();
    defaultOutputFolder_.clear();
}

bool CUnzipper::openArchive(const char* path) {
    closeArchive();
    if (!path || !*path)
        return false;
    char full[kPathCapacity] = {};
    DWORD length = ::GetFullPathNameA(path, kPathCapacity, full, nullptr);
    if (length == 0 || length >= kPathCapacity)
        return false;
    zlib_filefunc64_def reader = {openReader, readReader,  writeReader, tellReader,
                                  seekReader, closeReader, errorReader, nullptr};
    archive_.reset(::unzOpen2_64(full, &reader));
    if (!archive_)
        return false;
    char drive[_MAX_DRIVE], dir[_MAX_DIR], base[_MAX_FNAME], ext[_MAX_EXT];
    if (_splitpath_s(full, drive, sizeof(drive), dir, sizeof(dir), base, sizeof(base), ext, sizeof(ext)) == 0)
        defaultOutputFolder_ = std::string(drive) + dir + base;
    return true;
}

bool CUnzipper::firstEntry() {
    return archive_ && ::unzGoToFirstFile(archive_.get()) == UNZ_OK;
}

bool CUnzipper::nextEntry() {
    return archive_ && ::unzGoToNextFile(archive_.get()) == UNZ_OK;
}

bool CUnzipper::readEntryInfo(ZipEntryInfo& info) {
    if (!archive_)
        return false;
    unz_file_info raw = {};
    char name[kNameCapacity] = {};
    char comment[kCommentCapacity] = {};
    if (::unzGetCurrentFileInfo(archive_.get(), &raw, name, sizeof(name), nullptr, 0, comment,
                                sizeof(comment)) != UNZ_OK)
        return false;
    info = ZipEntryInfo();
    info.name = name;
    for (char& c : info.name)
        if (c == '/')
            c = '\\';
    info.nameTooLong = raw.size_filename >= kNameCapacity;
    info.comment = comment;
    info.versionMadeBy = static_cast<uint32_t>(raw.version);
    info.versionNeeded = static_cast<uint32_t>(raw.version_needed);
    info.flags = static_cast<uint32_t>(raw.flag);
    info.compressionMethod = static_cast<uint32_t>(raw.compression_method);
    info.modificationTime = static_cast<uint32_t>(raw.dosDate);
    info.crc32 = static_cast<uint32_t>(raw.crc);
    info.compressedSize = static_cast<uint32_t>(raw.compressed_size);
    info.uncompressedSize = static_cast<uint32_t>(raw.uncompressed_size);
    info.internalAttributes = static_cast<uint32_t>(raw.internal_fa);
    info.externalAttributes = static_cast<uint32_t>(raw.external_fa);
    info.isFolder = (info.externalAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || endsWithSeparator(info.name);
    return true;
}

bool CUnzipper::refuseLink(const std::string& path, const char* routine) {
    if (!isLinkedEntry(path))
        return false;
    hnDebugOutF("CUnzipper::%s - Link in the target path refused\n", routine);
    return true;
}

void CUnzipper::releaseFolders() {
    heldFolders_.clear();
    holding_ = false;
}

bool CUnzipper::isHeld(const std::string& path) const {
    return holding_ && heldFolders_.count(lowerCase(path)) != 0;
}

bool CUnzipper::holdFolder(const std::string& path, const char* routine) {
    if (!holding_)
        return true;
    // The folder itself is opened, not what a link there points to.
    hnScopedHandle held(::CreateFileA(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!held)
        return true; // not held: checked again for the next entry
    // What is held can be neither renamed nor deleted, so the path names it
    // from now on: checked once more, it stays checked.
    if (refuseLink(path, routine))
        return false;
    heldFolders_.emplace(lowerCase(path), std::move(held));
    return true;
}

bool CUnzipper::ensureFoldersBelow(const std::string& base, const std::string& relative) {
    std::string path = base;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t end = relative.find('\\', start);
        if (end == std::string::npos)
            end = relative.size();
        if (end > start) {
            path = joinBelow(path, relative.substr(start, end - start));
            if (isHeld(path)) {
                start = end + 1;
                continue;
            }
            if (refuseLink(path, "extractEntry"))
                return false;
            DWORD attributes = ::GetFileAttributesA(path.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES && !::CreateDirectoryA(path.c_str(), nullptr) &&
                ::GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
            // Made by someone else in between: checked like any other.
            if (refuseLink(path, "extractEntry"))
                return false;
            attributes = ::GetFileAttributesA(path.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                return false;
            if (!holdFolder(path, "extractEntry"))
                return false;
        }
        start = end + 1;
    }
    return true;
}

bool CUnzipper::prepareBase(const std::string& base, const char* routine) {
    if (isHeld(base))
        return true;
    std::string refusal;
    if (!hnWriteFolderIsSafe(base, refusal)) {
        hnDebugOutF("CUnzipper::%s - %s\n", routine,
                    refusal.empty() ? "The target folder cannot be checked" : refusal.c_str());
        return false;
    }
    return !refuseLink(base, routine) && ensureFolder(base) && holdFolder(base, routine);
}

bool CUnzipper::extractEntry(const char* folder) {
    if (!archive_)
        return false;
    hnLap lap;
    std::string base = folder ? folder : defaultOutputFolder_;
    if (!prepareBase(base, "extractEntry"))
        return false;
    ZipEntryInfo info;
    if (!readEntryInfo(info) || info.nameTooLong)
        return false;
    std::string name = info.name;
    if (info.isFolder && endsWithSeparator(name))
        name.pop_back();
    if (!staysInside(name))
        return false;
    std::string target = joinBelow(base, name);
    if (target.size() >= kPathCapacity)
        return false;
    // Every folder from the target down to the entry is made or checked
    // here, for each entry, unless this extraction holds it: none of them
    // may be a link.
    std::size_t cut = name.find_last_of('\\');
    std::string folders =
        info.isFolder ? name : (cut == std::string::npos ? std::string() : name.substr(0, cut));
    bool made = ensureFoldersBelow(base, folders);
    lap.to(timing_.folders);
    if (!made)
        return false;
    if (info.isFolder)
        return true;
    return extractFile(base, target, info);
}

bool CUnzipper::extractFile(const std::string& base, const std::string& target, const ZipEntryInfo& info) {
    // A new file is written in place (CREATE_NEW, deleted again on failure).
    // An existing one is replaced only by a complete entry: the data goes to
    // a temporary in the target folder under a short name, so its path fits
    // whenever the folder exists, and CREATE_NEW never touches a file of the
    // archive that happens to carry the same name.
    hnLap lap;
    std::string written = target;
    hnScopedHandle file(::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    bool inPlace = static_cast<bool>(file);
    // Something is there already (CREATE_NEW fails on a link too, even a
    // dangling one): a link is refused, anything else replaced below.
    if (!inPlace && refuseLink(target, "extractEntry"))
        return false;
    for (int attempt = 0; attempt < 64 && !file; ++attempt) {
        if (!hnFormat(written, kPathCapacity, "%s\\~%x", base.c_str(), (++serial_) & 0xFFFF))
            return false;
        file.reset(::CreateFileA(written.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && ::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    lap.to(timing_.create);
    if (!file)
        return false;
    ++timing_.files;
    if (::unzOpenCurrentFile(archive_.get()) != UNZ_OK) {
        file.reset();
        ::DeleteFileA(written.c_str());
        return false;
    }
    bool complete = false;
    for (;;) {
        int read = ::unzReadCurrentFile(archive_.get(), buffer_.get(), kUnzipChunk);
        lap.to(timing_.inflate);
        if (read < 0)
            break;
        if (read == 0) {
            complete = true;
            break;
        }
        DWORD count = 0;
        bool wrote = ::WriteFile(file.get(), buffer_.get(), static_cast<DWORD>(read), &count, nullptr) &&
                     count == static_cast<DWORD>(read);
        lap.to(timing_.write);
        if (!wrote)
            break;
    }
    // Closing the entry checks its CRC once it was read to the end.
    if (::unzCloseCurrentFile(archive_.get()) != UNZ_OK)
        complete = false;
    lap.to(timing_.inflate);
    if (complete) {
        bool timeOk = false;
        FILETIME time = entryFileTime(info.modificationTime, timeOk);
        if (timeOk)
            ::SetFileTime(file.get(), &time, nullptr, &time);
    }
    file.reset();
    bool published = complete && (inPlace || moveFileReplacing(written, target));
    if (!published)
        ::DeleteFileA(written.c_str());
    lap.to(timing_.close);
    return published;
}

bool CUnzipper::checkDirectory(const std::string& base, const char* requiredPrefix,
                               std::vector<std::string>& created) {
    unz_global_info global = {};
    if (::unzGetGlobalInfo(archive_.get(), &global) != UNZ_OK || global.number_entry == 0 || !firstEntry())
        return false;
    std::size_t prefixLength = requiredPrefix ? std::strlen(requiredPrefix) : 0;
    std::set<std::string> checked; // folders already tested for a link, lower case
    for (;;) {
        ZipEntryInfo info;
        if (!readEntryInfo(info) || info.nameTooLong) {
            hnDebugOut("CUnzipper::extractAll - Unreadable entry name, archive refused\n");
            return false;
        }
        std::string name = info.name;
        if (info.isFolder && endsWithSeparator(name))
            name.pop_back();
        std::string compared = info.isFolder ? name + "\\" : name;
        if (!staysInside(name) || joinBelow(base, name).size() >= kPathCapacity ||
            (prefixLength && _strnicmp(compared.c_str(), requiredPrefix, prefixLength) != 0)) {
            hnDebugOutF("CUnzipper::extractAll - Entry '%s' refused, archive refused\n", info.name.c_str());
            return false;
        }
        std::string path = base;
        for (std::size_t start = 0; start < name.size();) {
            std::size_t end = name.find('\\', start);
            if (end == std::string::npos)
                end = name.size();
            if (end > start) {
                path = joinBelow(path, name.substr(start, end - start));
                std::string key = path;
                for (char& c : key)
                    c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
                if (checked.insert(key).second) {
                    if (refuseLink(path, "extractAll"))
                        return false;
                    if (start == 0 && !fileExists(path))
                        created.push_back(path);
                }
            }
            start = end + 1;
        }
        int next = ::unzGoToNextFile(archive_.get());
        if (next == UNZ_END_OF_LIST_OF_FILE)
            return firstEntry();
        if (next != UNZ_OK)
            return false;
    }
}

bool CUnzipper::extractAll(const char* folder, const char* requiredPrefix) {
    if (!archive_ || !folder)
        return false;
    timing_ = hnUnzipTiming();
    holding_ = true;
    std::vector<std::string> created;
    bool complete = prepareBase(folder, "extractAll") && checkDirectory(folder, requiredPrefix, created);
    if (!complete) {
        releaseFolders();
        return false;
    }
    do {
        complete = extractEntry(folder);
    } while (complete && nextEntry());
    // Released first: what a failure removes below must not be held open.
    releaseFolders();
    if (complete)
        return true;
    // What this extraction started is taken away again; what was there
    // before stays (its files are replaced only by complete entries).
    for (const std::string& path : created) {
        if (!fileExists(path))
            continue;
        hnDebugOutF("CUnzipper::extractAll - Removing '%s' after a failed extraction\n", path.c_str());
        DWORD attributes = ::GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            deleteFolderTree(path.c_str(), path.c_str());
        else
            deleteFileForced(path);
    }
    return false;
}

bool CUnzipper::ensureFolder(const std::string& path) {
    if (path.empty())
        return false;
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos)
        return true;
    ensureFolder(path.substr(0, cut));
    if (::CreateDirectoryA(path.c_str(), nullptr))
        return true;
    // A path with a trailing separator names the folder its parent step has
    // just made (and another process may have made it meanwhile).
    attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CUnzipper::ensureParentFolder(const std::string& filePath) {
    std::size_t cut = filePath.find_last_of('\\');
    return cut != std::string::npos && ensureFolder(filePath.substr(0, cut));
}

bool CUnzipper::applyEntryTime(const std::string& filePath, uint32_t dosDateTime) {
    hnScopedHandle file(::CreateFileA(filePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    FILETIME created, accessed, written;
    if (!::GetFileTime(file.get(), &created, &accessed, &written))
        return false;
    bool ok = false;
    FILETIME time = entryFileTime(dosDateTime, ok);
    return ok && ::SetFileTime(file.get(), &time, &accessed, &time);
}

bool extractArchiveToFolder(const char* archivePath, const char* folder, const char* requiredPrefix) {
    CUnzipper unzipper;
    if (!unzipper.openArchive(archivePath))
        return false;
    return unzipper.extractAll(folder, requiredPrefix);
}
