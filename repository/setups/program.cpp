// Stand-in for the programs that the demo repository's packages lay down (the
// runtime's and the vision software's programs, the interpreters, the SDK
// installer): it only says what it is and ends. When ORVANTO_RECORD_FILE names
// a file it appends its command line there first, so that a test sees how the
// installer started it (the runtime program that runs a demo profile).
#include <cstdio>
#include <windows.h>

int main() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    char record[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableA("ORVANTO_RECORD_FILE", record, sizeof(record));
    if (length > 0 && length < sizeof(record)) {
        if (FILE* file = std::fopen(record, "ab")) {
            std::fprintf(file, "%s\n", ::GetCommandLineA());
            std::fclose(file);
        }
    }
    std::printf("%s: stand-in program of the Orvanto demo repository\n", self);
    return 0;
}
