// Cost of installation state detection on a machine with about 50 installed
// Windows Installer products (bench/detection.sh prepares the prefix):
//   detection_bench PACKAGES_FOLDER PIP_EXE WORK_FOLDER
// installs the packages of the folder that are missing, lays out a runtime
// folder and a Python 2.7 whose pip is the stand-in, then times a full refresh
// of every catalogue row that needs no pip call and the refresh of one pip
// row. Prints "name value" lines.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "app/InstallerApp.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "install/ComponentActions.h"
#include "install/DetectionCatalogue.h"
#include "install/InstallManager.h"
#include "download/InstallationElement.h"

namespace {

double now() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool runMsiexec(std::string commandLine) {
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
// (the marker value each package writes).
int installPackages(const std::string& folder) {
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

void setString(HKEY root, const std::string& key, const char* name, const std::string& value) {
    hnScopedKey opened;
    if (hnRegCreateKey(root, key.c_str(), KEY_WRITE, opened.put()) == ERROR_SUCCESS)
        ::RegSetValueExA(opened.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
}

void writeFile(const std::string& path, const std::string& content) {
    hnScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

struct Row {
    explicit Row(const std::string& name)
        : element(name.c_str(), "", "", "", "", false, 0, false, &nameText, &statusText, &progressText, "") {}
    std::string nameText, statusText, progressText;
    hnInstallationElement element;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: detection_bench PACKAGES_FOLDER PIP_EXE WORK_FOLDER\n");
        return 2;
    }
    COrvantoKadrixSDKInstallerApp app;
    int products = installPackages(argv[1]);

    // A runtime folder with a few component folders and a Python 2.7.
    std::string work = argv[3];
    std::string runtime = work + "\\Runtime\\";
    std::string python = work + "\\Python27\\";
    for (const std::string& folder : {runtime, runtime + "Python", runtime + "OpenCV300",
                                      runtime + "IPP201800992", python, python + "Scripts"})
        ::CreateDirectoryA(folder.c_str(), nullptr);
    setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\HALVENOR AS\\Orvanto Version XV 15.0.0.774 Runtime",
              "InstallPath", runtime);
    setString(HKEY_LOCAL_MACHINE, "Software\\Python\\PythonCore\\2.7\\InstallPath", nullptr, python);
    ::CopyFileA(argv[2], (python + "Scripts\\pip.exe").c_str(), FALSE);
    writeFile(python + "Scripts\\packages.txt",
              "Name: Keras\nVersion: 2.2.4\n---\nName: numpy\nVersion: 1.16.4\n");

    std::vector<std::unique_ptr<Row>> rows;
    std::vector<hnInstallationElement*> elements;
    for (const hnDetectionRow& row : detectionCatalogue()) {
        if (rowUsesPip(row))
            continue;
        rows.emplace_back(new Row(row.name));
        elements.push_back(&rows.back()->element);
    }
    hnComponentActions actions;
    hnInstallManagerBase manager;
    manager.setActions(&actions);
    manager.setElements(static_cast<unsigned>(elements.size()), elements.data());
    int last = static_cast<int>(manager.count()) - 1;

    std::vector<double> refresh;
    for (int round = 0; round < 5; ++round) {
        double start = now();
        manager.refreshStatuses(0, last);
        manager.refreshVersionDetails(last);
        refresh.push_back(now() - start);
    }

    // The slowest row without pip, for the record.
    double slowest = 0;
    std::string slowestName;
    for (int i = 0; i <= last; ++i) {
        double start = now();
        manager.refreshStatuses(i, i);
        double spent = now() - start;
        if (spent > slowest) {
            slowest = spent;
            slowestName = manager.item(static_cast<unsigned>(i))->name;
        }
    }

    Row pipRow("Python 27 extension - Keras");
    hnInstallationElement* pipElements[] = {&pipRow.element};
    hnInstallManagerBase pipManager;
    pipManager.setActions(&actions);
    pipManager.setElements(1, pipElements);
    std::vector<double> pip;
    for (int round = 0; round < 3; ++round) {
        double start = now();
        pipManager.refreshStatuses(0, 0);
        pip.push_back(now() - start);
    }

    std::printf("detection_installed_products %d\n", products);
    std::printf("detection_rows_without_pip %u\n", manager.count());
    std::printf("detection_refresh_s %.3f\n", median(refresh));
    std::printf("detection_refresh_row_ms %.2f\n", 1000.0 * median(refresh) / manager.count());
    std::printf("detection_slowest_row_ms %.2f (%s)\n", 1000.0 * slowest, slowestName.c_str());
    std::printf("detection_pip_row_s %.3f (%s, 2 pip calls)\n", median(pip), pipRow.statusText.c_str());
    app.ExitInstance();
    return 0;
}
