#pragma once
// Follow-up steps of the installation actions: the system search path, the
// Python 2.7 registry paths, reference copies into the runtime, shortcuts and
// forced deletion.
#include <string>
#include <windows.h>

// Appends the runtime sub-folder `subFolder` to the machine "Path" (stored as
// REG_EXPAND_SZ, then announced to all top-level windows) unless the value
// already holds it in any letter case. The existing value is kept whole,
// whatever its length. False when the value cannot be read or there is no
// runtime folder; true also when the write was refused.
bool addFolderToSystemPath(const char* subFolder);

// The machine "Path" value, read whole however long it is.
bool readSystemPath(std::string& value);
// Writes the machine "Path" as REG_EXPAND_SZ and announces the change to all
// top-level windows (waiting at most 100 ms).
bool writeSystemPath(const std::string& value);

// Writes the Python 2.7 "PythonPath" keys from the interpreter's install
// folder; warns the user and answers false without an interpreter.
bool registerPython27PythonPath();

// Copies "_Ref\\AVT\\<referenceName>" of the runtime over "uniAVTGrab.dll".
bool copyAvtGrabberDll(const char* referenceName);

// Copies the PlantOPCClient's "Python\\plantopcclientx.py" into the runtime's
// Python folder.
bool copyPlantOPCClientScript();

// Saves "<linkFolder>\\<linkName>.lnk" pointing at `target`.
bool createShortcut(const char* arguments, const char* workingFolder, const char* linkName,
                    const char* linkFolder, const char* target);

// True when the file is absent afterwards; a read-only file is made writable.
bool deleteFileIfPresent(const std::string& path);
// Replaces `destination` by a copy of `source`: the old file is deleted first
// (so a failed copy leaves it missing); true when the copy exists afterwards.
bool copyFileReplacing(const std::string& source, const std::string& destination);

// Reads a string value (REG_SZ or REG_EXPAND_SZ) of at most `capacity` - 1
// characters; longer values count as missing.
bool readRegistryText(HKEY root, const char* subKey, const char* valueName, std::size_t capacity,
                      std::string& value);

extern const char* const
    kEnvironmentKey; // "System\\CurrentControlSet\\Control\\Session Manager\\Environment"
