#pragma once
// What the benchmarks that read the installation state share: a timer, the
// median, and a machine with the test packages installed, a runtime folder
// and a Python 2.7 whose pip is the stand-in. Header-only, as each bench/*.cpp
// is a program of its own.
#include <algorithm>
#include <string>
#include <vector>
#include <windows.h>

#include "app/ScopedHandle.h"
#include "app/SystemView.h"

namespace bench {

inline double now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline bool runMsiexec(std::string commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return false;
    hnScopedHandle process(info.hProcess), thread(info.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(process.get(), &code);
    return code == 0;
}

// Installs every package of the folder once; later runs find them installed
// (the marker value each package writes). Returns how many are installed.
inline int installPackages(const std::string& folder) {
    WIN32_FIND_DATAA data;
    hnScopedFind find(::FindFirstFileA((folder + "\\*.msi").c_str(), &data));
    int installed = 0;
    if (!find)
        return 0;
    do {
        std::string file = data.cFileName;
        std::string name = file.substr(0, file.size() - 4);
        std::string marker = "SOFTWARE\\OrvantoTestFixtures\\" + name;
        hnScopedKey key;
        if (hnRegOpenKey(HKEY_LOCAL_MACHINE, marker.c_str(), KEY_READ, key.put()) == ERROR_SUCCESS ||
            hnRegOpenKey(HKEY_CURRENT_USER, marker.c_str(), KEY_READ, key.put()) == ERROR_SUCCESS ||
            runMsiexec("msiexec.exe /i \"" + folder + "\\" + file + "\" /qn"))
            ++installed;
    } while (::FindNextFileA(find.get(), &data));
    return installed;
}

inline void setString(HKEY root, const std::string& key, const char* name, const std::string& value) {
    hnScopedKey opened;
    if (hnRegCreateKey(root, key.c_str(), KEY_WRITE, opened.put()) == ERROR_SUCCESS)
        ::RegSetValueExA(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
}

inline void writeFile(const std::string& path, const std::string& content) {
    hnScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

// Installs the packages of `packages` and lays out, below `work`, a runtime
// folder with a few component folders and a Python 2.7 with the stand-in
// `pip`. Returns the number of installed packages.
inline int prepareMachine(const std::string& packages, const std::string& pip, const std::string& work) {
    int products = installPackages(packages);
    std::string runtime = work + "\\Runtime\\";
    std::string python = work + "\\Python27\\";
    for (const std::string& folder : {runtime, runtime + "Python", runtime + "OpenCV300",
                                      runtime + "IPP201800992", python, python + "Scripts"})
        ::CreateDirectoryA(folder.c_str(), nullptr);
    setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\HALVENOR AS\\Orvanto Version XV 15.0.0.774 Runtime",
              "InstallPath", runtime);
    setString(HKEY_LOCAL_MACHINE, "Software\\Python\\PythonCore\\2.7\\InstallPath", nullptr, python);
    ::CopyFileA(pip.c_str(), (python + "Scripts\\pip.exe").c_str(), FALSE);
    ::DeleteFileA((python + "Scripts\\delay.txt").c_str()); // a slow pip is a bench's own choice
    writeFile(python + "Scripts\\packages.txt",
              "Name: Keras\nVersion: 2.2.4\n---\nName: numpy\nVersion: 1.16.4\n");
    return products;
}

} // namespace bench
