#pragma once
#include <functional>
#include <memory>
#include <string>

#include "controls/ImageButton.h"
#include "wizard/PropertyPageBase.h"

// The interpreter work the page starts: the runtime integration of each
// Python family, interpreter removal and repair. The shipped routines unless
// a test replaces them.
struct kdDPrerequisitePythonHooks {
    std::function<bool()> applyPython27Integration;
    std::function<bool()> applyPython36Integration;
    std::function<bool()> removePython27Integration;
    std::function<bool()> removePython36Integration;
    std::function<bool()> uninstallAllPython27Products;
    std::function<bool()> repairAllPython36Products;
    // Windows Installer reinstall of one product, every file replaced; the
    // installer's result code.
    std::function<unsigned(const char* productCode)> reinstallProduct;
};
kdDPrerequisitePythonHooks defaultPrerequisitePythonHooks();

// Redistributable prerequisites and the choice of the Python interpreter.
// Elements 0-5 are the redistributables (5: the VC++ 2017 or 2015-2019 one),
// 6-8 the interpreters "Python 2.7.9", "Python 2.7.13" and "Python 3.6.6".
class kdDInstallPreRequisites : public kdDPropertyPageBase {
public:
    explicit kdDInstallPreRequisites(
        const std::string& title, const kdDPrerequisitePythonHooks& hooks = defaultPrerequisitePythonHooks());
    ~kdDInstallPreRequisites() override;

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override;
    int setupControls() override;
    int initInstallationElements() override;

    int refreshPythonStatus();
    int processNewPythonInstallation();
    int installNewPython();
    int updatePrerequisitesNavigation();
    bool arePrerequisitesInstalled();

    // The redistributables come only all together ("Install All"); an
    // interpreter comes through the combo ("Python Interpreter").
    int installControlOf(int element) const override;
    bool choose(const std::string& key, const std::string& member) override;
    static const char* const kInterpreterChoice;

    // Row handlers.
    void onUninstallRow(int element);
    void onDownloadInstallables();
    void onInstallAllPrerequisites();
    void onPythonSelectionChange();
    void onRepairPython();

    // The VC++ 2017 redistributable 14.15.26706 is registered on the machine.
    static bool isVc2017Installed();
    // The element holding an interpreter's text, or -1.
    static int pythonElementIndex(const std::string& selection);
    // The selected combo box text; false when nothing is selected.
    bool comboSelection(std::string& text) const;

    static constexpr int kElementCount = 9;
    static constexpr int kFirstPythonElement = 6;

    std::string rowNames[6], rowStatus[6], rowProgress[6];          // elements 0-5, by element index
    std::string pythonNames[3], pythonStatus[3], pythonProgress[3]; // elements 6-8
    std::string altNameText, altStatusText, altProgressText;        // the alternative VC++ element
    std::string currentPython;
    std::string pythonStatusLine;
    std::string installedStatusLine;
    std::string statusText; // the hint line
    std::unique_ptr<hnInstallManagerBase> alternativeManager;
    kdDPrerequisitePythonHooks pythonHooks;

    hnImageButton uninstallButtons[4]; // elements 0, 1, 2 and 5
    hnImageButton repairButton;
    hnImageButton downloadButton;
    hnImageButton installAllButton;

protected:
    bool onInitDialog() override;
    bool onSetActive() override;
    LRESULT onWizardNext() override;
    bool onCommand(WORD id, WORD code, HWND control) override;

private:
    void selectComboText(const std::string& text);
    void tellSheetPythonVersion(int version);
    int uninstallPythonRow(int element);
};
