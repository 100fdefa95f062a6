#pragma once
// Fixtures of the detection tests: Windows Installer packages installed with
// the real msiexec, registry states in the program's view, a fake runtime
// folder and interpreters whose pip is the stand-in tool.
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

#include "download/InstallationElement.h"
#include "install/ComponentActions.h"
#include "install/InstallManager.h"
#include "support/TestSupport.h"

// Removes what a killed earlier run left in the prefix: the keys its
// RegistryState objects created and every fixture product still installed.
void removeLeftoversOfEarlierRuns();

// The packages built by scripts/make-test-packages, by file name ("runtime").
std::string testPackagePath(const std::string& file);

// A package installed for the lifetime of the object.
class InstalledPackage {
public:
    InstalledPackage(const std::string& file, const std::string& productCode);
    ~InstalledPackage();
    bool installed() const { return installed_; }

private:
    std::string productCode_;
    bool installed_ = false;
};

// Registry changes undone when the object goes: keys it created are deleted
// with their sub-keys, values it replaced get their old content back.
class RegistryState {
public:
    ~RegistryState();
    bool setString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
    bool setDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
    bool createKey(HKEY root, const std::string& key);
    // An Uninstall key below "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\".
    bool setUninstallValue(HKEY root, const std::string& subKey, const std::string& name,
                           const std::string& value);
    void undo();

private:
    bool remember(HKEY root, const std::string& key, const std::string& name);
    struct CreatedKey {
        HKEY root;
        std::string key;
    };
    struct OldValue {
        HKEY root;
        std::string key, name;
        bool existed;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<CreatedKey> created_;
    std::vector<OldValue> replaced_;
};

// A runtime folder (ending with a separator) that the runtime's "InstallPath"
// points to while the object lives.
class FakeRuntime {
public:
    FakeRuntime();
    const std::string& folder() const { return folder_; }
    std::string path(const std::string& relative) const { return folder_ + relative; }

private:
    ScratchFolder scratch_;
    RegistryState registry_;
    std::string folder_;
};

// An interpreter folder whose "Scripts\\pip.exe" is the stand-in, registered
// as the Python 2.7 ("2.7") or Python 3.6 ("3.6-32") installation.
class FakeInterpreter {
public:
    explicit FakeInterpreter(const char* version);
    const std::string& folder() const { return folder_; }
    // Replaces the installed packages: name and version pairs.
    void setPackages(const std::vector<std::pair<std::string, std::string>>& packages);
    int callCount() const; // pip calls so far

private:
    ScratchFolder scratch_;
    RegistryState registry_;
    std::string folder_;
};

// Writes a file with the given content and last-write time (seconds since an
// arbitrary base), creating its folders.
bool writeFileAt(const std::string& path, const std::string& content, int second = 0);

// An element with its own row strings, as a page would own them.
struct Row {
    explicit Row(const std::string& name);
    std::string nameText, statusText, progressText;
    std::unique_ptr<hnInstallationElement> element;
};

// What the install manager would show for the name: "Not Installed" or the
// status word; `detail` receives the version list when one is made.
std::string detectedStatus(const std::string& name, std::string* detail = nullptr);

// The word a refresh leaves and the reason beside it.
struct Detection {
    std::string word, reason;
};
Detection detected(const std::string& name);

// One row in an install manager of its own, refreshed as a page refreshes it.
struct ManagedRow {
    explicit ManagedRow(const std::string& name);
    Detection refresh();
    Row row;
    hnInstallManagerBase manager;
    hnComponentActions actions;
};
