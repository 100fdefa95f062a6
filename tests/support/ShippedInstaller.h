#pragma once
// The shipped installer as the end-to-end tests drive it: the program built
// beside the test programs, its sheet's caption and the windows of its pages.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>
#include <string>

#include "support/TestSupport.h"
#include "support/UiDriver.h"

namespace shipped {

inline const std::string kCaption = "Orvanto Vision Software XV 774 Installer";
inline const char* const kExeName = "OrvantoVisionSoftware_15_0_0_774_Installer_200831.exe";

// The build folder, which holds the installer and the folder of the tests.
inline std::string buildFolder() {
    std::string tests = testProgramFolder();
    return tests.substr(0, tests.find_last_of("\\/"));
}

inline std::string installerPath() {
    return buildFolder() + "\\" + kExeName;
}

inline std::string documentsFolder() {
    char documents[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    return documents;
}

inline HWND currentPage(HWND sheet) {
    return reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// The visible tab dialog of a catalogue page: the one that holds the rows.
inline HWND tabDialog(HWND page) {
    HWND found = nullptr;
    uidriver::waitUntil(
        [&] {
            found = nullptr;
            for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                if (uidriver::className(child) == "#32770" && ::IsWindowVisible(child) &&
                    ::GetDlgItem(child, 1096))
                    found = child;
            return found != nullptr;
        },
        10000);
    return found;
}

inline bool visible(HWND parent, int id) {
    HWND control = ::GetDlgItem(parent, id);
    return control && ::IsWindowVisible(control);
}

} // namespace shipped
