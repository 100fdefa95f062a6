// Stand-in of the OPC client's ActiveX control: a library whose registration
// entry points write (and remove) its class's "InprocServer32" key. It is
// built for the machine's own architecture and writes into the 32-bit
// registry view itself, where the shipped 32-bit control's registration lies.
#include <windows.h>

namespace {

const char* const kClassKey = "CLSID\\{5D8373B1-2F0E-42C4-9D3B-05C9AF2672A4}";
HMODULE self = nullptr;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    char key[128];
    wsprintfA(key, "%s\\InprocServer32", kClassKey);
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                          &handle, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    LONG result =
        ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1);
    ::RegSetValueExA(handle, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>("Apartment"), 10);
    ::RegCloseKey(handle);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    char key[128];
    wsprintfA(key, "%s\\InprocServer32", kClassKey);
    ::RegDeleteKeyExA(HKEY_CLASSES_ROOT, key, KEY_WOW64_32KEY, 0);
    ::RegDeleteKeyExA(HKEY_CLASSES_ROOT, kClassKey, KEY_WOW64_32KEY, 0);
    return S_OK;
}
