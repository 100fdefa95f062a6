#include "install/DetectionSupport.h"

#include <algorithm>
#include <msi.h>
#include <sstream>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "install/ComponentActions.h"
#include "install/InstallManager.h"
#include "download/StatusWords.h"

namespace {

// Keys that RegistryState objects created and have not removed yet, one
// "<root>|<key>" line each, in the prefix's temp folder: what a killed run
// leaves there is removed by the next one.
std::string journalPath() {
    std::string temp;
    hnTempFolder(temp);
    return temp + "orvanto-test-registry-journal.txt";
}

const char* rootName(HKEY root) {
    return root == HKEY_CURRENT_USER ? "HKCU" : "HKLM";
}

std::vector<std::string> journalLines() {
    std::vector<std::string> lines;
    std::istringstream in(readTextFile(journalPath()));
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

void writeJournal(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    writeTextFile(journalPath(), text);
}

std::string journalLine(HKEY root, const std::string& key) {
    return std::string(rootName(root)) + "|" + key;
}

void deleteKeyTree(HKEY root, const std::string& path) {
    hnScopedKey key;
    if (hnRegOpenKey(root, path.c_str(), KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS)
        ::RegDeleteTreeA(key.get(), nullptr);
    key.reset();
    ::RegDeleteKeyExA(root, path.c_str(), hnRegistryView(), 0);
}

} // namespace

void removeLeftoversOfEarlierRuns() {
    for (const std::string& line : journalLines()) {
        std::string::size_type bar = line.find('|');
        if (bar != std::string::npos)
            deleteKeyTree(line.compare(0, bar, "HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                          line.substr(bar + 1));
    }
    ::DeleteFileA(journalPath().c_str());
    // Interpreter registrations: in the test prefix they only come from
    // fixtures, also from runs older than the journal.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        for (const char* version : {"2.7", "3.6-32"})
            deleteKeyTree(root, std::string("Software\\Python\\PythonCore\\") + version);
    // Every product in the test prefix comes from a fixture package.
    std::vector<std::string> products;
    char code[39];
    for (DWORD i = 0; ::MsiEnumProductsA(i, code) == ERROR_SUCCESS; ++i) {
        char publisher[128] = {};
        DWORD size = sizeof(publisher);
        if (::MsiGetProductInfoA(code, INSTALLPROPERTY_PUBLISHER, publisher, &size) == ERROR_SUCCESS &&
            (std::string(publisher) == "Orvanto test fixtures" || std::string(publisher) == "HALVENOR AS"))
            products.push_back(code);
    }
    for (const std::string& product : products)
        runMsiexec("/x " + product + " /qn");
}

std::string testPackagePath(const std::string& file) {
    std::string folder = testProgramFolder();
    return folder.substr(0, folder.find_last_of("\\/")) + "\\test-packages\\" + file + ".msi";
}

InstalledPackage::InstalledPackage(const std::string& file, const std::string& productCode)
    : productCode_(productCode) {
    installed_ = runMsiexec("/i \"" + testPackagePath(file) + "\" /qn") == 0;
}

InstalledPackage::~InstalledPackage() {
    if (installed_)
        runMsiexec("/x " + productCode_ + " /qn");
}

RegistryState::~RegistryState() {
    undo();
}

bool RegistryState::remember(HKEY root, const std::string& key, const std::string& name) {
    for (const CreatedKey& created : created_)
        if (created.root == root && created.key == key)
            return true;
    for (const OldValue& old : replaced_)
        if (old.root == root && old.key == key && old.name == name)
            return true;
    hnScopedKey existing;
    if (hnRegOpenKey(root, key.c_str(), KEY_READ, existing.put()) != ERROR_SUCCESS) {
        // Note the highest missing level, so that undo removes all it added.
        std::string missing = key;
        for (;;) {
            std::string::size_type cut = missing.find_last_of('\\');
            if (cut == std::string::npos)
                break;
            hnScopedKey parent;
            if (hnRegOpenKey(root, missing.substr(0, cut).c_str(), KEY_READ, parent.put()) == ERROR_SUCCESS)
                break;
            missing = missing.substr(0, cut);
        }
        created_.push_back({root, missing});
        std::vector<std::string> lines = journalLines();
        lines.push_back(journalLine(root, missing));
        writeJournal(lines);
        return true;
    }
    OldValue old{root, key, name, false, 0, {}};
    DWORD size = 0;
    if (::RegQueryValueExA(existing.get(), name.c_str(), nullptr, &old.type, nullptr, &size) ==
        ERROR_SUCCESS) {
        old.existed = true;
        old.data.resize(size);
        ::RegQueryValueExA(existing.get(), name.c_str(), nullptr, &old.type, old.data.data(), &size);
    }
    replaced_.push_back(old);
    return true;
}

bool RegistryState::createKey(HKEY root, const std::string& key) {
    remember(root, key, "");
    hnScopedKey created;
    return hnRegCreateKey(root, key.c_str(), KEY_WRITE, created.put()) == ERROR_SUCCESS;
}

bool RegistryState::setString(HKEY root, const std::string& key, const std::string& name,
                              const std::string& value) {
    remember(root, key, name);
    hnScopedKey created;
    return hnRegCreateKey(root, key.c_str(), KEY_WRITE, created.put()) == ERROR_SUCCESS &&
           ::RegSetValueExA(created.get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegistryState::setDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    remember(root, key, name);
    hnScopedKey created;
    return hnRegCreateKey(root, key.c_str(), KEY_WRITE, created.put()) == ERROR_SUCCESS &&
           ::RegSetValueExA(created.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
}

bool RegistryState::setUninstallValue(HKEY root, const std::string& subKey, const std::string& name,
                                      const std::string& value) {
    return setString(root, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + subKey, name, value);
}

void RegistryState::undo() {
    for (auto it = replaced_.rbegin(); it != replaced_.rend(); ++it) {
        hnScopedKey key;
        if (hnRegOpenKey(it->root, it->key.c_str(), KEY_WRITE, key.put()) != ERROR_SUCCESS)
            continue;
        const char* name = it->name.empty() ? nullptr : it->name.c_str();
        if (it->existed)
            ::RegSetValueExA(key.get(), name, 0, it->type, it->data.data(),
                             static_cast<DWORD>(it->data.size()));
        else
            ::RegDeleteValueA(key.get(), name);
    }
    std::vector<std::string> lines = journalLines();
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        deleteKeyTree(it->root, it->key);
        auto noted = std::find(lines.begin(), lines.end(), journalLine(it->root, it->key));
        if (noted != lines.end())
            lines.erase(noted);
    }
    if (!created_.empty())
        writeJournal(lines);
    replaced_.clear();
    created_.clear();
}

FakeRuntime::FakeRuntime() {
    folder_ = scratch_.path() + "\\Runtime\\";
    makeFolders(folder_ + "Python");
    registry_.setString(HKEY_LOCAL_MACHINE, "SOFTWARE\\HALVENOR AS\\Orvanto Version XV 15.0.0.774 Runtime",
                        "InstallPath", folder_);
}

FakeInterpreter::FakeInterpreter(const char* version) {
    folder_ = scratch_.path() + "\\Python" + version + "\\";
    makeFolders(folder_ + "Scripts");
    ::CopyFileA((toolsFolder() + "\\pip.exe").c_str(), (folder_ + "Scripts\\pip.exe").c_str(), FALSE);
    ::CopyFileA((toolsFolder() + "\\pip.exe").c_str(), (folder_ + "python.exe").c_str(), FALSE);
    setPackages({});
    registry_.setString(HKEY_LOCAL_MACHINE,
                        std::string("Software\\Python\\PythonCore\\") + version + "\\InstallPath", "",
                        folder_);
}

void FakeInterpreter::setPackages(const std::vector<std::pair<std::string, std::string>>& packages) {
    std::string text;
    for (const auto& package : packages) {
        if (!text.empty())
            text += "---\n";
        text += "Name: " + package.first + "\nVersion: " + package.second +
                "\nSummary: test package\nLocation: " + folder_ +
                "Lib\\site-packages\nRequires: \nRequired-by: \n";
    }
    writeTextFile(folder_ + "Scripts\\packages.txt", text);
}

int FakeInterpreter::callCount() const {
    std::string calls = readTextFile(folder_ + "Scripts\\calls.txt");
    int count = 0;
    for (char c : calls)
        count += c == '\n';
    return count;
}

bool writeFileAt(const std::string& path, const std::string& content, int second) {
    makeFolders(path.substr(0, path.find_last_of('\\')));
    if (!writeTextFile(path, content))
        return false;
    hnScopedHandle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    SYSTEMTIME base = {2020, 8, 0, 31, 12, 0, 0, 0};
    FILETIME time;
    ::SystemTimeToFileTime(&base, &time);
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    value.QuadPart += static_cast<ULONGLONG>(second) * 10000000ULL;
    time.dwLowDateTime = value.LowPart;
    time.dwHighDateTime = value.HighPart;
    return file && ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

Row::Row(const std::string& name)
    : element(new hnInstallationElement(name.c_str(), "", "", "", "", false, 0, false, &nameText, &statusText,
                                        &progressText, "")) {}

ManagedRow::ManagedRow(const std::string& name) : row(name) {
    manager.setActions(&actions);
    hnInstallationElement* elements[] = {row.element.get()};
    manager.setElements(1, elements);
}

Detection ManagedRow::refresh() {
    manager.refreshStatuses(0, 0);
    return {row.statusText, manager.item(0)->statusReason()};
}

namespace {
Detection refreshed(const std::string& name, std::string* detail) {
    ManagedRow managed(name);
    Detection detection = managed.refresh();
    if (detail) {
        managed.actions.updateStatusDetail(*managed.manager.item(0));
        *detail = managed.manager.item(0)->statusDetail;
    }
    return detection;
}
} // namespace

std::string detectedStatus(const std::string& name, std::string* detail) {
    return refreshed(name, detail).word;
}

Detection detected(const std::string& name) {
    return refreshed(name, nullptr);
}
