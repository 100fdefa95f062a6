#include "support/DemoRepository.h"

#include <atomic>
#include <iterator>
#include <vector>
#include <windows.h>
#include <msi.h>

#include "app/FileHelpers.h"
#include "app/InstallerServices.h"
#include "app/SystemView.h"
#include "install/CheckInstallations.h"
#include "download/DownloadEngine.h"
#include "download/InstallationElement.h"
#include "process/ProcessLaunch.h"
#include "support/TestSupport.h"

namespace {

const char* const kDemoPublisher = "Orvanto demo repository";

// Products with the catalogue's own codes that another test's package may
// carry too: they go whatever their publisher.
const char* const kFixedCodes[] = {
    "{7299052b-02a4-4627-81f2-1818da5d550d}", "{9A25302D-30C0-39D9-BD6F-21E6EC160475}",
    "{F0C3E5D1-1ADE-321E-8167-68EF0DE699A5}", "{79F081BF-7454-43DB-BD8F-9EE596813232}",
    "{4A656C6C-D24A-473F-9747-3A8D00907A03}", "{76C2FFEE-53C1-4382-B051-5CF47ED51327}",
    "{356E8CAF-215F-46B8-B8E4-625FD2FD8666}"};

} // namespace

bool runQuotedUninstall(const std::string& command) {
    std::size_t close = command.find('"', 1);
    if (command.empty() || command[0] != '"' || close == std::string::npos)
        return false;
    std::string program = command.substr(1, close - 1);
    std::string arguments = close + 2 <= command.size() ? command.substr(close + 2) : "";
    return runProgram(hnRunMode::Wait, program, {arguments.empty() ? " " : arguments}) == 0;
}

void removeDemoInstallations() {
    std::string command;
    if (hnCheckInstallations::readUninstallValue("{b43c5985-05a6-4dc7-be5f-85f504d498d0}", "UninstallString",
                                                 command))
        runQuotedUninstall(command);
    // Collected first: removing while enumerating would shift the indices.
    ::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    std::vector<std::string> codes(std::begin(kFixedCodes), std::end(kFixedCodes));
    char code[39];
    for (DWORD i = 0; ::MsiEnumProductsA(i, code) == ERROR_SUCCESS; ++i) {
        char publisher[256] = {};
        DWORD length = sizeof(publisher);
        if (::MsiGetProductInfoA(code, INSTALLPROPERTY_PUBLISHER, publisher, &length) == ERROR_SUCCESS &&
            std::string(publisher) == kDemoPublisher)
            codes.push_back(code);
    }
    for (const std::string& product : codes)
        if (hnCheckInstallations::isMsiProductInstalled(product.c_str()))
            ::MsiConfigureProductA(product.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
    for (const char* folder :
         {cache::kPrerequisites, cache::kPy27Python2D, cache::kPy27Python3D, cache::kPy36Python2D,
          cache::kRuntime, cache::kVisionSoftware, cache::kKadrixSdkInstaller, cache::kThirdParty,
          cache::kUtilities, cache::kIoSystem}) {
        std::string path = cacheFolder(folder);
        if (fileExists(path))
            deleteFolderTree(path.c_str(), path.c_str());
    }
}

DemoMachineGuard::DemoMachineGuard(void (*extraSweep)()) : extraSweep_(extraSweep) {
    removeDemoInstallations();
    if (extraSweep_)
        extraSweep_();
    std::string programFiles, documents;
    if (hnProgramFilesFolder(programFiles)) {
        made_.push_back({programFiles + "\\Halvenor AS", "Halvenor AS"});
        made_.push_back({programFiles + "\\Python36-32", "Python36-32"});
    }
    if (hnDocumentsFolder(documents))
        made_.push_back({documents + "\\Orvanto 15.0", "Orvanto 15.0"});
    for (auto& folder : made_)
        if (fileExists(folder.first))
            folder.first.clear(); // there before: not ours
}

DemoMachineGuard::~DemoMachineGuard() {
    removeDemoInstallations();
    if (extraSweep_)
        extraSweep_();
    for (const auto& folder : made_)
        if (!folder.first.empty())
            deleteFolderTree(folder.first.c_str(), folder.second);
}

bool demoServerFault(const std::string& control) {
    ScratchFolder scratch;
    const std::atomic<bool> abort{false};
    return downloadFileToFolder(scratch.path(), "fault.txt", abort,
                                installerServices()->repositoryBaseUrl() + "/demo-control/" + control) > 0;
}

std::string demoServerPath(const std::string& url) {
    const std::string base = installerServices()->repositoryBaseUrl();
    return url.compare(0, base.size(), base) == 0 ? url.substr(base.size()) : url;
}
