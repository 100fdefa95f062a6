#include "python/PythonIntegrationHook.h"

#include "python/Python27Functions.h"
#include "python/Python36Functions.h"

bool runtimePythonIntegrationCheck(hnIntegrationCheck check, hnPythonFamily family) {
    using F27 = hnPyhton27InstallFunctions;
    using F36 = hnPyhton36InstallFunctions;
    bool py36 = family == hnPythonFamily::Python36;
    switch (check) {
    case hnIntegrationCheck::HelpFile:
        return py36 ? F36::isPython36CHMInOrvantoRuntimePathOK() : F27::isPython27CHMInOrvantoRuntimePathOK();
    case hnIntegrationCheck::Dll:
        return py36 ? F36::isPython36DLLInOrvantoRuntimePathOK() : F27::isPython27DLLInOrvantoRuntimePathOK();
    case hnIntegrationCheck::Folder:
        return py36 ? F36::isPython36FolderInOrvantoRuntimePathOK()
                    : F27::isPython27FolderInOrvantoRuntimePathOK();
    case hnIntegrationCheck::MatRelCTFiles:
        return py36 ? F36::areMatRelCTPy36FilesInOrvantoRuntimePathOK()
                    : F27::areMatRelCTPy27FilesInOrvantoRuntimePathOK();
    case hnIntegrationCheck::PluginFolder:
        return py36 ? F36::isPy36MyDocumentsPluginFolderOK() : F27::isPy27MyDocumentsPluginFolderOK();
    }
    return false;
}
