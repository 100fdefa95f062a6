#pragma once
// Pictures from the program's resources, decoded once for all the controls
// of one window: a tab of catalogue rows shows the same few pictures dozens
// of times and is rebuilt at every page activation, and decoding is what
// such a rebuild would otherwise spend most of its time on.
#include <atomic>
#include <map>
#include <memory>
#include <vector>
#include <windows.h>

#include "app/StopBlock.h"
#include "controls/PngImage.h"

class hnPictureCache {
public:
    hnPictureCache();
    // Stops a prefetch after the picture it is decoding.
    ~hnPictureCache();
    hnPictureCache(const hnPictureCache&) = delete;
    hnPictureCache& operator=(const hnPictureCache&) = delete;

    // The decoded resource picture; a picture that is not loaded when the
    // resource is missing or cannot be decoded.
    const hnPngImage& resource(UINT id);

    // Decodes `ids` (each once) in that order on a worker thread while the caller goes on
    // (creating the window that shows them). resource() takes a picture the
    // worker has finished and decodes any other itself: it never waits for
    // the worker. One prefetch per cache; a second call is ignored.
    void prefetch(const std::vector<UINT>& ids);
    // Whether the worker has finished every picture it was given.
    bool prefetchFinished() const;
    // How many pictures resource() has decoded on the calling thread.
    int decodedInPlace() const { return decodedInPlace_; }

private:
    struct Prefetched {
        UINT id = 0;
        std::unique_ptr<hnPngImage> picture; // the worker's until `ready`
        std::atomic<bool> ready{false};
    };
    std::unique_ptr<hnPngImage> takePrefetched(UINT id);

    std::map<UINT, std::unique_ptr<hnPngImage>> pictures_;
    std::unique_ptr<Prefetched[]> prefetched_;
    std::size_t prefetchCount_ = 0;
    int decodedInPlace_ = 0;
    hnWorkerThread worker_{"hnPictureCache::prefetch"}; // last: stopped before the slots go
};
