#include "python/IntegrationSupport.h"

#include <objbase.h>
#include <shlobj.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "install/CheckInstallations.h"
#include "install/InstallHelpers.h"
#include "python/PythonSelection.h"

const char* const kPython279Code = "{79F081BF-7454-43DB-BD8F-9EE596813232}";
const char* const kPython2713Code = "{4A656C6C-D24A-473F-9747-3A8D00907A03}";
const char* const kPython2715Code = "{3A13A1D4-2D2B-4B0C-9E5A-6A3F7C0B2715}";
const char* const kVisionSoftwareCode = "{356E8CAF-215F-46B8-B8E4-625FD2FD8666}";
const char* const kPython366CoreCode = "{883CD0B4-297D-461F-AFF2-4EE64411AFB6}";
const char* const kPython366ExeCode = "{D5D6D41E-6D79-45C5-830B-03A455877A71}";

namespace {

const char* const kMarker = "orvanto-test-";
const char* const kPython36Uninstall = "{b43c5985-05a6-4dc7-be5f-85f504d498d0}";
const char* const kUninstallRoot = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const char* const kVariants[] = {"Matrel Beta", "Intel-Blend", "Intel-Blend-IPP", "VC8", "VC8-IPP"};

bool mentionsScratch(HKEY root, const std::string& key, const char* value) {
    std::string text;
    return hnRegReadString(root, key.c_str(), value, text) && text.find(kMarker) != std::string::npos;
}

void deleteKey(HKEY root, const std::string& key) {
    hnScopedKey opened;
    if (hnRegOpenKey(root, key.c_str(), KEY_ALL_ACCESS, opened.put()) == ERROR_SUCCESS)
        ::RegDeleteTreeA(opened.get(), nullptr);
    opened.reset();
    ::RegDeleteKeyExA(root, key.c_str(), hnRegistryView(), 0);
}

// Removes the "Orvanto Version XV" shortcuts from both all-users folders.
void removeShortcuts() {
    std::string desktop, programs;
    if (hnCommonDesktopFolder(desktop))
        deleteFileIfPresent(desktop + "\\Orvanto Version XV.lnk");
    if (hnCommonProgramsFolder(programs)) {
        std::string menu = programs + "\\Halvenor Vision Solutions\\Orvanto Version XV";
        deleteFileIfPresent(menu + "\\Orvanto Version XV.lnk");
        ::RemoveDirectoryA(menu.c_str());
        ::RemoveDirectoryA((programs + "\\Halvenor Vision Solutions").c_str());
    }
}

std::string documentsPath(const char* relative) {
    std::string documents;
    hnDocumentsFolder(documents);
    return documents + "\\Orvanto 15.0\\" + relative;
}

} // namespace

std::string fileBytes(const std::string& path) {
    return fileExists(path) ? readTextFile(path) : std::string();
}

std::string shortcutArguments(const std::string& linkPath) {
    std::string arguments = "<none>";
    HRESULT init = ::CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            char text[MAX_PATH] = {};
            if (::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) > 0 &&
                SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetArguments(text, MAX_PATH)))
                arguments = text;
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        ::CoUninitialize();
    return arguments;
}

