#include "download/DownloadTestSupport.h"

#include <atomic>
#include <sstream>
#include <windows.h>

#include "download/DownloadEngine.h"
#include "support/TestSupport.h"

std::string testServerUrl(const std::string& path) {
    char value[256] = {};
    DWORD length = ::GetEnvironmentVariableA("ORVANTO_TEST_HTTP_URL", value, sizeof(value));
    if (length == 0 || length >= sizeof(value))
        return std::string();
    return std::string(value, length) + path;
}

std::vector<std::string> serverLog(bool clear) {
    ScratchFolder scratch;
    std::atomic<bool> abort{false};
    std::vector<std::string> lines;
    if (downloadFileToFolder(scratch.path(), "log.txt", abort,
                             testServerUrl(clear ? "/log?clear=1" : "/log")) != 1)
        return lines;
    std::istringstream in(readTextFile(scratch.file("log.txt")));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string servedPattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 251);
    return bytes;
}
