#pragma once
// Pictures from the program's resources, decoded once for all the controls
// of one window: a tab of catalogue rows shows the same few pictures dozens
// of times and is rebuilt at every page activation, and decoding is what
// such a rebuild would otherwise spend most of its time on.
#include <map>
#include <memory>
#include <windows.h>

#include "controls/PngImage.h"

class hnPictureCache {
public:
    // The decoded resource picture; a picture that is not loaded when the
    // resource is missing or cannot be decoded.
    const hnPngImage& resource(UINT id);

private:
    std::map<UINT, std::unique_ptr<hnPngImage>> pictures_;
};
