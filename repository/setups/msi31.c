/* Stand-in of the Windows Installer 3.1 library: a DLL that only carries the
   version resource the installer reads (see msi31.rc). */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
