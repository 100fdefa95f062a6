#pragma once
// The one place that makes the program see the machine as the shipped 32-bit
// program sees it on 64-bit Windows: the 32-bit registry view and the x86
// program-files and system folders. Every registry open and every folder
// query of those kinds goes through here.
#include <string>
#include <windows.h>

// Access flag that selects the 32-bit registry view (no-op in a 32-bit build
// on 32-bit Windows, the redirection the shipped program gets on 64-bit).
REGSAM hnRegistryView();

// RegOpenKeyExA in the program's view.
LONG hnRegOpenKey(HKEY root, const char* subKey, REGSAM access, HKEY* result);
LONG hnRegCreateKey(HKEY root, const char* subKey, REGSAM access, HKEY* result);

// "C:\\Program Files (x86)" on 64-bit Windows, "C:\\Program Files" on 32-bit.
bool hnProgramFilesFolder(std::string& out);
// The folder a 32-bit program gets from GetSystemDirectory (SysWOW64 on
// 64-bit Windows).
bool hnSystemFolder(std::string& out);
bool hnTempFolder(std::string& out); // with trailing separator

// The current user's personal documents folder (no trailing separator), or
// the folder the application object names instead (/documents).
bool hnDocumentsFolder(std::string& out);
// The all-users desktop and start-menu programs folders (no trailing
// separator).
bool hnCommonDesktopFolder(std::string& out);
bool hnCommonProgramsFolder(std::string& out);

// Reads a string value (null or empty name: the default value) of a key in
// the program's view. False when the key or value cannot be read, the value
// is not a string or it needs `capacity` bytes or more.
bool hnRegReadString(HKEY root, const char* subKey, const char* valueName, std::string& out,
                     DWORD capacity = 4096);
// Reads a 32-bit value of a key in the program's view.
bool hnRegReadDword(HKEY root, const char* subKey, const char* valueName, DWORD& out);

// The "ProgramFiles" environment value the 32-bit program gets (the x86
// program-files folder on 64-bit Windows); "ProgramFiles(x86)" or
// "ProgramFiles" as fallback.
bool hnProgramFilesVariable(std::string& out);
