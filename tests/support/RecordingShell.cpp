#include "support/RecordingShell.h"

#include <windows.h>

#include "app/ScopedHandle.h"

namespace {
const char* const kDocumentClass = "OrvantoTest.Document";

bool readDefault(const std::string& key, std::string& value) {
    char buffer[1024] = {};
    LONG size = sizeof(buffer);
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}
} // namespace

RecordingShell::RecordingShell(const std::string& record_) : record(record_) {
    std::string program = scratch_.file("viewer.exe");
    ::CopyFileA((toolsFolder() + "\\recorder.exe").c_str(), program.c_str(), FALSE);
    if (record.empty())
        record = scratch_.file("shell-record.txt");
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", record.c_str());
    std::string command = "\"" + program + "\" \"%1\"";
    set("http\\shell\\open\\command", command);
    set("https\\shell\\open\\command", command);
    set(".pdf", kDocumentClass);
    set(".png", kDocumentClass);
    set(std::string(kDocumentClass) + "\\shell\\open\\command", command);
}

RecordingShell::~RecordingShell() {
    for (auto saved = saved_.rbegin(); saved != saved_.rend(); ++saved) {
        if (saved->existed)
            ::RegSetValueA(HKEY_CLASSES_ROOT, saved->key.c_str(), REG_SZ, saved->value.c_str(),
                           static_cast<DWORD>(saved->value.size()));
        else
            ::RegDeleteTreeA(HKEY_CLASSES_ROOT, saved->key.c_str());
    }
    ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kDocumentClass);
    ::SetEnvironmentVariableA("ORVANTO_RECORD_FILE", nullptr);
}

void RecordingShell::set(const std::string& key, const std::string& value) {
    Saved saved{key, false, ""};
    saved.existed = readDefault(key, saved.value);
    saved_.push_back(saved);
    ::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
}

std::vector<std::string> RecordingShell::lines(std::size_t count, unsigned timeoutMs) const {
    std::vector<std::string> result;
    waitFor(
        [&] {
            result.clear();
            std::string text = readTextFile(record);
            std::size_t start = 0, end;
            while ((end = text.find('\n', start)) != std::string::npos) {
                result.push_back(text.substr(start, end - start));
                start = end + 1;
            }
            return result.size() >= count;
        },
        timeoutMs);
    return result;
}
