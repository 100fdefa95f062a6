#pragma once
#include <string>

#include "pages/PipPackagesPageBase.h"
#include "python/ClrBridge.h"

// Recommended Python 2.7 package sets, and the .NET bridge of the runtime's
// Python 2.7: one of the two bridge builds it ships or the pythonnet package,
// whose wheel is the page's own element 1.
class kdDInstallPY27ExtensionsNew : public kdDPipPackagesPageBase, public hnPythonNetPage {
public:
    explicit kdDInstallPY27ExtensionsNew(const std::string& title);
    static kdDPipPackagesVariant pageVariant();

    void showClrStatus();
    int activateTargetPY27CLR();

    std::string pythonNetStatus() override;
    bool fetchPythonNetWheel() override;
    int installPythonNet() override;
    int uninstallPythonNet() override;

    std::string clrStatusText = "Status: Error";

protected:
    bool onInitDialog() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    void afterStatusRefresh() override { showClrStatus(); }
    void showChecking() override;
    bool incompleteWithoutRepairWord() const override { return clrStatusText == "Status: Error"; }
};
