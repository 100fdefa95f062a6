// Stand-in for the programs that the demo repository's packages lay down (the
// runtime's and the vision software's programs, the interpreters, the SDK
// installer): it only says what it is and ends.
#include <cstdio>
#include <windows.h>

int main() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::printf("%s: stand-in program of the Orvanto demo repository\n", self);
    return 0;
}
