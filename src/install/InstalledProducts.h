#pragma once
// The Windows Installer products of the machine with their names, kept
// between detections. Enumerating every product and reading every name takes
// a noticeable part of a page activation, yet the list only changes when a
// product is installed or removed, and that adds or deletes a key under one
// of the product registrations, which dates the registration key. The list is
// read again whenever one of those dates (or a key's presence) has changed.
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

class hnInstalledProducts {
public:
    // Codes of the products whose installed name begins with `prefix`, at
    // most `limit` of them, in the order the installer enumerates them.
    std::vector<std::string> codesNamed(const char* prefix, std::size_t limit);

private:
    // One date per product registration key and view; zero for a missing key.
    static std::vector<ULONGLONG> registrationStamps();

    std::vector<std::pair<std::string, std::string>> products_; // code, name
    std::vector<ULONGLONG> stamps_;
    bool read_ = false;
};
