#include "app/FileVersion.h"

#include <vector>
#include <windows.h>

#include "app/Text.h"

int readFileVersionAndPrivateBuild(const std::string& path, std::string& version, std::string& privateBuild) {
    version.clear();
    privateBuild.clear();
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return -1;
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return -1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return -1;
    std::string number =
        hnFormatText("%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                     HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    std::string build;
    if ((fixed->dwFileFlags & fixed->dwFileFlagsMask) & VS_FF_PRIVATEBUILD) {
        WORD* translation = nullptr;
        if (!::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                              reinterpret_cast<void**>(&translation), &length) ||
            !translation || length < 2 * sizeof(WORD))
            return -1;
        std::string key =
            hnFormatText("\\StringFileInfo\\%04x%04x\\PrivateBuild", translation[0], translation[1]);
        char* text = nullptr;
        if (!::VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
            return -1;
        build.assign(text, length > 0 && text[length - 1] == '\0' ? length - 1 : length);
        build = build.c_str(); // up to the first terminator
    }
    version = number;
    privateBuild = build;
    return 1;
}

bool parseFourPartVersion(const std::string& text, unsigned parts[4]) {
    std::size_t position = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (position >= text.size() || text[position] != '.')
                return false;
            ++position;
        }
        std::size_t start = position;
        unsigned value = 0;
        while (position < text.size() && text[position] >= '0' && text[position] <= '9' &&
               position - start < 6) {
            value = value * 10 + static_cast<unsigned>(text[position] - '0');
            ++position;
        }
        if (position == start || value > 65535)
            return false;
        parts[i] = value;
    }
    return position == text.size();
}

std::string runningExecutablePath() {
    char buffer[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

bool isRunningExecutableName(const std::string& fileName) {
    std::string path = runningExecutablePath();
    std::size_t slash = path.find_last_of("\\/");
    return !path.empty() && hnEqualsNoCase(path.substr(slash == std::string::npos ? 0 : slash + 1), fileName);
}
