// The tutorials, resources and readme pages and the help window against
// lists, archives and documents served over HTTP from the fixtures folder;
// the browser and the document viewers are recording stand-ins.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "app/Text.h"
#include "catalogue/CatalogueFixtures.h"
#include "catalogue/Documents.h"
#include "catalogue/DocumentTabs.h"
#include "catalogue/Hyperlink.h"
#include "catalogue_ids.h"
#include "controls/RichTextFile.h"
#include "pages/PageTestSupport.h"
#include "pages/ReleaseNotesPage.h"
#include "pages/ResourcesPage.h"
#include "pages/TutorialsPage.h"
#include "support/RecordingRuntime.h"
#include "support/PictureFixtures.h"
#include "support/RecordingShell.h"
#include "support/SlowRepository.h"

namespace {

bool said(const ScriptedPrompter& prompter, const std::string& text) {
    for (const auto& record : prompter.records)
        if (record.text == text)
            return true;
    return false;
}

bool recorded(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& line : lines)
        if (line.find(part) != std::string::npos)
            return true;
    return false;
}

std::vector<std::string> tabTexts(HWND tab) {
    std::vector<std::string> texts;
    for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
        char text[128] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(tab, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

void selectTab(kdDCataloguePageBase& page, int index, HWND pageWindow) {
    TabCtrl_SetCurSel(page.tabCtrl().hwnd(), index);
    NMHDR header = {page.tabCtrl().hwnd(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageA(pageWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

// A link clicked as the mouse clicks it: the static tells its parent.
void clickLink(HWND dialog, int id) {
    HWND link = ::GetDlgItem(dialog, id);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(link));
}

std::string tutorialList() {
    std::string list;
    list += "[01 Getting Started]\r\nCaption=First Steps\r\nName=\r\nProfileName=FirstTut\r\n"
            "ProfileZIP=FirstTut.zip\r\nPDFName=FirstTut.pdf\r\nURL=" +
            CatalogueServer::zip("tutorial_FirstTut") + "\r\nInfoURL=http://127.0.0.1/info.html\r\n";
    list += "[02 Getting Started]\r\nCaption=Climber\r\nName=..\r\nProfileName=..\\..\r\n"
            "ProfileZIP=..\\..\\x.zip\r\nPDFName=..\\evil.exe\r\nURL=" +
            CatalogueServer::zip("tutorial_Evil") + "\r\nVideoURL=file:///C:/windows/notepad.exe\r\n";
    list +=
        "[03 Getting Started Advanced]\r\nCaption=Calibration\r\nName=Calibration\r\nProfileName=CalTut\r\n"
        "ProfileZIP=CalTut.zip\r\nPDFName=CalTut.pdf\r\nVideoURL=http://127.0.0.1/video.html\r\nURL=" +
        CatalogueServer::zip("tutorial_CalTut") + "\r\nInfoText=Only a tooltip\r\n";
    list += "[04 Python]\r\nCaption=Python Tools\r\nProfileName=PyTut\r\nProfileZIP=PyTut.zip\r\n"
            "PDFName=PyTut.pdf\r\nURL=" +
            CatalogueServer::zip("tutorial_PyTut") + "\r\n";
    return list;
}

// A PNG of the program's own pictures, as the server would publish it.
std::string pngResource(UINT id) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), "PNG");
    HGLOBAL loaded = found ? ::LoadResource(nullptr, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    return data ? std::string(data, ::SizeofResource(nullptr, found)) : std::string();
}

} // namespace

TEST(TutorialsPage, InstallOpenRunRemoveAndHostileRows) {
    CatalogueServer server;
    server.publish("774tutorials.ini.txt", tutorialList());
    RecordingRuntime runtime;
    RecordingShell shell(runtime.record);
    ScriptedPrompter prompter;
    kdDInstallTutorials page("Test - Tutorials");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    HWND pageWindow = host.pageWindow();
    ASSERT_NE(nullptr, pageWindow);
    EXPECT_EQ((std::vector<std::string>{" Getting Started", " Getting Started Advanced", " Python"}),
              tabTexts(page.tabCtrl().hwnd()));
    auto& tutorials = static_cast<DTabTutorials&>(page.tabCtrl().tabDialog());
    // Membership is a substring test: the advanced section is listed here too.
    ASSERT_EQ(3u, tutorials.rows.size());
    EXPECT_EQ("First Steps", tutorials.rows[0].name); // empty Name: the caption
    // Each activation rebuilds the rows; their tools do not pile up.
    LRESULT tools = ::SendMessageA(tutorials.toolTip, TTM_GETTOOLCOUNT, 0, 0);
    EXPECT_GT(tools, 0);
    for (int activation = 0; activation < 2; ++activation) {
        NMHDR header = {host.sheetWindow(), 0, static_cast<UINT>(PSN_SETACTIVE)};
        ::SendMessageA(pageWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    }
    EXPECT_EQ(tools, ::SendMessageA(tutorials.toolTip, TTM_GETTOOLCOUNT, 0, 0));
    HWND tab = tutorials.hwnd();
    // The refused row says which name of the list was refused.
    EXPECT_EQ(
        "Not offered: the tutorial name \"..\" in the server's list is not a plain name inside its folder.",
        toolTipText(tutorials.toolTip, tab, tutorials.rows[1].nameLabel));
    EXPECT_EQ("", toolTipText(tutorials.toolTip, tab, tutorials.rows[0].nameLabel));
    EXPECT_FALSE(controlVisible(tab, 45001 + 2)); // run hidden while not installed

    // Install: the tutorial folder holds the document, the profile is extracted.
    clickButton(tab, 45001 + 3);
    std::string tutorialsFolder = userContentFolder("Tutorials"), profiles = userContentFolder("Profiles");
    EXPECT_TRUE(fileExists(tutorialsFolder + "First Steps\\FirstTut.pdf"));
    EXPECT_TRUE(fileExists(profiles + "FirstTut\\Orvanto.Opb"));
    EXPECT_TRUE(tutorials.rows[0].installed);
    EXPECT_EQ("Installed", hnWindowText(tutorials.rows[0].statusLabel));
    EXPECT_FALSE(controlEnabled(tab, 45001 + 3));
    EXPECT_TRUE(controlVisible(tab, 45001));      // video shown...
    EXPECT_FALSE(controlEnabled(tab, 45001));     // ...but disabled without a video address
    EXPECT_TRUE(controlVisible(tab, 45001 + 4));  // the info button for the address
    EXPECT_FALSE(controlVisible(tab, 45001 + 5)); // not the picture

    // The document, the information page and the run go to their programs.
    clickButton(tab, 45001 + 1);
    clickButton(tab, 45001 + 4);
    clickButton(tab, 45001 + 2);
    std::vector<std::string> lines = shell.lines(3, 30000);
    EXPECT_TRUE(recorded(lines, "First Steps\\FirstTut.pdf"));
    EXPECT_TRUE(recorded(lines, "http://127.0.0.1/info.html"));
    EXPECT_TRUE(recorded(lines, "\"System=" + profiles + "FirstTut\" \"/IGNOREPROFILEVERSION\""));

    // A profile without its document does not count as installed.
    ::DeleteFileA((tutorialsFolder + "First Steps\\FirstTut.pdf").c_str());
    tutorials.refreshRows();
    EXPECT_FALSE(tutorials.rows[0].installed);
    clickButton(tab, 45001 + 3);
    EXPECT_TRUE(tutorials.rows[0].installed);

    // Remove: both folders go, their parents stay.
    clickButton(tab, 45000);
    EXPECT_FALSE(fileExists(profiles + "FirstTut"));
    EXPECT_FALSE(fileExists(tutorialsFolder + "First Steps"));
    EXPECT_TRUE(fileExists(profiles.substr(0, profiles.size() - 1)));
    EXPECT_EQ("Not Installed", hnWindowText(tutorials.rows[0].statusLabel));
    for (const auto& record : prompter.records)
        ADD_FAILURE() << "unexpected message: " << record.text;

    // The hostile row: nothing is downloaded, extracted, deleted or opened.
    EXPECT_FALSE(tutorials.rows[1].safe);
    EXPECT_FALSE(controlEnabled(tab, 45008 + 3));
    ::SendMessageA(tab, kDynamicButtonMessage, 1, TutorialInstall);
    EXPECT_TRUE(said(
        prompter, "Error: Unable to parse the download path for the selected tutorial. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 1, TutorialRemove);
    EXPECT_TRUE(said(prompter, "Unable to remove the tutorial. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 1, TutorialVideo);
    EXPECT_TRUE(said(prompter, "Unable to access the tutorial video URL. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 1, TutorialPdf);
    EXPECT_TRUE(said(prompter, "Unable to access the tutorial PDF file. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 9, TutorialInstall);
    EXPECT_TRUE(said(
        prompter, "Error: Unable to locate the download path for the selected tutorial. Please try again."));
    ::SendMessageA(tab, kDynamicButtonMessage, 0, 6);
    EXPECT_TRUE(said(prompter, "Error: Unexpected operation. Please try again."));
    EXPECT_TRUE(fileExists(profiles.substr(0, profiles.size() - 1)));
    EXPECT_FALSE(fileExists(tutorialsFolder + "x.zip"));

    // Run without a runtime program starts nothing.
    runtime.write("");
    selectTab(page, 0, pageWindow);
    tab = tutorials.hwnd();
    std::size_t before = shell.lines().size();
    ::SendMessageA(tab, kDynamicButtonMessage, 0, TutorialRun);
    EXPECT_TRUE(said(prompter, "Unable to load the profile. Unexpected error."));
    pumpMessages(500);
    EXPECT_EQ(before, shell.lines().size());

    // The content elements of an installer copy: one per tutorial address.
    hnInstallManagerBase manager;
    EXPECT_EQ(1, page.buildContentElements(&manager));
    ASSERT_EQ(4u, manager.count());
    EXPECT_EQ("First Steps", manager.item(0)->name);
    EXPECT_EQ("tutorial_FirstTut.zip", manager.item(0)->fileName);
    EXPECT_EQ("Tutorials", manager.item(0)->category);

    std::string folder = testProgramFolder() + "\\..\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    clickButton(tab, 45001 + 3);
    ::ShowWindow(host.sheetWindow(), SW_SHOW);
    pumpMessages(500);
    uidriver::Installer::screenshot(host.sheetWindow(), folder + "\\catalogue_tutorials.bmp");
    clickButton(tab, 45000);
}

// An activation keeps the rows of an unchanged list and detects their state
// anew; another tab rebuilds them.
TEST(TutorialsPage, ReactivationKeepsTheRowsButDetectsThemAgain) {
    CatalogueServer server;
    server.publish("774tutorials.ini.txt", tutorialList());
    ScriptedPrompter prompter;
    kdDInstallTutorials page("Test - Tutorials");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    HWND pageWindow = host.pageWindow();
    auto& tutorials = static_cast<DTabTutorials&>(page.tabCtrl().tabDialog());
    ASSERT_EQ(3u, tutorials.rows.size());
    HWND name = tutorials.rows[0].nameLabel, install = ::GetDlgItem(tutorials.hwnd(), 45001 + 3);
    EXPECT_EQ("Not Installed", hnWindowText(tutorials.rows[0].statusLabel));

    // Installed behind the page's back: the next activation shows it on the
    // same controls.
    std::string profile = userContentFolder("Profiles") + "FirstTut",
                folder = userContentFolder("Tutorials") + "First Steps";
    makeFolders(profile);
    makeFolders(folder);
    writeTextFile(profile + "\\Orvanto.Opb", "opb");
    writeTextFile(folder + "\\FirstTut.pdf", "pdf");
    NMHDR header = {host.sheetWindow(), 0, static_cast<UINT>(PSN_SETACTIVE)};
    ::SendMessageA(pageWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    ASSERT_EQ(3u, tutorials.rows.size());
    EXPECT_EQ(name, tutorials.rows[0].nameLabel);
    EXPECT_EQ(install, ::GetDlgItem(tutorials.hwnd(), 45001 + 3));
    EXPECT_EQ("Installed", hnWindowText(tutorials.rows[0].statusLabel));
    EXPECT_FALSE(controlEnabled(tutorials.hwnd(), 45001 + 3));
    EXPECT_TRUE(controlVisible(tutorials.hwnd(), 45000)); // remove

    // Another tab rebuilds them.
    selectTab(page, 2, pageWindow);
    ASSERT_EQ(1u, tutorials.rows.size());
    EXPECT_EQ("Python Tools", hnWindowText(tutorials.rows[0].nameLabel));
    deleteFolderTree(profile.c_str(), profile.c_str());
    deleteFolderTree(folder.c_str(), folder.c_str());
}

TEST(ResourcesPage, LinksPicturesAndWhatTheyOpen) {
    CatalogueServer server;
    std::string files = serverUrl() + "/files/orvanto/resources/";
    std::string resourcesFolder = "C:\\orvanto-fixtures\\catalogue\\orvanto\\resources\\";
    makeFolders(resourcesFolder);
    writeTextFile(resourcesFolder + "small.png", pngResource(206)); // 24 pixels
    writeTextFile(resourcesFolder + "broken.png", "\x89PNG\r\n\x1a\n not a picture");
    writeTextFile(resourcesFolder + "guide.pdf", "%PDF-1.4 guide");
    writeTextFile(resourcesFolder + "wide.png", greyPng(2000, 1000));
    std::string list =
        "[00 Links]\r\nName=Left though third\r\nURL=http://127.0.0.1/third.html\r\nColumn=3\r\n";
    for (int k = 1; k <= 13; ++k)
        list += hnFormatText("[%02d Links]\r\nName=Note %d\r\nURL=http://127.0.0.1/note%d.html\r\n", k, k, k);
    list += "[14 Links]\r\nName=Guide\r\nURL=" + files + "guide.pdf\r\nColumn=2\r\n";
    list += "[15 Links]\r\nName=Hostile\r\nURL=file:///C:/windows/notepad.exe\r\nColumn=2\r\n";
    list += "[20 Pictures]\r\nName=Small\r\nURL=http://127.0.0.1/small.html\r\nImageURL=" + files +
            "small.png\r\n";
    list += "[21 Pictures]\r\nName=Broken\r\nURL=http://127.0.0.1/broken.html\r\nImageURL=" + files +
            "broken.png\r\n";
    list += "[22 Pictures]\r\nName=Photo\r\nURL=http://127.0.0.1/photo.html\r\nImageURL=" + files +
            "photo.jpg\r\n";
    list += "[23 Pictures]\r\nName=Plain\r\nURL=http://127.0.0.1/plain.html\r\n";
    list +=
        "[24 Pictures]\r\nName=Wide\r\nURL=http://127.0.0.1/wide.html\r\nImageURL=" + files + "wide.png\r\n";
    server.publish("774resorces.ini.txt", list);
    RecordingShell shell;
    ScriptedPrompter prompter;
    DebugCapture debug;
    kdDInstallOrvantoResourcesDynamic page("Test - Resources");
    PageHost host(page);
    HWND pageWindow = host.pageWindow();
    ASSERT_NE(nullptr, pageWindow);
    // The list and then its pictures come behind the page.
    ASSERT_TRUE(awaitFreshList(page));
    ASSERT_TRUE(waitFor([&] { return !page.fetchingPictures(); }, 30000));
    EXPECT_TRUE(prompter.records.empty()) << describeRecords(prompter);
    EXPECT_EQ((std::vector<std::string>{" Links", " Pictures"}), tabTexts(page.tabCtrl().hwnd()));
    auto& resources = static_cast<DTabResources&>(page.tabCtrl().tabDialog());
    HWND tab = resources.hwnd();
    ASSERT_EQ(16, resources.itemCount);
    EXPECT_FALSE(resources.showsPictures);
    // Column 3 and no column go left, at most twelve; column 2 goes right.
    EXPECT_EQ("Left though third", controlText(tab, 44000));
    EXPECT_NE(nullptr, ::GetDlgItem(tab, 44011));
    EXPECT_EQ(nullptr, ::GetDlgItem(tab, 44012));
    EXPECT_TRUE(
        debug.contains("DTabResources::updateResourcesList() -  links. Unable to display all elements from "
                       "column 1.\n"));
    EXPECT_EQ("Guide", controlText(tab, 44000 + 14 + 500));
    RECT right = controlRect(tab, 44000 + 14 + 500);
    EXPECT_EQ(336, right.left);

    // A web link opens in the browser; a document is fetched, then opened.
    clickLink(tab, 44001);
    clickLink(tab, 44000 + 14 + 500);
    std::vector<std::string> lines = shell.lines(2, 30000);
    EXPECT_TRUE(recorded(lines, "http://127.0.0.1/note1.html"));
    EXPECT_TRUE(recorded(lines, "Resources\\15_0_0\\guide.pdf"));
    // Anything but a web address is refused, with the reason.
    clickLink(tab, 44000 + 15 + 500);
    EXPECT_TRUE(said(
        prompter, "Unable to open hyperlink:\n\nThe operating system denied\naccess to the specified file."));
    EXPECT_EQ(2u, shell.lines().size());

    // The picture tab: every item is a picture; the ones that cannot be
    // shown (undecodable, JPEG, none) show the emblem.
    std::string folder = testProgramFolder() + "\\..\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::ShowWindow(host.sheetWindow(), SW_SHOW);
    pumpMessages(300);
    uidriver::Installer::screenshot(host.sheetWindow(), folder + "\\catalogue_resources_links.bmp");
    selectTab(page, 1, pageWindow);
    tab = resources.hwnd();
    ASSERT_EQ(5, resources.itemCount);
    EXPECT_TRUE(resources.showsPictures);
    EXPECT_TRUE(fileExists(cacheFolder(cache::kResources) + "\\small.png")); // fetched after the list
    EXPECT_EQ(24, resources.items[0].imageButton->width());
    for (int k = 1; k < 4; ++k)
        EXPECT_EQ(64, resources.items[static_cast<std::size_t>(k)].imageButton->width()) << k;
    EXPECT_EQ("", resources.items[2].imagePath); // a JPEG is no picture
    // A 2000-pixel picture is scaled into its cell, aspect kept.
    EXPECT_EQ(64, resources.items[4].imageButton->width());
    EXPECT_EQ(32, resources.items[4].imageButton->height());
    RECT cell = controlRect(tab, 45004);
    EXPECT_EQ(64, cell.right - cell.left);
    pumpMessages(300);
    uidriver::Installer::screenshot(host.sheetWindow(), folder + "\\catalogue_resources_pictures.bmp");
    clickButton(tab, 45000);
    EXPECT_TRUE(recorded(shell.lines(3, 30000), "http://127.0.0.1/small.html"));
    ::SendMessageA(tab, kDynamicButtonMessage, 99, 0);
    EXPECT_TRUE(said(prompter, "Error: Unable to locate the link. Please try again."));

    // The server's list gone: the cached one is used, and the user is told.
    server.withdraw("774resorces.ini.txt");
    prompter.records.clear();
    EXPECT_EQ(1, page.refreshCatalogue(true, false));
    EXPECT_TRUE(said(prompter, "Using default list of resources."));
}

namespace {
// What the resources' cache folder holds besides the list.
std::vector<std::string> resourceFilesBesideTheList() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    hnScopedFind search(::FindFirstFileA((cacheFolder(cache::kResources) + "\\*").c_str(), &found));
    if (!search)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            std::string(found.cFileName) != "774resorces.ini.txt")
            names.push_back(found.cFileName);
    while (::FindNextFileA(search.get(), &found));
    return names;
}
} // namespace

// The page shows its cached list at once while the server holds back both
// the fresh list and the pictures: a picture not yet there shows the emblem,
// no download dialog waits, and leaving the page ends both fetches. What a
// fetch left to finish brings later is whole or nothing.
TEST(ResourcesPage, ShowsAtOnceWhilePicturesComeAndLeavingStopsThem) {
    CatalogueServer server;
    std::string folder = cacheFolder(cache::kResources);
    makeFolders(folder);
    deleteFileForced(folder + "\\held.png");
    const std::string body = "held back";
    ScriptedPrompter prompter;
    {
        SlowRepository slow(body, 120000);
        ASSERT_TRUE(slow.listening());
        char slowUrl[256] = {}; // the held picture comes from the slow server too
        ::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", slowUrl, sizeof(slowUrl));
        writeTextFile(folder + "\\774resorces.ini.txt", "[20 Pictures]\r\nName=Held\r\nURL=http://127.0.0.1/"
                                                        "held.html\r\nImageURL=" +
                                                            std::string(slowUrl) + "/held.png\r\n");
        kdDInstallOrvantoResourcesDynamic page("Test - Resources");
        DWORD start = ::GetTickCount();
        PageHost host(page);
        EXPECT_LT(::GetTickCount() - start, 30000u) << "the page waited for the server";
        EXPECT_TRUE(page.fetchingList());
        EXPECT_TRUE(page.fetchingPictures());
        EXPECT_EQ((std::vector<std::string>{" Pictures"}), tabTexts(page.tabCtrl().hwnd()));
        auto& resources = static_cast<DTabResources&>(page.tabCtrl().tabDialog());
        ASSERT_EQ(1, resources.itemCount);
        ASSERT_TRUE(resources.items[0].imageButton);
        EXPECT_EQ(64, resources.items[0].imageButton->width()) << "the emblem shows";
        EXPECT_TRUE(prompter.records.empty()) << describeRecords(prompter);

        start = ::GetTickCount();
        host.pressNext();
        EXPECT_TRUE(host.onSecondPage());
        EXPECT_FALSE(page.fetchingPictures());
        EXPECT_FALSE(page.fetchingList());
        EXPECT_LT(::GetTickCount() - start, 30000u) << "leaving waited for the server";
    } // the server ends its delays: a worker left to finish ends too
    waitFor([] { return resourceFilesBesideTheList().empty(); }, 5000);
    for (const std::string& name : resourceFilesBesideTheList()) {
        EXPECT_EQ("held.png", name) << "a partial file stayed";
        EXPECT_EQ(body, readTextFile(folder + "\\" + name));
    }
    EXPECT_TRUE(prompter.records.empty()) << describeRecords(prompter);
    deleteFileForced(folder + "\\held.png");
    deleteFileForced(folder + "\\774resorces.ini.txt");
}

TEST(Hyperlink, ReasonsAndRefusedTargets) {
    EXPECT_EQ("A sharing violation occurred. ", shellErrorReason(26));
    EXPECT_EQ("There is no application associated\nwith the given filename extension.", shellErrorReason(31));
    EXPECT_EQ("Unknown Error (42) occurred.", shellErrorReason(42));
    ScriptedPrompter prompter;
    int code = 0;
    EXPECT_EQ(-1, openResourceLink("C:\\Windows\\notepad.exe", "x", &code, nullptr));
    EXPECT_EQ(5, code);
    // A document address without a file name is told about; one whose name
    // climbs out of the cache is refused before anything is fetched.
    EXPECT_EQ(-1, openResourceLink("guide.pdf", "x", &code, nullptr));
    EXPECT_EQ(-1, code);
    EXPECT_TRUE(said(
        prompter, "Error: Unable to parse the download path for the selected resource. Please try again."));
    EXPECT_EQ(-1, openResourceLink("http://127.0.0.1/a/..%5C..%5Cx/CON.pdf", "x", &code, nullptr));
    EXPECT_EQ(5, code);
    EXPECT_EQ(-1, openResourceLink("http://127.0.0.1/a/x.pdf:stream.pdf", "x", &code, nullptr));
    EXPECT_EQ(5, code);
}

TEST(ReleaseNotesPage, LongNotesCacheAndNoCopy) {
    CatalogueServer server;
    std::string notes = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Readme";
    for (int k = 0; k < 2000; ++k)
        notes += hnFormatText("\\par Note %d of the release: a line of fifty characters.", k);
    notes += "\\par The end.}";
    server.publish("774readme.rtf", notes);
    ScriptedPrompter prompter;
    kdDInstallReleaseNotes page("Test - Readme Notes");
    PageHost host(page);
    ASSERT_TRUE(waitFor([&] { return !page.fetchingReadme(); }, 30000));
    HWND pageWindow = host.pageWindow();
    ASSERT_NE(nullptr, pageWindow);
    HWND text = ::GetDlgItem(pageWindow, IDC_README_TEXT);
    GETTEXTLENGTHEX length = {GTL_DEFAULT, CP_ACP};
    // Longer than the control's default limit, and not cut: the limit is the
    // shared loader's own (the control would grow a lower one by itself).
    EXPECT_EQ(kRichTextLimit, ::SendMessageA(text, EM_GETLIMITTEXT, 0, 0));
    EXPECT_GT(::SendMessageA(text, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0), 100000);
    EXPECT_NE(std::string::npos, hnWindowText(text).find("The end."));
    std::string folder = testProgramFolder() + "\\..\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::ShowWindow(host.sheetWindow(), SW_SHOW);
    pumpMessages(300);
    uidriver::Installer::screenshot(host.sheetWindow(), folder + "\\catalogue_readme.bmp");

    // Server copy gone: the cached copy stays, the refresh says so.
    server.withdraw("774readme.rtf");
    clickButton(pageWindow, IDC_README_REFRESH);
    EXPECT_TRUE(said(prompter, "Using default copy of the Readme file."));
    EXPECT_NE(std::string::npos, hnWindowText(text).find("The end."));
    // A copy over the cap is not streamed, one with nothing readable is not
    // shown; both are told about in the control and kept.
    std::string copy = cacheFolder(cache::kReadme) + "\\774readme.rtf";
    writeTextFile(copy, std::string(static_cast<std::size_t>(kRichTextFileCap) + 1, ' '));
    EXPECT_FALSE(page.loadReadme(false, false));
    EXPECT_EQ(kRichTextTooLargeText, hnWindowText(text));
    EXPECT_TRUE(fileExists(copy));
    writeTextFile(copy, "");
    EXPECT_FALSE(page.loadReadme(false, false));
    EXPECT_EQ(kRichTextUnreadableText, hnWindowText(text));
    EXPECT_TRUE(fileExists(copy));
    // No copy at all: the error text, and no message without the user asking.
    CatalogueServer::clearCaches();
    prompter.records.clear();
    EXPECT_FALSE(page.loadReadme(false, false));
    EXPECT_EQ("Error: Unable to get the 'Readme Notes' from the server.\r\nPlease try again.",
              hnWindowText(text));
    EXPECT_TRUE(prompter.records.empty());
}

// The cached notes show at once while the server holds the fresh ones back
// and Refresh waits; the fresh notes then replace them, as the cached copy.
// Without either, the page says so once the fetch has failed, and nothing
// more.
TEST(ReleaseNotesPage, TheCachedNotesShowAtOnceAndTheFreshOnesReplaceThem) {
    CatalogueServer server;
    std::string copy = cacheFolder(cache::kReadme) + "\\774readme.rtf";
    makeFolders(cacheFolder(cache::kReadme));
    writeTextFile(copy, "{\\rtf1\\ansi Cached notes.}");
    const std::string fresh = "{\\rtf1\\ansi Fresh notes.}";
    ScriptedPrompter prompter;
    {
        SlowRepository slow(fresh, 5000);
        kdDInstallReleaseNotes page("Test - Readme Notes");
        PageHost host(page);
        HWND text = ::GetDlgItem(host.pageWindow(), IDC_README_TEXT);
        ASSERT_TRUE(page.fetchingReadme()) << "the activation waited for the notes";
        EXPECT_EQ("Cached notes.", hnWindowText(text));
        clickButton(host.pageWindow(), IDC_README_REFRESH); // a refresh would fetch them itself
        EXPECT_TRUE(page.fetchingReadme());
        ASSERT_TRUE(waitFor([&] { return !page.fetchingReadme(); }, 30000));
        EXPECT_EQ("Fresh notes.", hnWindowText(text));
        EXPECT_EQ(fresh, readTextFile(copy));
    }
    CatalogueServer::clearCaches();
    kdDInstallReleaseNotes page("Test - Readme Notes");
    PageHost host(page);
    HWND text = ::GetDlgItem(host.pageWindow(), IDC_README_TEXT);
    ASSERT_TRUE(waitFor([&] { return !page.fetchingReadme(); }, 30000));
    EXPECT_EQ("Error: Unable to get the 'Readme Notes' from the server.\r\nPlease try again.",
              hnWindowText(text));
    EXPECT_TRUE(prompter.records.empty()) << describeRecords(prompter);
}

namespace {
// Keeps the user's help-window settings file and puts it back at the end.
class SavedSettings {
public:
    SavedSettings() {
        DHelp2::helpSettingsPath(&path);
        had_ = fileExists(path);
        if (had_)
            content_ = readTextFile(path);
        ::DeleteFileA(path.c_str());
    }
    ~SavedSettings() {
        if (had_)
            writeTextFile(path, content_);
        else
            ::DeleteFileA(path.c_str());
    }
    void write(int left, int right, int top, int bottom) const {
        writeTextFile(path, hnFormatText("[HelpWindowPosition]\r\nLeftPos=%d\r\nRightPos=%d\r\nTopPos=%d\r\n"
                                         "BottomPos=%d\r\n",
                                         left, right, top, bottom));
    }
    std::string path;

private:
    bool had_ = false;
    std::string content_;
};
} // namespace

TEST(HelpWindow, DocumentPositionAndLayout) {
    CatalogueServer server;
    SavedSettings settings;
    makeFolders(std::string(kListFolder) + "\\HelpFiles");
    writeTextFile(std::string(kListFolder) + "\\HelpFiles\\774Help - Tutorials.rtf",
                  "{\\rtf1\\ansi Help of the tutorials page}");
    std::string nameText, statusText, progressText;
    hnInstallationElement element(
        "Orvanto Vision Software Help File - Orvanto Vision Tutorials",
        (serverUrl() +
         "/files/orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware/HelpFiles/"
         "774Help - Tutorials.rtf")
            .c_str(),
        "774Help - Tutorials.rtf", "", cacheFolder(cache::kHelp).c_str(), false, 0, true, &nameText,
        &statusText, &progressText, "Help Files");
    ScriptedPrompter prompter;

    // Saved places that are no places keep the default one.
    struct Case {
        int left, right, top, bottom, result;
    };
    for (const Case& c : {Case{0, 0, 0, 0, -2}, Case{100, 50, 0, 400, -3}, Case{0, 0, 10, 0, -3},
                          Case{10, 600, 400, 300, -4}, Case{-32000, -31840, -32000, -31972, -5}}) {
        settings.write(c.left, c.right, c.top, c.bottom);
        DHelp2 help(element.name, element);
        EXPECT_EQ(c.result, help.restoreHelpWindowPosition()) << c.left << "," << c.right;
    }

    // A title bar off the work area brings the window onto it; a size larger
    // than the work area is clamped to it.
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    struct Place {
        int left, right, top, bottom;
    };
    for (const Place& p : {Place{work.right - 100, work.right + 500, 100, 600},
                           Place{200, 800, work.top - 10, work.top + 500}, Place{-50, 30000, -40, 30000}}) {
        settings.write(p.left, p.right, p.top, p.bottom);
        DHelp2 help(element.name, element);
        ASSERT_TRUE(help.create(nullptr));
        EXPECT_EQ(1, help.restoreHelpWindowPosition());
        RECT window;
        ::GetWindowRect(help.hwnd(), &window);
        EXPECT_GE(window.left, work.left) << p.left;
        EXPECT_GE(window.top, work.top) << p.top;
        EXPECT_LE(window.right, work.right) << p.left;
        EXPECT_LE(window.bottom, work.bottom) << p.top;
        if (p.left == work.right - 100) {
            EXPECT_EQ(600, window.right - window.left); // moved, not resized
            ::ShowWindow(help.hwnd(), SW_SHOW);
            pumpMessages(200);
            std::string shots = testProgramFolder() + "\\..\\screenshots";
            ::CreateDirectoryA(shots.c_str(), nullptr);
            uidriver::Installer::screenshot(help.hwnd(), shots + "\\catalogue_help_offscreen.bmp");
        }
        help.destroy();
    }

    settings.write(40, 300, 30, 200); // smaller than the smallest size
    DHelp2 help(element.name, element);
    ASSERT_TRUE(help.create(nullptr));
    ::ShowWindow(help.hwnd(), SW_SHOW);
    pumpMessages(200);
    EXPECT_EQ(element.name, hnWindowText(help.hwnd()));
    EXPECT_EQ("Help of the tutorials page", hnWindowText(help.item(IDC_HELP_TEXT)));
    RECT window;
    ::GetWindowRect(help.hwnd(), &window);
    EXPECT_EQ(40, window.left);
    EXPECT_EQ(30, window.top);
    EXPECT_EQ(DHelp2::kMinWidth, window.right - window.left);
    EXPECT_EQ(DHelp2::kMinHeight, window.bottom - window.top);
    // The layout follows the client area.
    ::MoveWindow(help.hwnd(), 50, 60, 700, 520, TRUE);
    pumpMessages(100);
    RECT client, ok, text;
    ::GetClientRect(help.hwnd(), &client);
    ok = controlRect(help.hwnd(), IDOK);
    text = controlRect(help.hwnd(), IDC_HELP_TEXT);
    EXPECT_EQ(client.right / 2 - 40, ok.left);
    EXPECT_EQ(client.bottom - 35, ok.top);
    EXPECT_EQ(client.right - 30, text.right - text.left);
    EXPECT_EQ(client.right - 95, controlRect(help.hwnd(), IDC_HELP_REFRESH).left);
    std::string folder = testProgramFolder() + "\\..\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    uidriver::Installer::screenshot(help.hwnd(), folder + "\\catalogue_help_window.bmp");

    // OK saves the place; a minimised window saves its normal place.
    ::ShowWindow(help.hwnd(), SW_MINIMIZE);
    pumpMessages(100);
    clickButton(help.hwnd(), IDOK);
    EXPECT_EQ("50", readIniValue(settings.path, "HelpWindowPosition", "LeftPos"));
    EXPECT_EQ("580", readIniValue(settings.path, "HelpWindowPosition", "BottomPos"));
    help.destroy();
    EXPECT_TRUE(prompter.records.empty());
}

// A tutorial archive without its document, or whose profile archive unpacks
// into another profile's folder, says so and leaves no folder behind.
TEST(TutorialsPage, AnArchiveLackingItsPartsOrReachingElsewhereSaysSoAndLeavesNothing) {
    CatalogueServer server;
    server.publish("774tutorials.ini.txt",
                   "[01 A]\r\nCaption=No Document\r\nProfileName=NoDoc\r\nProfileZIP=NoDoc.zip\r\n"
                   "PDFName=Missing.pdf\r\nURL=" +
                       CatalogueServer::zip("tutorial_NoDoc") +
                       "\r\n[01 A]\r\nCaption=Elsewhere\r\nProfileName=Mine\r\nProfileZIP=Theirs.zip\r\n"
                       "PDFName=Theirs.pdf\r\nURL=" +
                       CatalogueServer::zip("tutorial_Theirs") + "\r\n");
    ScriptedPrompter prompter;
    kdDInstallTutorials page("Test - Tutorials");
    PageHost host(page);
    ASSERT_TRUE(awaitFreshList(page));
    auto& tutorials = static_cast<DTabTutorials&>(page.tabCtrl().tabDialog());
    ASSERT_EQ(2u, tutorials.rows.size());
    std::string tutorialsFolder = userContentFolder("Tutorials"), profiles = userContentFolder("Profiles");
    ::SendMessageA(tutorials.hwnd(), kDynamicButtonMessage, 0, TutorialInstall);
    EXPECT_TRUE(said(prompter, "Error: The tutorial archive holds no document 'Missing.pdf'."));
    EXPECT_FALSE(fileExists(tutorialsFolder + "No Document"));
    EXPECT_FALSE(fileExists(profiles + "NoDoc"));
    ::SendMessageA(tutorials.hwnd(), kDynamicButtonMessage, 1, TutorialInstall);
    EXPECT_FALSE(fileExists(tutorialsFolder + "Elsewhere\\Theirs.pdf"));
    EXPECT_FALSE(fileExists(profiles + "Theirs"));
    EXPECT_FALSE(fileExists(profiles + "Mine"));
    EXPECT_FALSE(tutorials.rows[1].installed);
}
