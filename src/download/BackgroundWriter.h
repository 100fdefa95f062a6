#pragma once
// Writes a stream of filled buffers to a file on a thread of its own, so that
// the next network read overlaps the last disk write. A few buffers circulate
// between the reader and the writer; memory stays at their total size.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include <windows.h>

class hnBackgroundWriter {
public:
    // `file` stays owned by the caller and must outlive the writer.
    hnBackgroundWriter(HANDLE file, std::size_t bufferSize, std::size_t buffers = 3);
    ~hnBackgroundWriter(); // drops what is still queued and joins the thread
    hnBackgroundWriter(const hnBackgroundWriter&) = delete;
    hnBackgroundWriter& operator=(const hnBackgroundWriter&) = delete;

    std::size_t bufferSize() const { return bufferSize_; }
    // A free buffer, waiting while all of them are queued; null once a write
    // has failed (the caller stops reading).
    char* acquire();
    // Queues `length` bytes of a buffer from acquire(); length 0 returns it.
    void submit(char* buffer, DWORD length);
    // Waits until everything queued is written; false when a write failed.
    bool finish();

private:
    struct Block {
        char* data;
        DWORD length;
    };
    void run();

    HANDLE file_;
    std::size_t bufferSize_;
    std::vector<std::unique_ptr<char[]>> storage_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<char*> free_;
    std::deque<Block> queued_;
    bool writing_ = false;
    bool failed_ = false;
    bool closing_ = false;
    std::thread thread_;
};
