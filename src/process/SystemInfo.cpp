#include "process/SystemInfo.h"

#include <cstring>
#include <shlobj.h>

#include "app/DebugOut.h"
#include "app/SystemView.h"
#include "app/Text.h"

namespace {

const char* const kUnknownOs = "Unknown Operating System";

bool queryVersionRecord(OSVERSIONINFOEXA& version) {
    std::memset(&version, 0, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != FALSE;
}

// The native call tells a 32-bit program on 64-bit Windows the truth.
WORD nativeArchitecture() {
    SYSTEM_INFO info = {};
    using NativeInfoFn = void(WINAPI*)(SYSTEM_INFO*);
    auto native = reinterpret_cast<NativeInfoFn>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo"));
    if (native)
        native(&info);
    else
        ::GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

struct EditionRow {
    DWORD productType;
    const char* edition;
};

const EditionRow kVersion6Editions[] = {
    {1, "Ultimate Edition"},
    {2, "Home Basic Edition"},
    {3, "Home Premium Edition"},
    {4, "Enterprise Edition"},
    {10, "Enterprise Edition"},
    {6, "Business Edition"},
    {7, "Standard Edition"},
    {8, "Datacenter Edition"},
    {9, "Small Business Server"},
    {11, "Starter Edition"},
    {12, "Datacenter Edition (core installation)"},
    {13, "Standard Edition (core installation)"},
    {14, "Enterprise Edition (core installation)"},
    {15, "Enterprise Edition for Itanium-based Systems"},
    {17, "Web Server Edition"},
    {18, "Cluster Server Edition"},
    {25, "Small Business Server Premium Edition"},
    {65, "Embedded"},
};

const char* version6Edition(DWORD productType) {
    for (const EditionRow& row : kVersion6Editions)
        if (row.productType == productType)
            return row.edition;
    return "(Unknown Sub-version)";
}

const char* productName(const hnOsFacts& facts) {
    const OSVERSIONINFOEXA& v = facts.version;
    bool workstation = v.wProductType == VER_NT_WORKSTATION;
    if (v.dwMajorVersion == 6) {
        switch (v.dwMinorVersion) {
        case 0:
            return workstation ? "Windows Vista" : "Windows Server 2008";
        case 1:
            return workstation ? "Windows 7" : "Windows Server 2008 R2";
        default:
            return workstation ? "Windows 8" : "Windows Server 2012";
        }
    }
    switch (v.dwMinorVersion) {
    case 2:
        if (facts.serverR2 != 0)
            return "Windows Server 2003 R2";
        if (v.wSuiteMask & 0x2000)
            return "Windows Storage Server 2003";
        if (workstation && facts.architecture == PROCESSOR_ARCHITECTURE_AMD64)
            return "Windows XP Professional x64 Edition";
        return "Windows Server 2003";
    case 1:
        return "Windows XP";
    default:
        return "Windows 2000";
    }
}

// The edition of a 5.x or 6.x system, or null when none applies.
const char* edition(const hnOsFacts& facts) {
    const OSVERSIONINFOEXA& v = facts.version;
    bool workstation = v.wProductType == VER_NT_WORKSTATION;
    WORD suite = v.wSuiteMask;
    if (v.dwMajorVersion == 6)
        return version6Edition(facts.productType);
    if (v.dwMinorVersion == 2) {
        if (workstation) {
            if (suite & 0x4000)
                return "Compute Cluster Edition";
            if (suite & 0x80)
                return "Datacenter Edition";
            if (suite & 0x2)
                return "Enterprise Edition";
            if (suite & 0x400)
                return "Web Edition";
            return "Standard Edition";
        }
        if (facts.architecture == PROCESSOR_ARCHITECTURE_IA64) {
            if (suite & 0x80)
                return "Datacenter Edition for Itanium-based Systems";
            if (suite & 0x2)
                return "Enterprise Edition for Itanium-based Systems";
            return nullptr;
        }
        if (facts.architecture == PROCESSOR_ARCHITECTURE_AMD64) {
            if (suite & 0x80)
                return "Datacenter x64 Edition";
            if (suite & 0x2)
                return "Enterprise x64 Edition";
            return "Standard x64 Edition";
        }
        return nullptr;
    }
    if (v.dwMinorVersion == 1)
        return (suite & 0x200) ? "Home Edition" : "Professional";
    if (workstation)
        return "Professional";
    if (suite & 0x80)
        return "Datacenter Server";
    if (suite & 0x2)
        return "Advanced Server";
    return "Server";
}

bool shellFolder(int csidl, std::string& out) {
    char buffer[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer)) || !buffer[0])
        return false;
    out = buffer;
    return true;
}

bool copyName(char* buffer, const std::string& text) {
    if (text.size() >= kOsNameCapacity)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

} // namespace

bool composeOSVersionName(const hnOsFacts& facts, std::string& fullName, std::string& shortName,
                          bool& is64Bit) {
    fullName = kUnknownOs;
    shortName = kUnknownOs;
    is64Bit = false;
    const OSVERSIONINFOEXA& v = facts.version;
    if (v.dwPlatformId != VER_PLATFORM_WIN32_NT || v.dwMajorVersion <= 4)
        return false;
    fullName = "Microsoft ";
    shortName.clear();
    if (v.dwMajorVersion == 6 && v.dwMinorVersion > 2) {
        fullName = kUnknownOs;
        shortName = kUnknownOs;
        return false;
    }
    if (v.dwMajorVersion != 6 && (v.dwMajorVersion != 5 || v.dwMinorVersion > 2)) {
        fullName = kUnknownOs;
        return false;
    }
    const char* product = productName(facts);
    fullName += product;
    fullName += ' ';
    shortName += product;
    if (const char* name = edition(facts))
        fullName += name;
    if (v.szCSDVersion[0]) {
        fullName += ' ';
        fullName += v.szCSDVersion;
    }
    fullName += hnFormatText(" (build %d)", static_cast<int>(v.dwBuildNumber));
    if (v.dwMajorVersion > 5) {
        switch (facts.architecture) {
        case PROCESSOR_ARCHITECTURE_AMD64:
            fullName += ", 64-bit";
            is64Bit = true;
            break;
        case PROCESSOR_ARCHITECTURE_IA64:
            fullName += ", Itanium based";
            break;
        case PROCESSOR_ARCHITECTURE_INTEL:
            fullName += ", 32-bit";
            break;
        default:
            fullName += ", (Unknown architecture)";
            break;
        }
    }
    return true;
}

bool queryOSVersion(char* fullName, char* shortName, bool* is64Bit) {
    if (!shortName) {
        hnDebugOut("queryOSVersion - NULL pointer 1\n");
        return false;
    }
    if (!fullName) {
        hnDebugOut("queryOSVersion - NULL pointer 2\n");
        return false;
    }
    if (!is64Bit) {
        hnDebugOut("queryOSVersion - NULL pointer 3\n");
        return false;
    }
    copyName(fullName, kUnknownOs);
    copyName(shortName, kUnknownOs);
    *is64Bit = false;
    hnOsFacts facts = {};
    if (!queryVersionRecord(facts.version)) {
        hnDebugOut("queryOSVersion - unable to get version info\n");
        return false;
    }
    facts.architecture = nativeArchitecture();
    facts.serverR2 = ::GetSystemMetrics(SM_SERVERR2);
    facts.productType = 0;
    // Looked up at run time: systems before version 6 do not have the call.
    using ProductInfoFn = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*);
    auto productInfo = reinterpret_cast<ProductInfoFn>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetProductInfo"));
    if (facts.version.dwMajorVersion == 6 && productInfo)
        productInfo(facts.version.dwMajorVersion, facts.version.dwMinorVersion, 0, 0, &facts.productType);
    std::string full, brief;
    bool wide = false;
    bool named = composeOSVersionName(facts, full, brief, wide);
    if (!copyName(fullName, full) || !copyName(shortName, brief)) {
        hnDebugOut("queryOSVersion - unable to complete procssing\n");
        copyName(fullName, kUnknownOs);
        return false;
    }
    *is64Bit = wide;
    return named;
}

bool is64BitWindows() {
    OSVERSIONINFOEXA version;
    if (!queryVersionRecord(version))
        return false;
    return nativeArchitecture() == PROCESSOR_ARCHITECTURE_AMD64;
}

bool programFilesFolder(std::string& out) {
    if (!hnProgramFilesVariable(out))
        return false;
    if (!out.empty() && (out.back() == '\\' || out.back() == '/'))
        out.pop_back();
    return out.size() < kIniValueCapacity;
}

bool commonProgramsFolder(std::string& out) {
    return hnCommonProgramsFolder(out);
}

bool windowsFolder(std::string& out) {
    return shellFolder(CSIDL_WINDOWS, out);
}

bool systemX86Folder(std::string& out) {
    return shellFolder(CSIDL_SYSTEMX86, out);
}
