#pragma once
// Every stored Python choice with its key and accessors, in the order of the
// settings file's table: for whoever describes or restores the whole file.
#include <string>
#include <vector>

struct hnPySelAccessor {
    const char* key;
    int (*get)(std::string* value);
    int (*set)(const char* value);
};
const std::vector<hnPySelAccessor>& pySelAccessors();
