#include "install/ActionTestSupport.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "main/InstallerApp.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "install/InstallHelpers.h"
#include "process/ProcessLaunch.h"
#include "support/TestSupport.h"

namespace {
const char* const kUninstallRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
} // namespace

bool ProbeDetection::isInstalled(hnInstallationElement& element) {
    ++isInstalledCalls;
    auto it = probes.find(element.name);
    return it != probes.end() && it->second();
}

bool ProbeDetection::getStatusWord(hnInstallationElement& element, std::string& status) {
    status = isInstalled(element) ? "Installed" : "Not Installed";
    return status == "Installed";
}

ActionRow::ActionRow(const std::string& name, const std::string& fileName, const std::string& downloadFolder,
                     const std::string& switches, bool isMsi)
    : element(new hnInstallationElement(name.c_str(), "", fileName.c_str(), switches.c_str(),
                                        downloadFolder.c_str(), isMsi, 0, false, &nameText, &statusText,
                                        &progressText, "Test")) {
    statusText = "Not Installed";
}

std::string fixturePath(const std::string& name) {
    return "C:\\orvanto-fixtures\\actions\\" + name;
}

void provideInstallable(ActionRow& row, const std::string& fixture) {
    char base[256] = {};
    DWORD length = ::GetEnvironmentVariableA("ORVANTO_TEST_HTTP_URL", base, sizeof(base));
    if (length > 0 && length < sizeof(base))
        row.element->url = std::string(base) + "/files/" + fixture;
    else
        copyFixture(fixture, row.element->downloadFolder, row.element->fileName);
}

bool copyFixture(const std::string& name, const std::string& folder, const std::string& as) {
    makeFolders(folder);
    return ::CopyFileA(fixturePath(name).c_str(), (folder + "\\" + (as.empty() ? name : as)).c_str(),
                       FALSE) != 0;
}

bool setUninstallValue(const std::string& key, const std::string& name, const std::string& value) {
    hnScopedKey handle;
    if (hnRegCreateKey(HKEY_LOCAL_MACHINE, (kUninstallRoot + key).c_str(), KEY_SET_VALUE, handle.put()) !=
        ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(handle.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool uninstallKeyExists(const std::string& key) {
    hnScopedKey handle;
    return hnRegOpenKey(HKEY_LOCAL_MACHINE, (kUninstallRoot + key).c_str(), KEY_READ, handle.put()) ==
           ERROR_SUCCESS;
}

void deleteUninstallKey(const std::string& key) {
    ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, (kUninstallRoot + key).c_str(), KEY_WOW64_32KEY, 0);
}

std::string placeStandIn(const std::string& folder, const std::string& name, const std::string& script) {
    makeFolders(folder);
    std::string path = folder + "\\" + name;
    ::CopyFileA((toolsFolder() + "\\standin.exe").c_str(), path.c_str(), FALSE);
    writeTextFile(path + ".txt", script);
    return path;
}

SystemPathGuard::SystemPathGuard() : saved_(read()) {}
SystemPathGuard::~SystemPathGuard() {
    write(saved_);
}

std::string SystemPathGuard::read() {
    std::string value;
    readRegistryText(HKEY_LOCAL_MACHINE, kEnvironmentKey, "Path", 1 << 16, value);
    return value;
}

void SystemPathGuard::write(const std::string& value) {
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, kEnvironmentKey, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegSetValueExA(key.get(), "Path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
}

hnActionTimings shortTimings() {
    hnActionTimings t;
    t.processStart = {25, 200};
    t.processEnd = {100, 100};
    t.opcScoutStart = {25, 200};
    t.opcScoutEnd = {100, 100};
    t.opcScoutCloseDelayMs = 100;
    t.opcServerWindow.find = {10, 1000};
    t.opcServerWindow.settleMs = 200;
    t.opcServerWindow.gone = {10, 500};
    t.opcServerUninstallPauseMs = 500;
    t.speccyPauseMs = 100;
    return t;
}

void clickAbortWhen(std::function<bool()> ready) {
    std::thread([ready] {
        const std::string caption = std::string(kInstallerCaption) + " - Uninstall Components";
        // Up to a minute: a loaded machine may take that long to show the
        // dialog and start the program the removal waits for.
        for (int i = 0; i < 3000; ++i) {
            HWND dialog = ::FindWindowA(nullptr, caption.c_str());
            if (dialog && ready()) {
                ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                return;
            }
            ::Sleep(20);
        }
    }).detach();
}
