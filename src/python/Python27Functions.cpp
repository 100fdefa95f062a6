#include "python/Python27Functions.h"

#include <windows.h>

#include "app/SystemView.h"
#include "app/Text.h"
#include "install/CheckInstallations.h"
#include "python/InterpreterFolder.h"

const char* const kPython2713ProductCode = "{4A656C6C-D24A-473F-9747-3A8D00907A03}";
const char* const kPython279ProductCode = "{79F081BF-7454-43DB-BD8F-9EE596813232}";

bool hnPyhton27InstallFunctions::getPython27InstallFolder(std::string& folder) {
    return readInterpreterFolder("Software\\Python\\PythonCore\\2.7\\InstallPath", folder);
}

bool hnPyhton27InstallFunctions::isPython27VersionInstalled(const char* version) {
    if (!version)
        return false;
    if (hnEqualsNoCase(version, "Python 2.7.9"))
        return hnCheckInstallations::countInstalledPython27Products(1) > 0 &&
               !hnCheckInstallations::isMsiProductInstalled(kPython2713ProductCode);
    if (hnEqualsNoCase(version, "Python 2.7.13"))
        return hnCheckInstallations::isMsiProductInstalled(kPython2713ProductCode);
    return false;
}
