// The real installer moving a user on from an older version: the data import
// offered on the core page's Next, then a profile moved on the profiles
// page, every file checked afterwards.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "app/FileHelpers.h"
#include "app/FolderCopy.h"
#include "app/SystemView.h"
#include "migration_ids.h"
#include "pages_ids.h"
#include "support/ShippedInstaller.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"
#include "wizard_ids.h"

using uidriver::Installer;

using namespace shipped;

namespace {

const int kNext = 0x3024;

// Older data folders in the documents folder; this version's folder is set
// aside meanwhile and everything is put back afterwards.
struct OlderData {
    OlderData() {
        hnDocumentsFolder(documents);
        current = documents + "\\Orvanto 15.0";
        aside = documents + "\\Orvanto 15.0 set aside";
        if (fileExists(current))
            movedAside = ::MoveFileA(current.c_str(), aside.c_str()) != FALSE;
        old = documents + "\\Orvanto 12.0";
        older = documents + "\\Orvanto 9.2";
        makeFolders(old + "\\Profiles\\Inspect\\images");
        writeTextFile(old + "\\Profiles\\Inspect\\a.opb", "inspect");
        writeTextFile(old + "\\Profiles\\Inspect\\images\\1.png", std::string(5000, 'p'));
        writeTextFile(old + "\\Orvanto.ini",
                      "[Config.ProfileHistory]\nP1=" + old + "\\Profiles\\Inspect\\a.opb\n");
        // The profile that is moved: a sub-folder, a large file and a
        // read-only file beside its own.
        std::string line = older + "\\Profiles\\Old Line";
        makeFolders(line + "\\images\\raw");
        movedFiles = {{"o.opb", "old line"},
                      {"images\\large.bin", largeContent()},
                      {"images\\raw\\frame.png", std::string(3000, 'f')},
                      {"locked.cfg", "read-only settings"}};
        for (const auto& file : movedFiles)
            writeTextFile(line + "\\" + file.first, file.second);
        ::SetFileAttributesA((line + "\\locked.cfg").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    // Several megabytes that differ from chunk to chunk.
    static std::string largeContent() {
        std::string content(3 * 1024 * 1024 + 17, '\0');
        for (std::size_t i = 0; i < content.size(); ++i)
            content[i] = static_cast<char>((i * 7919u) >> 5);
        return content;
    }
    ~OlderData() {
        deleteFolderTree(old.c_str(), "Orvanto 12.0");
        deleteFolderTree(older.c_str(), "Orvanto 9.2");
        deleteFolderTree(current.c_str(), "Orvanto 15.0");
        if (movedAside)
            ::MoveFileA(aside.c_str(), current.c_str());
    }
    std::string documents, current, aside, old, older;
    std::vector<std::pair<std::string, std::string>> movedFiles; // relative path and content
    bool movedAside = false;
};

// Every file below `source` is in `target` with the same size and time.
void expectSameFiles(const std::string& source, const std::string& target) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((source + "\\*").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder) {
            expectSameFiles(source + "\\" + name, target + "\\" + name);
        } else if (name != "Orvanto.ini") {
            EXPECT_TRUE(hnSameSizeAndTime(source + "\\" + name, target + "\\" + name))
                << source << "\\" << name;
        }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

} // namespace

TEST(MigrationEndToEnd, ImportsTheOlderDataThenMovesAProfile) {
    OlderData data;
    Installer app;
    ASSERT_TRUE(app.start(installerPath()));
    HWND sheet = app.findWindow(kCaption, "#32770");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(Installer::click(sheet, ID_NAV_CORE));
    ASSERT_TRUE(Installer::waitForCaption(sheet, kCaption + " - Core Installation"));

    ASSERT_TRUE(Installer::click(sheet, kNext));
    HWND import = app.findWindow("Import Orvanto data", "#32770");
    ASSERT_TRUE(import);
    EXPECT_EQ("Orvanto 12.0", uidriver::windowText(::GetDlgItem(import, IDC_IMPORT_FROM)));
    ASSERT_TRUE(Installer::click(import, IDC_IMPORT_START));
    EXPECT_TRUE(Installer::waitForText(import, IDC_MIGRATION_PERCENT, "(100%)", 20000));
    // Close is refused while the worker still winds down.
    EXPECT_TRUE(uidriver::waitUntil(
        [&] { return ::IsWindowEnabled(::GetDlgItem(import, IDC_IMPORT_START)) != FALSE; }, 10000));
    ASSERT_TRUE(Installer::click(import, IDOK));
    EXPECT_TRUE(uidriver::waitUntil([&] { return !::IsWindow(import); }, 10000));
    EXPECT_TRUE(Installer::waitForCaption(sheet, kCaption + " - Core Installation Status"));
    expectSameFiles(data.old, data.current);
    // The rewrite keeps each line's own ending (the older file's are LF).
    EXPECT_EQ("[Config.ProfileHistory]\nP1=" + data.current + "\\Profiles\\Inspect\\a.opb\n",
              readTextFile(data.current + "\\Orvanto.ini"));

    // Only the 9.2 profile is missing now; check it all and move it.
    ::SendMessageA(sheet, PSM_SETCURSEL, 11, 0);
    ASSERT_TRUE(Installer::waitForCaption(sheet, kCaption + " - Import Orvanto Profiles"));
    HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    HWND tree = ::GetDlgItem(page, IDC_IMPORT_PROFILES_TREE);
    HTREEITEM root = nullptr;
    ASSERT_TRUE(uidriver::waitUntil(
        [&] {
            root = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            return root != nullptr;
        },
        10000));
    auto checked = [&](HTREEITEM entry) {
        LRESULT state =
            ::SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(entry), TVIS_STATEIMAGEMASK);
        return (state >> 12) == 2;
    };
    HTREEITEM version = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    for (int attempt = 0; attempt < 5 && !checked(version); ++attempt) {
        // Space on the selected entry checks it and, through the page, all below it.
        ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
        if (!checked(root)) {
            ::PostMessageA(tree, WM_KEYDOWN, VK_SPACE, 0);
            ::PostMessageA(tree, WM_KEYUP, VK_SPACE, 0);
        }
        uidriver::pause(400);
    }
    ASSERT_TRUE(checked(version));
    // "All", "Orvanto 9.2" and its profile: what the import brought is not offered.
    EXPECT_EQ(3, ::SendMessageA(tree, TVM_GETCOUNT, 0, 0));
    ASSERT_TRUE(Installer::click(page, IDC_IMPORT_PROFILES_MOVE));
    ASSERT_TRUE(app.answerMessageBox("Confirmation - Move Orvanto Profile", IDYES));
    HWND copy = app.findWindow("Import Orvanto Profiles", "#32770");
    ASSERT_TRUE(copy);
    EXPECT_TRUE(Installer::waitForText(copy, IDC_MIGRATION_PERCENT, "(100%) Processing complete.", 20000))
        << Installer::text(copy, IDC_MIGRATION_PERCENT) << " / "
        << Installer::text(copy, IDC_MIGRATION_MESSAGE);
    EXPECT_TRUE(uidriver::waitUntil(
        [&] { return !::IsWindowEnabled(::GetDlgItem(copy, IDC_MIGRATION_ABORT)); }, 10000));
    ASSERT_TRUE(Installer::click(copy, IDOK));
    EXPECT_TRUE(uidriver::waitUntil([&] { return !::IsWindow(copy); }, 10000));
    // File by file: every one is in the new version with its content, the
    // read-only one still read-only, and the older version holds none.
    EXPECT_FALSE(fileExists(data.older + "\\Profiles\\Old Line"));
    for (const auto& file : data.movedFiles) {
        std::string moved = data.current + "\\Profiles\\Old Line\\" + file.first;
        EXPECT_TRUE(readTextFile(moved) == file.second) << moved;
        EXPECT_FALSE(fileExists(data.older + "\\Profiles\\Old Line\\" + file.first)) << file.first;
    }
    DWORD locked = ::GetFileAttributesA((data.current + "\\Profiles\\Old Line\\locked.cfg").c_str());
    EXPECT_TRUE(locked != INVALID_FILE_ATTRIBUTES && (locked & FILE_ATTRIBUTE_READONLY));
    expectSameFiles(data.old + "\\Profiles\\Inspect", data.current + "\\Profiles\\Inspect"); // untouched
    ::PostMessageA(sheet, WM_CLOSE, 0, 0);
    app.waitForExit(10000);
}
