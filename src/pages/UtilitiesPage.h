#pragma once
#include <string>
#include <vector>

#include "pages/OptionalPageBase.h"

// Optional utility programs, first page: the maker's watchdog, OPC client
// and OPC server, the cycle controller, a CPU test, the mode of the OPC
// client's control and the choice between two OPC test programs.
class kdDInstallUtilities : public kdDOptionalPageBase {
public:
    explicit kdDInstallUtilities(const std::string& title);

    static std::vector<hnOptionalComponent> elements();

    int setupControls() override;

    // The OPC client's control mode (combo 1255).
    int refreshOrvantoPlantOPCClientComboCtrl();
    int checkCurrentModeAndSetComboCtrlSel();
    // The mode whose control is registered now (the first mode when none
    // can be told); needs no window.
    static const char* registeredMode();
    // The selectors and the control mode ("OPC Client Control Mode").
    std::vector<hnPageChoice> choices() override;
    bool choose(const std::string& key, const std::string& member) override;
    int regNewOCX();
    // The OPC test program choice (combo 1256).
    int updateOPCInstallerComboSelection();
    int processNewOPCInstallerSelection();
    int uninstallPresentOPCInstallers();

    static constexpr int kOpcScoutElement = 3;
    static constexpr int kPlantOpcClientElement = 4;
    static constexpr int kMatrikonElement = 5;

    std::string opcClientFolder;
    std::string opcProgramStatus; // label 1074

protected:
    bool onInitDialog() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    void afterActivation() override;
    void afterRowCommand(int element) override;

private:
    bool isPresent(int element) const;
    // Removes a present program; false when it is still there afterwards.
    bool removeProgram(int element);
    std::string comboText(int comboId) const;
    void selectComboText(int comboId, const char* text);
};
