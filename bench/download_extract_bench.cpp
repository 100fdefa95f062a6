// Times the download engine and the zip extraction on large inputs and
// reports the process's peak memory, for scripts/bench.
//   download_extract_bench download <url> <folder> <file name>
//   download_extract_bench extract <archive> <folder>
// Prints "seconds <s>" and "peak_mb <MB>" (peak private bytes); an
// extraction also prints where its time went per file ("time_<phase>_us";
// the writing phases summed over the threads that do them).
#include <atomic>
#include <cstdio>
#include <cstring>
#include <windows.h>
#include <psapi.h>

#include "download/DownloadEngine.h"
#include "download/Unzipper.h"

int main(int argc, char** argv) {
    if (argc < 4)
        return 2;
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    bool ok = false;
    hnUnzipTiming timing;
    if (std::strcmp(argv[1], "download") == 0 && argc == 5) {
        std::atomic<bool> abort{false};
        ok = downloadFileToFolder(argv[3], argv[4], abort, argv[2]) == 1;
    } else if (std::strcmp(argv[1], "extract") == 0) {
        CUnzipper unzipper;
        ok = unzipper.openArchive(argv[2]) && unzipper.extractAll(argv[3]);
        timing = unzipper.timing();
    }
    ::QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("seconds %.3f\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    std::printf("peak_mb %.1f\n", double(counters.PeakPagefileUsage) / (1024.0 * 1024.0));
    std::printf("peak_ws_mb %.1f\n", double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0));
    if (timing.files) {
        const struct {
            const char* phase;
            double seconds;
        } phases[] = {{"folders", timing.folders}, {"create", timing.create}, {"inflate", timing.inflate},
                      {"write", timing.write},     {"close", timing.close},   {"wait", timing.wait}};
        for (const auto& phase : phases)
            std::printf("time_%s_us %.1f\n", phase.phase, 1e6 * phase.seconds / timing.files);
    }
    return ok ? 0 : 1;
}
