#pragma once
#include <functional>
#include <string>

// Calls `visit` with the base name of the first module of every process that
// can be opened for query and read (at most 1024 processes are examined).
// Processes that cannot be opened or read are passed over. Returns false when
// the process list itself could not be read.
bool forEachProcessImageName(const std::function<void(const std::string&)>& visit);
