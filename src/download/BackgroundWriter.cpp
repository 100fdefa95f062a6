#include "download/BackgroundWriter.h"

hnBackgroundWriter::hnBackgroundWriter(HANDLE file, std::size_t bufferSize, std::size_t buffers)
    : file_(file), bufferSize_(bufferSize) {
    for (std::size_t i = 0; i < buffers; ++i) {
        storage_.emplace_back(new char[bufferSize]);
        free_.push_back(storage_.back().get());
    }
    thread_ = std::thread(&hnBackgroundWriter::run, this);
}

hnBackgroundWriter::~hnBackgroundWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
        queued_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

char* hnBackgroundWriter::acquire() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || !free_.empty(); });
    if (failed_)
        return nullptr;
    char* buffer = free_.back();
    free_.pop_back();
    return buffer;
}

void hnBackgroundWriter::submit(char* buffer, DWORD length) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (length == 0 || failed_)
            free_.push_back(buffer);
        else
            queued_.push_back({buffer, length});
    }
    changed_.notify_all();
}

bool hnBackgroundWriter::finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return failed_ || (queued_.empty() && !writing_); });
    return !failed_;
}

void hnBackgroundWriter::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !queued_.empty(); });
        if (closing_)
            return;
        Block block = queued_.front();
        queued_.pop_front();
        writing_ = true;
        lock.unlock();
        DWORD written = 0;
        bool ok = ::WriteFile(file_, block.data, block.length, &written, nullptr) && written == block.length;
        lock.lock();
        writing_ = false;
        free_.push_back(block.data);
        if (!ok) {
            failed_ = true;
            queued_.clear();
        }
        changed_.notify_all();
    }
}
