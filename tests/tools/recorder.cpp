// Helper program for tests: appends its raw command line and a line break to
// the file named by ORVANTO_RECORD_FILE, sleeps ORVANTO_RECORD_SLEEP_MS and
// exits with ORVANTO_RECORD_EXIT, or with ORVANTO_RECORD_EXIT_FIRST when it
// is the first to write the record file (all optional).
#include <cstdio>
#include <cstdlib>
#include <windows.h>

static unsigned long numberVariable(const char* name) {
    char value[64] = {};
    DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::strtoul(value, nullptr, 10) : 0;
}

int main() {
    char path[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableA("ORVANTO_RECORD_FILE", path, sizeof(path));
    bool first = false;
    if (length > 0 && length < sizeof(path)) {
        first = ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
        if (FILE* file = std::fopen(path, "ab")) {
            std::fprintf(file, "%s\n", ::GetCommandLineA());
            std::fclose(file);
        }
    }
    if (DWORD ms = numberVariable("ORVANTO_RECORD_SLEEP_MS"))
        ::Sleep(ms);
    char firstExit[16] = {};
    if (first && ::GetEnvironmentVariableA("ORVANTO_RECORD_EXIT_FIRST", firstExit, sizeof(firstExit)) > 0)
        return static_cast<int>(numberVariable("ORVANTO_RECORD_EXIT_FIRST"));
    return static_cast<int>(numberVariable("ORVANTO_RECORD_EXIT"));
}
