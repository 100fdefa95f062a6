#include "app/Text.h"

#include <cstdio>
#include <vector>
#include <windows.h>

bool hnFormatV(std::string& out, std::size_t capacity, const char* format, va_list args) {
    out.clear();
    if (capacity == 0)
        return false;
    std::vector<char> buffer(capacity);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(buffer.data(), capacity, format, copy);
    va_end(copy);
    if (needed < 0 || static_cast<std::size_t>(needed) >= capacity)
        return false;
    out.assign(buffer.data(), static_cast<std::size_t>(needed));
    return true;
}

bool hnFormat(std::string& out, std::size_t capacity, const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool ok = hnFormatV(out, capacity, format, args);
    va_end(args);
    return ok;
}

std::string hnFormatTextV(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(&out[0], out.size(), format, args);
        out.resize(static_cast<std::size_t>(needed));
    }
    return out;
}

std::string hnFormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = hnFormatTextV(format, args);
    va_end(args);
    return out;
}

bool hnJoinPath(std::string& out, const std::string& folder, const std::string& name) {
    return hnFormat(out, kPathCapacity, "%s\\%s", folder.c_str(), name.c_str());
}

bool hnEqualsNoCase(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string hnLowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void appendVersionDetail(std::string& text, const char* part) {
    if (!text.empty())
        text += "; ";
    text += part;
}
