#pragma once
// Bounded text building. A text that does not fit the capacity of the buffer
// it stands for is a failure, never silently cut.
#include <cstdarg>
#include <cstddef>
#include <string>

// Capacities, terminator included, of the program's text buffers.
constexpr std::size_t kPathCapacity = 260;
constexpr std::size_t kIniValueCapacity = 1024;

// Formats into `out`; false (and `out` empty) when the result would need
// `capacity` characters or more.
bool hnFormat(std::string& out, std::size_t capacity, const char* format, ...)
    __attribute__((format(gnu_printf, 3, 4)));
bool hnFormatV(std::string& out, std::size_t capacity, const char* format, va_list args);

// Unbounded formatting for texts that have no fixed buffer (messages).
std::string hnFormatText(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
std::string hnFormatTextV(const char* format, va_list args);

// "%s\\%s": folder and name; false when the path would not fit kPathCapacity.
bool hnJoinPath(std::string& out, const std::string& folder, const std::string& name);

bool hnEqualsNoCase(const std::string& a, const std::string& b);
// ASCII letters in lower case, the rest as it is.
std::string hnLowerCase(std::string text);

// Appends `part` to a "; "-joined detail text.
void appendVersionDetail(std::string& text, const char* part);
