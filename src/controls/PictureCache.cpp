#include "controls/PictureCache.h"

const hnPngImage& hnPictureCache::resource(UINT id) {
    std::unique_ptr<hnPngImage>& picture = pictures_[id];
    if (!picture) {
        picture.reset(new hnPngImage());
        picture->loadResource(id);
    }
    return *picture;
}
