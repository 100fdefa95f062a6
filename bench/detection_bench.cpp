// Cost of installation state detection on a machine with about 50 installed
// Windows Installer products (bench/detection.sh prepares the prefix):
//   detection_bench PACKAGES_FOLDER PIP_EXE WORK_FOLDER
// installs the packages of the folder that are missing, lays out a runtime
// folder and a Python 2.7 whose pip is the stand-in, then times a full refresh
// of every catalogue row that needs no pip call and the refresh of one pip
// row. Prints "name value" lines.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "main/InstallerApp.h"
#include "BenchMachine.h"
#include "install/CheckInstallations.h"
#include "install/ComponentActions.h"
#include "install/DetectionCatalogue.h"
#include "install/InstallManager.h"
#include "download/InstallationElement.h"

namespace {

struct Row {
    explicit Row(const std::string& name)
        : element(name.c_str(), "", "", "", "", false, 0, false, &nameText, &statusText, &progressText, "") {}
    std::string nameText, statusText, progressText;
    hnInstallationElement element;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: detection_bench PACKAGES_FOLDER PIP_EXE WORK_FOLDER\n");
        return 2;
    }
    COrvantoKadrixSDKInstallerApp app;
    int products = bench::prepareMachine(argv[1], argv[2], argv[3]);

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

    // The first refresh of the process is the one a user meets: nothing is
    // kept yet (product list, folder answers). The warm median follows it.
    double cold = 0;
    std::vector<double> refresh;
    for (int round = 0; round < 6; ++round) {
        double start = bench::now();
        manager.refreshStatuses(0, last);
        manager.refreshVersionDetails(last);
        double spent = bench::now() - start;
        if (round == 0)
            cold = spent;
        else
            refresh.push_back(spent);
    }

    // The same rows each detected on its own, without the answers a refresh
    // shares between rows: what sharing saves, measured in the same run.
    std::vector<double> unshared;
    for (int round = 0; round < 3; ++round) {
        double start = bench::now();
        for (hnInstallationElement* element : elements) {
            std::string status;
            if (detectInstalled(*element))
                detectStatusWord(*element, status);
        }
        manager.refreshVersionDetails(last);
        unshared.push_back(bench::now() - start);
    }
    std::vector<double> py27Count;
    for (int round = 0; round < 3; ++round) {
        double start = bench::now();
        hnCheckInstallations::countInstalledPython27Products();
        py27Count.push_back(bench::now() - start);
    }

    // The slowest row without pip, for the record.
    double slowest = 0;
    std::string slowestName;
    for (int i = 0; i <= last; ++i) {
        double start = bench::now();
        manager.refreshStatuses(i, i);
        double spent = bench::now() - start;
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
        double start = bench::now();
        pipManager.refreshStatuses(0, 0);
        pip.push_back(bench::now() - start);
    }

    std::printf("detection_installed_products %d\n", products);
    std::printf("detection_rows_without_pip %u\n", manager.count());
    std::printf("detection_refresh_s %.3f\n", bench::median(refresh));
    std::printf("detection_refresh_cold_s %.3f\n", cold);
    std::printf("detection_refresh_unshared_s %.3f\n", bench::median(unshared));
    std::printf("detection_py27_count_ms %.2f\n", 1000.0 * bench::median(py27Count));
    std::printf("detection_refresh_row_ms %.2f\n", 1000.0 * bench::median(refresh) / manager.count());
    std::printf("detection_slowest_row_ms %.2f (%s)\n", 1000.0 * slowest, slowestName.c_str());
    std::printf("detection_pip_row_s %.3f (%s, 2 pip calls)\n", bench::median(pip),
                pipRow.statusText.c_str());
    app.ExitInstance();
    return 0;
}
