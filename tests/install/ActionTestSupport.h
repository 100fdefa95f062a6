#pragma once
// Shared pieces of the installation and removal tests: the runtime product
// installed for real from a Windows Installer package, rows with their page
// strings, presence probes per element, registry and fixture helpers.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "install/ActionServices.h"
#include "install/ElementActions.h"
#include "install/DetectionSupport.h"
#include "download/InstallationElement.h"

// Presence by element name, from probes of the machine that each test sets.
class ProbeDetection : public hnElementActions {
public:
    std::map<std::string, std::function<bool()>> probes;
    int isInstalledCalls = 0;

    bool isInstalled(hnInstallationElement& element) override;
    bool getStatusWord(hnInstallationElement& element, std::string& status) override;
    int installElement(hnInstallationElement&, int, int, bool, bool) override { return -1; }
    int downloadElement(hnInstallationElement&, bool& aborted, int, int) override {
        aborted = false;
        return -1;
    }
    int deleteOldDownload(int, hnInstallationElement&, int) override { return -1; }
    int uninstallElement(hnInstallationElement&, int, int, bool) override { return -1; }
    int repairElement(bool, hnInstallationElement&) override { return 1; }
    int updateStatusDetail(hnInstallationElement&) override { return 1; }
    hnDownloadErrorChoice askDownloadError(const std::string&) override {
        return hnDownloadErrorChoice::Abort;
    }
};

// One page row: its strings and its element.
struct ActionRow {
    ActionRow(const std::string& name, const std::string& fileName, const std::string& downloadFolder,
              const std::string& switches = "", bool isMsi = false);
    std::string nameText, statusText, progressText;
    std::unique_ptr<hnInstallationElement> element;
};

// Makes the fixture the row's installable: served by the local HTTP server
// when the program runs beside it (the row downloads it), else copied into
// the row's download folder.
void provideInstallable(ActionRow& row, const std::string& fixture);

// "C:\\orvanto-fixtures\\actions" and a file in it.
std::string fixturePath(const std::string& name);
bool copyFixture(const std::string& name, const std::string& folder, const std::string& as = "");

// The runtime: its product is installed for the whole program (detection
// tests' base packages); its "InstallPath" points at a scratch folder with a
// "Python" sub-folder while this lives.
class TestRuntime {
public:
    const std::string& folder() const { return runtime_.folder(); }

private:
    FakeRuntime runtime_;
};

// Uninstall keys in the program's registry view.
bool setUninstallValue(const std::string& key, const std::string& name, const std::string& value);
bool uninstallKeyExists(const std::string& key);
void deleteUninstallKey(const std::string& key);

// Copies the stand-in tool into `folder` as `name`, with its script.
std::string placeStandIn(const std::string& folder, const std::string& name, const std::string& script);

// The machine "Path" value, restored when this goes out of scope.
class SystemPathGuard {
public:
    SystemPathGuard();
    ~SystemPathGuard();
    static std::string read();
    static void write(const std::string& value);

private:
    std::string saved_;
};

hnActionTimings shortTimings();

// Clicks "Abort" of the uninstall dialog once `ready` holds, from a helper thread.
void clickAbortWhen(std::function<bool()> ready);
