#pragma once
#include <functional>
#include <string>

// Calls `visit` with the image file name (no folder) of every running
// process, read from one snapshot of the process list, so processes of other
// accounts count too. Returns false when the list itself could not be read.
bool forEachProcessImageName(const std::function<void(const std::string&)>& visit);