void IntegrationMachine::clean() {
    for (const char* code : {kRuntimeProductCode, kPython279Code, kPython2713Code, kPython2715Code,
                             kVisionSoftwareCode, kPython366CoreCode, kPython366ExeCode})
        if (hnCheckInstallations::isMsiProductInstalled(code))
            runMsiexec(std::string("/x ") + code + " /qn");
    std::string runtimeKey = std::string("SOFTWARE\\HALVENOR AS\\") + kRuntimeProductName;
    if (mentionsScratch(HKEY_LOCAL_MACHINE, runtimeKey, "InstallPath"))
        deleteKey(HKEY_LOCAL_MACHINE, runtimeKey);
    for (const char* version : {"2.7", "3.6-32"}) {
        std::string key = std::string("Software\\Python\\PythonCore\\") + version;
        if (mentionsScratch(HKEY_LOCAL_MACHINE, key + "\\InstallPath", nullptr))
            deleteKey(HKEY_LOCAL_MACHINE, key);
    }
    std::string uninstall = std::string(kUninstallRoot) + kPython36Uninstall;
    if (mentionsScratch(HKEY_LOCAL_MACHINE, uninstall, "InstallLocation"))
        deleteKey(HKEY_LOCAL_MACHINE, uninstall);
    // Path entries pointing into scratch folders of an earlier run.
    std::string path, kept;
    if (readSystemPath(path) && path.find(kMarker) != std::string::npos) {
        std::string::size_type start = 0;
        while (start <= path.size()) {
            std::string::size_type end = path.find(';', start);
            std::string entry =
                path.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (entry.find(kMarker) == std::string::npos)
                kept += (kept.empty() ? "" : ";") + entry;
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        writeSystemPath(kept);
    }
    std::string system;
    if (hnSystemFolder(system) && fileBytes(system + "\\Python27.dll").find(kMarker) == 0)
        deleteFileForced(system + "\\Python27.dll");
    std::string plugins = documentsPath("Plugins");
    if (fileExists(plugins))
        deleteFolderTree(plugins.c_str(), "Plugins");
    deleteFileForced(documentsPath("Python\\PySel.ini"));
    removeShortcuts();
}

IntegrationMachine::IntegrationMachine() {
    clean();
    // The machine "Path" comes back exactly as it was (value and type).
    std::string path;
    if (readSystemPath(path))
        registry_.setString(HKEY_LOCAL_MACHINE, kEnvironmentKey, "Path", path);
    runtime_.reset(new FakeRuntime());
    python27_.reset(new FakeInterpreter("2.7"));
    python36_.reset(new FakeInterpreter("3.6-32"));
    const std::string& r = runtime();
    writeFileAt(r + "_RefPython_27\\OrvantoRuntime.py", "runtime module 27", 1);
    writeFileAt(r + "_RefPython_27\\x86\\camera.pyd", "camera module", 2);
    writeFileAt(r + "_RefPython_27\\Python27\\clr_4_0\\clr.pyd", "clr 4 module", 3);
    writeFileAt(r + "_RefPython_27\\Python27\\clr_4_0\\Python.Runtime.dll", "clr 4 runtime", 4);
    writeFileAt(r + "_RefPython_27\\Python27\\clr_2_0\\clr.pyd", "clr 2 module", 5);
    writeFileAt(r + "_RefPython_27\\Python27\\clr_2_0\\Python.Runtime.dll", "clr 2 runtime", 6);
    writeFileAt(r + "_RefPython_36\\OrvantoRuntime.py", "runtime module 36", 7);
    writeFileAt(r + "_RefPython_36\\shm.pyd", "shared memory module", 8);
    writeFileAt(r + "_Ref_PluginsPy27\\Backup\\Backup.py", "backup plugin 27", 9);
    writeFileAt(r + "_Ref_PluginsPy27\\Grab\\Grab.py", "grab plugin", 10);
    writeFileAt(r + "_Ref_PluginsPy27\\Notes\\readme.txt", "not a plugin", 11);
    writeFileAt(r + "_Ref_PluginsPy36\\Backup\\Backup.py", "backup plugin 36", 12);
    writeFileAt(r + "_Ref_PluginsPy36\\Measure\\Measure.py", "measure plugin", 13);
    int second = 20;
    for (const char* variant : kVariants) {
        std::string folder = r + "3.2.1.169\\" + variant + "\\Python\\";
        writeFileAt(folder + "matrelct_Py27.py", std::string("matrel 27 ") + variant, ++second);
        writeFileAt(folder + "matrelct_Py36.py", std::string("matrel 36 for ") + variant, ++second);
    }
    writeFileAt(r + "OpenCV2_4_3OrOlder\\Python\\cv2.pyd", "cv2 of the old builds", 40);
    writeFileAt(r + "OpenCV340\\Python\\cv2.pyd", "cv2 3.4.0", 41);
    writeFileAt(python27() + "Doc\\python279.chm", "help 2.7.9", 50);
    writeFileAt(python27() + "Doc\\python2713.chm", "help 2.7.13 (longer)", 51);
    writeFileAt(python36() + "Python36.dll", "interpreter 3.6", 52);
    writeFileAt(python36() + "Doc\\python366.chm", "help 3.6.6", 53);
    writeFileAt(systemDll(), std::string(kMarker) + "python27 dll", 54);
}

IntegrationMachine::~IntegrationMachine() {
    packages_.clear();
    python36_.reset();
    python27_.reset();
    runtime_.reset();
    registry_.undo();
    clean();
}

bool IntegrationMachine::install(const std::string& file, const std::string& productCode) {
    packages_.emplace_back(new InstalledPackage(file, productCode));
    return packages_.back()->installed();
}

void IntegrationMachine::registerPython36(const std::string& uninstallString) {
    registry_.setUninstallValue(HKEY_LOCAL_MACHINE, kPython36Uninstall, "DisplayVersion", "3.6.6150.0");
    registry_.setUninstallValue(HKEY_LOCAL_MACHINE, kPython36Uninstall, "InstallLocation", python36());
    if (!uninstallString.empty())
        registry_.setUninstallValue(HKEY_LOCAL_MACHINE, kPython36Uninstall, "UninstallString",
                                    uninstallString);
}

void IntegrationMachine::select(const char* key, const char* value) {
    std::string ini = documentsPath("Python\\PySel.ini");
    makeFolders(ini.substr(0, ini.find_last_of('\\')));
    ::WritePrivateProfileStringA("PySelVersion", key, value, ini.c_str());
}

std::string IntegrationMachine::systemDll() const {
    std::string system;
    hnSystemFolder(system);
    return system + "\\Python27.dll";
}

std::string IntegrationMachine::userPlugins() const {
    return documentsPath("Plugins");
}
