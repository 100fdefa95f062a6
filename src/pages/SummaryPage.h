#pragma once
#include <functional>
#include <string>

#include "process/Elevation.h"
#include "wizard/PropertyPageBase.h"

// Summary: starts the installed programs and opens their documents, found
// below the installation folders of the vision software and the runtime.
class kdDInstallSummaryOrvanto : public kdDPropertyPageBase {
public:
    explicit kdDInstallSummaryOrvanto(const std::string& title);

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override { return 1; }
    int initInstallationElements() override { return 1; }

    // Read "InstallPath" of the product's key (ending with a separator); a
    // key that does not open empties the folder and gives false.
    bool readVisionSoftwareFolder();
    bool readRuntimeFolder();

    std::string visionSoftwareFolder;
    std::string runtimeFolder;
    std::string statusText; // the hint line

    // How programs are started and documents opened (the shell's result);
    // tests record them.
    hnLaunchSystem launchSystem = hnLaunchSystem::real();
    std::function<INT_PTR(const std::string& file, const std::string& folder)> openDocument;

    // The link's action, as a click runs it.
    void onLink(int id);

protected:
    bool onInitDialog() override;
    bool onSetActive() override;
    bool onNotify(int id, NMHDR* header, LRESULT& result) override;

private:
    void launch(const std::string& folder, const char* program, const char* workingFolder,
                const char* parameters);
    void open(const char* document);
    void showLinkError(int shellResult);
    bool python36Selected() const;
};
