// Helper console program for tests: writes characters to standard output (or
// standard error), then optionally sleeps.
//   chatter <count> [sleep-ms] [err]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <windows.h>

int main(int argc, char** argv) {
    unsigned long count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0;
    DWORD ms = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 0;
    FILE* stream = (argc > 3 && std::strcmp(argv[3], "err") == 0) ? stderr : stdout;
    for (unsigned long i = 0; i < count; ++i)
        std::fputc('a' + static_cast<int>(i % 26), stream);
    std::fflush(stream);
    if (ms)
        ::Sleep(ms);
    return 0;
}
