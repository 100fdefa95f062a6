#pragma once
// The pieces of the runtime's Python integration that both interpreter
// families share, driven by a description of the family. Each piece writes
// its debug lines under the routine name the family routine hands in.
#include <cstddef>
#include <string>

struct hnIntegrationFamily {
    const char* family;            // "hnPyhton27InstallFunctions"
    const char* digits;            // "27"
    const char* dllName;           // "Python27.dll"
    bool dllFromSystemFolder;      // Python 2.7: the 32-bit system folder; 3.6: the interpreter folder
    const char* referenceFolder;   // "_RefPython_27"
    const char* pluginReference;   // "_Ref_PluginsPy27"
    const char* scriptVersionCopy; // "matrelct_Py27.py"
    const char* runtimeSwitch;     // "--python27"
    bool (*interpreterFolder)(std::string& folder);
    bool (*chmFileName)(char* name, std::size_t capacity);
};

extern const hnIntegrationFamily kFamily27;
extern const hnIntegrationFamily kFamily36;

// The runtime folder (trailing separator) or a debug line under `routine`.
bool integrationRuntimeFolder(const char* routine, std::string& runtime);

bool isDllOK(const hnIntegrationFamily& f, const char* routine);
bool updateDll(const hnIntegrationFamily& f, const char* routine);
bool deleteDll(const hnIntegrationFamily& f);

bool isChmOK(const hnIntegrationFamily& f, const char* routine);
bool updateChm(const hnIntegrationFamily& f, const char* routine);
bool deleteChm(const hnIntegrationFamily& f);

// The runtime "Python" folder against every file of the reference folder.
bool isPythonFolderOK(const hnIntegrationFamily& f);
bool updatePythonFolder(const hnIntegrationFamily& f, const char* routine);
bool deletePythonFolder();

bool areLibraryScriptsOK(const hnIntegrationFamily& f);
bool updateLibraryScripts(const hnIntegrationFamily& f);

// "Plugins" of "Orvanto 15.0" in the documents folder against every plugin
// of the plugin reference folder.
bool isPluginFolderOK(const hnIntegrationFamily& f);
bool updatePluginFolder(const hnIntegrationFamily& f, const char* routine);
bool deletePluginFolder();

bool updatePy2to3Bat(const hnIntegrationFamily& f, const char* routine);
bool updateRuntimeShortcuts(const hnIntegrationFamily& f, const char* routine);

// The help file name of the installed release, as the family's getters give it.
bool copyChmName(const char* routine, const char* name, char* out, std::size_t capacity);

// Removes every named file of the runtime folder that is present; false when
// one could not be deleted.
bool deleteRuntimeFile(const std::string& runtime, const char* name);
