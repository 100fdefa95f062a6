#include "controls/PictureCache.h"

#include <algorithm>

hnPictureCache::hnPictureCache() = default;

hnPictureCache::~hnPictureCache() {
    worker_.stop();
}

const hnPngImage& hnPictureCache::resource(UINT id) {
    std::unique_ptr<hnPngImage>& picture = pictures_[id];
    if (!picture)
        picture = takePrefetched(id);
    if (!picture) {
        picture.reset(new hnPngImage());
        picture->loadResource(id);
        ++decodedInPlace_;
    }
    return *picture;
}

void hnPictureCache::prefetch(const std::vector<UINT>& ids) {
    if (prefetched_ || ids.empty())
        return;
    std::vector<UINT> once;
    for (UINT id : ids)
        if (std::find(once.begin(), once.end(), id) == once.end())
            once.push_back(id);
    prefetchCount_ = once.size();
    prefetched_.reset(new Prefetched[prefetchCount_]);
    for (std::size_t i = 0; i < prefetchCount_; ++i)
        prefetched_[i].id = once[i];
    // The slots outlive the worker: the destructor stops it first.
    Prefetched* slots = prefetched_.get();
    std::size_t count = prefetchCount_;
    worker_.start([this, slots, count] {
        for (std::size_t i = 0; i < count && !worker_.stopRequested(); ++i) {
            slots[i].picture.reset(new hnPngImage());
            slots[i].picture->loadResource(slots[i].id);
            slots[i].ready.store(true, std::memory_order_release);
        }
    });
}

bool hnPictureCache::prefetchFinished() const {
    for (std::size_t i = 0; i < prefetchCount_; ++i)
        if (!prefetched_[i].ready.load(std::memory_order_acquire))
            return false;
    return true;
}

std::unique_ptr<hnPngImage> hnPictureCache::takePrefetched(UINT id) {
    for (std::size_t i = 0; i < prefetchCount_; ++i)
        if (prefetched_[i].id == id && prefetched_[i].ready.load(std::memory_order_acquire))
            return std::move(prefetched_[i].picture);
    return nullptr;
}
