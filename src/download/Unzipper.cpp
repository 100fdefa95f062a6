#include "download/Unzipper.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <functional>
#include <thread>

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

// Entries up to this size are written by the writer threads; the buffers
// make most of the extraction's memory.
constexpr DWORD kWriterBuffer = 1024 * 1024;
constexpr unsigned kWriterBuffers = 6;

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

bool refuseLinkAt(const std::string& path, const char* routine) {
    if (!isLinkedEntry(path))
        return false;
    hnDebugOutF("CUnzipper::%s - Link in the target path refused\n", routine);
    return true;
}

// The file an entry is written to. A new file is written in place
// (CREATE_NEW, deleted again on failure). An existing one is replaced only
// by a complete entry: the data goes to a temporary in the target folder
// under a short name, so its path fits whenever the folder exists, and
// CREATE_NEW never touches a file of the archive that happens to carry the
// same name.
struct OutputFile {
    hnScopedHandle file;
    std::string written;
    bool inPlace = false;
};

bool openOutput(const std::string& base, const std::string& target, std::atomic<unsigned>& serial,
                OutputFile& output) {
    output.written = target;
    output.file.reset(::CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    output.inPlace = static_cast<bool>(output.file);
    // Something is there already (CREATE_NEW fails on a link too, even a
    // dangling one): a link is refused, anything else replaced.
    if (!output.inPlace && refuseLinkAt(target, "extractEntry"))
        return false;
    for (int attempt = 0; attempt < 64 && !output.file; ++attempt) {
        if (!hnFormat(output.written, kPathCapacity, "%s\\~%x", base.c_str(), (++serial) & 0xFFFF))
            return false;
        output.file.reset(::CreateFileA(output.written.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output.file && ::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return static_cast<bool>(output.file);
}

// A complete file gets the entry's time and its name; anything else is
// deleted. True when published.
bool finishOutput(OutputFile& output, const std::string& target, bool complete, uint32_t dosDateTime) {
    if (complete) {
        bool timeOk = false;
        FILETIME time = entryFileTime(dosDateTime, timeOk);
        if (timeOk)
            ::SetFileTime(output.file.get(), &time, nullptr, &time);
    }
    output.file.reset();
    bool published = complete && (output.inPlace || moveFileReplacing(output.written, target));
    if (!published)
        ::DeleteFileA(output.written.c_str());
    return published;
}

} // namespace

// Threads that create, write, date, close and publish entries already read
// and checked in memory, so that each file's system calls overlap the
// inflating of the next. Entries of one name go to one thread, in order.
// Buffers circulate between the reader and the threads; memory stays at
// their total.
class hnEntryWriters {
public:
    struct Job {
        std::string base, target;
        uint32_t dosDateTime;
        char* data;
        DWORD length;
    };

    explicit hnEntryWriters(std::atomic<unsigned>& serial) : serial_(serial) {
        for (unsigned i = 0; i < kWriterBuffers; ++i) {
            storage_.emplace_back(new char[kWriterBuffer]);
            free_.push_back(storage_.back().get());
        }
        for (unsigned i = 0; i < kWriters; ++i)
            threads_[i] = std::thread(&hnEntryWriters::run, this, i);
    }
    // Drops what is still queued and waits for the files being written.
    ~hnEntryWriters() {
        ::AcquireSRWLockExclusive(&lock_);
        closing_ = true;
        dropQueued();
        ::ReleaseSRWLockExclusive(&lock_);
        ::WakeAllConditionVariable(&changed_);
        for (std::thread& thread : threads_)
            thread.join();
    }
    hnEntryWriters(const hnEntryWriters&) = delete;
    hnEntryWriters& operator=(const hnEntryWriters&) = delete;

    // A free buffer of kWriterBuffer bytes; null once a file failed.
    char* acquire() {
        ::AcquireSRWLockExclusive(&lock_);
        while (!failed_ && free_.empty())
            ::SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        char* data = nullptr;
        if (!failed_) {
            data = free_.back();
            free_.pop_back();
        }
        ::ReleaseSRWLockExclusive(&lock_);
        return data;
    }
    void release(char* data) {
        ::AcquireSRWLockExclusive(&lock_);
        free_.push_back(data);
        ::ReleaseSRWLockExclusive(&lock_);
    }
    void submit(Job job) {
        unsigned index = static_cast<unsigned>(std::hash<std::string>()(lowerCase(job.target)) % kWriters);
        ::AcquireSRWLockExclusive(&lock_);
        if (failed_)
            free_.push_back(job.data);
        else
            queued_[index].push_back(std::move(job));
        ::ReleaseSRWLockExclusive(&lock_);
        ::WakeAllConditionVariable(&changed_);
    }
    // Waits until every queued file is published; false once one failed.
    bool drain() {
        ::AcquireSRWLockExclusive(&lock_);
        while (!failed_ && !idle())
            ::SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        bool ok = !failed_;
        ::ReleaseSRWLockExclusive(&lock_);
        return ok;
    }
    // The threads' time; read once they are idle.
    void addTiming(hnUnzipTiming& total) {
        ::AcquireSRWLockExclusive(&lock_);
        for (const hnUnzipTiming& timing : timing_) {
            total.create += timing.create;
            total.write += timing.write;
            total.close += timing.close;
        }
        ::ReleaseSRWLockExclusive(&lock_);
    }

private:
    static constexpr unsigned kWriters = 2;

    bool idle() const {
        for (const std::deque<Job>& queue : queued_)
            if (!queue.empty())
                return false;
        return busy_ == 0;
    }

    void dropQueued() {
        for (std::deque<Job>& queue : queued_) {
            for (const Job& job : queue)
                free_.push_back(job.data);
            queue.clear();
        }
    }

    void run(unsigned index) {
        ::AcquireSRWLockExclusive(&lock_);
        for (;;) {
            while (!closing_ && queued_[index].empty())
                ::SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
            if (closing_)
                break;
            Job job = std::move(queued_[index].front());
            queued_[index].pop_front();
            ++busy_;
            ::ReleaseSRWLockExclusive(&lock_);
            hnUnzipTiming timing;
            bool ok = write(job, timing);
            ::AcquireSRWLockExclusive(&lock_);
            timing_[index].create += timing.create;
            timing_[index].write += timing.write;
            timing_[index].close += timing.close;
            --busy_;
            free_.push_back(job.data);
            if (!ok) {
                failed_ = true;
                dropQueued();
            }
            ::WakeAllConditionVariable(&changed_);
        }
        ::ReleaseSRWLockExclusive(&lock_);
    }

    bool write(const Job& job, hnUnzipTiming& timing) {
        hnLap lap;
        OutputFile output;
        bool opened = openOutput(job.base, job.target, serial_, output);
        lap.to(timing.create);
        if (!opened)
            return false;
        DWORD count = 0;
        bool wrote =
            job.length == 0 ||
            (::WriteFile(output.file.get(), job.data, job.length, &count, nullptr) && count == job.length);
        lap.to(timing.write);
        bool published = finishOutput(output, job.target, wrote, job.dosDateTime);
        lap.to(timing.close);
        return published;
    }

    std::atomic<unsigned>& serial_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::vector<std::unique_ptr<char[]>> storage_;
    std::vector<char*> free_;
    std::deque<Job> queued_[kWriters];
    unsigned busy_ = 0;
    bool failed_ = false;
    bool closing_ = false;
    hnUnzipTiming timing_[kWriters];
    std::thread threads_[kWriters];
};

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
    return refuseLinkAt(path, routine);
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
            // Only a reparse point can be a link.
            DWORD attributes = ::GetFileAttributesA(path.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                refuseLink(path, "extractEntry"))
                return false;
            if (attributes == INVALID_FILE_ATTRIBUTES && !::CreateDirectoryA(path.c_str(), nullptr) &&
                ::GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
            // Made by someone else in between: checked like any other.
            attributes = ::GetFileAttributesA(path.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
                ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && refuseLink(path, "extractEntry")))
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
    if (writers_ && info.uncompressedSize <= kWriterBuffer)
        return queueFile(base, target, info);
    return extractFile(base, target, info);
}

bool CUnzipper::extractFile(const std::string& base, const std::string& target, const ZipEntryInfo& info) {
    hnLap lap;
    // After what is queued: an earlier entry of the same name stays older.
    bool drained = !writers_ || writers_->drain();
    lap.to(timing_.wait);
    if (!drained)
        return false;
    OutputFile output;
    bool opened = openOutput(base, target, serial_, output);
    lap.to(timing_.create);
    if (!opened)
        return false;
    ++timing_.files;
    if (::unzOpenCurrentFile(archive_.get()) != UNZ_OK) {
        finishOutput(output, target, false, 0);
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
        bool wrote =
            ::WriteFile(output.file.get(), buffer_.get(), static_cast<DWORD>(read), &count, nullptr) &&
            count == static_cast<DWORD>(read);
        lap.to(timing_.write);
        if (!wrote)
            break;
    }
    // Closing the entry checks its CRC once it was read to the end.
    if (::unzCloseCurrentFile(archive_.get()) != UNZ_OK)
        complete = false;
    lap.to(timing_.inflate);
    bool published = finishOutput(output, target, complete, info.modificationTime);
    lap.to(timing_.close);
    return published;
}

bool CUnzipper::queueFile(const std::string& base, const std::string& target, const ZipEntryInfo& info) {
    hnLap lap;
    char* data = writers_->acquire();
    lap.to(timing_.wait);
    if (!data)
        return false;
    DWORD filled = 0;
    bool complete = false;
    if (::unzOpenCurrentFile(archive_.get()) == UNZ_OK) {
        for (;;) {
            int read = ::unzReadCurrentFile(archive_.get(), data + filled, kWriterBuffer - filled);
            if (read <= 0) {
                complete = read == 0;
                break;
            }
            filled += static_cast<DWORD>(read);
            if (filled == kWriterBuffer) {
                // More than the directory said: refused.
                char extra;
                complete = ::unzReadCurrentFile(archive_.get(), &extra, 1) == 0;
                break;
            }
        }
        // The CRC is checked here, before anything is written.
        if (::unzCloseCurrentFile(archive_.get()) != UNZ_OK)
            complete = false;
    }
    lap.to(timing_.inflate);
    if (!complete) {
        writers_->release(data);
        return false;
    }
    ++timing_.files;
    writers_->submit({base, target, info.modificationTime, data, filled});
    return true;
}

bool CUnzipper::checkDirectory(const std::string& base, const char* requiredPrefix,
                               std::vector<std::string>& created) {
    unz_global_info global = {};
    if (::unzGetGlobalInfo(archive_.get(), &global) != UNZ_OK || global.number_entry == 0 || !firstEntry())
        return false;
    std::size_t prefixLength = requiredPrefix ? std::strlen(requiredPrefix) : 0;
    // Paths already tested for a link, by lower-case path: true when missing,
    // and then so is all below it, which needs no test of its own.
    std::map<std::string, bool> missing;
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
        bool above = false; // a folder above this path is missing
        for (std::size_t start = 0; start < name.size();) {
            std::size_t end = name.find('\\', start);
            if (end == std::string::npos)
                end = name.size();
            if (end > start) {
                path = joinBelow(path, name.substr(start, end - start));
                auto known = missing.find(lowerCase(path));
                if (known == missing.end()) {
                    bool gone = above;
                    if (!gone) {
                        DWORD attributes = ::GetFileAttributesA(path.c_str());
                        DWORD error = ::GetLastError();
                        gone = attributes == INVALID_FILE_ATTRIBUTES &&
                               (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND);
                        // Only a reparse point can be a link.
                        if (attributes != INVALID_FILE_ATTRIBUTES &&
                            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && refuseLink(path, "extractAll"))
                            return false;
                        if (start == 0 && attributes == INVALID_FILE_ATTRIBUTES)
                            created.push_back(path);
                    }
                    known = missing.emplace(lowerCase(path), gone).first;
                }
                above = known->second;
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
    writers_.reset(new hnEntryWriters(serial_));
    do {
        complete = extractEntry(folder);
    } while (complete && nextEntry());
    hnLap lap;
    if (complete)
        complete = writers_->drain();
    writers_->addTiming(timing_);
    // Gone before the folders are let go: nothing writes into them after.
    writers_.reset();
    lap.to(timing_.wait);
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
