// Saves one screenshot per wizard page of a running installer.
//   screenshooter INSTALLER.exe OUTPUT_FOLDER py27|py36 [PAGE_INDEX...]
// py36 stores "Python 3.6.6" as the interpreter choice for the run and forgets
// it afterwards. Without page indices every page is taken.
#include "../support/UiDriver.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kCaption = "Orvanto Vision Software XV 774 Installer";

std::string pyselPath() {
    char documents[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    return std::string(documents) + "\\Orvanto 15.0\\Python\\PySel.ini";
}

std::string fileNameOf(const std::string& caption) {
    std::string name = caption.size() > kCaption.size() + 3 ? caption.substr(kCaption.size() + 3) : caption;
    std::string out;
    for (char c : name)
        out += (isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: screenshooter INSTALLER.exe OUTPUT_FOLDER py27|py36 [PAGE_INDEX...]\n");
        return 2;
    }
    std::string exe = argv[1], out = argv[2], line = argv[3];
    std::string ini = pyselPath();
    if (line == "py36") {
        std::string folder = ini.substr(0, ini.find_last_of('\\'));
        ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        ::WritePrivateProfileStringA("PySelVersion", "VersionName", "Python 3.6.6", ini.c_str());
    }
    int failures = 0;
    {
        uidriver::Installer app;
        if (!app.start(exe))
            return 1;
        HWND sheet = app.findWindow(kCaption, "#32770");
        if (!sheet)
            return 1;
        ::SetWindowPos(sheet, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        std::vector<int> indices;
        for (int i = 4; i < argc; ++i)
            indices.push_back(std::atoi(argv[i]));
        if (indices.empty())
            for (int i = 0; i < 22; ++i)
                indices.push_back(i);
        for (int index : indices) {
            std::string before = uidriver::windowText(sheet);
            // Posted: a page may tell the user something on its activation
            // (a message box under the installer caption), which is answered.
            ::PostMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
            uidriver::waitUntil(
                [&] {
                    if (HWND box = ::FindWindowA("#32770", kCaption.c_str()))
                        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                    return uidriver::windowText(sheet) != before || index == 0;
                },
                5000);
            uidriver::pause(1200); // let the page and its pictures paint
            for (int tries = 0; tries < 30; ++tries) {
                HWND box = ::FindWindowA("#32770", kCaption.c_str());
                if (!box)
                    break;
                ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                uidriver::pause(300);
            }
            char prefix[16];
            std::snprintf(prefix, sizeof(prefix), "%s-%02d-", line.c_str(), index + 1);
            std::string path = out + "\\" + prefix + fileNameOf(uidriver::windowText(sheet)) + ".bmp";
            if (!uidriver::Installer::screenshot(sheet, path))
                ++failures;
            else
                std::printf("%s\n", path.c_str());
        }
    }
    if (line == "py36")
        ::DeleteFileA(ini.c_str());
    return failures ? 1 : 0;
}
