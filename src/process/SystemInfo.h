#pragma once
// Operating-system description and the folders the component pages need, all
// as the shipped 32-bit program sees them.
#include <string>
#include <windows.h>

constexpr std::size_t kOsNameCapacity = 1024;

// Names the running Windows: `fullName` ("Microsoft Windows 7 ... (build
// 7601), 64-bit") and `shortName` ("Windows 7"), both of kOsNameCapacity
// characters, and whether it is 64-bit. False for versions it cannot name.
bool queryOSVersion(char* fullName, char* shortName, bool* is64Bit);

// The naming rules of queryOSVersion over given facts: the version record,
// the native processor architecture, the kernel's product type for the
// version and the second-server-release metric.
struct hnOsFacts {
    OSVERSIONINFOEXA version;
    WORD architecture;
    DWORD productType;
    int serverR2;
};
bool composeOSVersionName(const hnOsFacts& facts, std::string& fullName, std::string& shortName,
                          bool& is64Bit);

bool is64BitWindows();

// Folder queries; the path is stored in `out`.
bool programFilesFolder(std::string& out);   // x86 program files, no trailing separator
bool commonProgramsFolder(std::string& out); // start-menu programs of all users
bool windowsFolder(std::string& out);
bool systemX86Folder(std::string& out);
