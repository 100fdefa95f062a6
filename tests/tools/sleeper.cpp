// Helper process for tests: stays alive for the given number of milliseconds
// (default one minute), so that it shows in the process list under whatever
// name it was copied to.
#include <cstdlib>
#include <windows.h>

int main(int argc, char** argv) {
    DWORD ms = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : 60000;
    ::Sleep(ms);
    return 0;
}
