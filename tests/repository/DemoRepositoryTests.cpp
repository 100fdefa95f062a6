// The demo repository against the shipped installation path: every installable
// of the prerequisites and core pages is downloaded from the served repository
// (ORVANTO_REPOSITORY_URL, set by the launcher), run by the download-and-install
// dialog, detected, and removed again where removal is supported. The machine
// is swept of the repository's products before and after the run, so a killed
// run does not leave the next one a machine with half of them installed.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include <windows.h>
#include <msi.h>

#include "app/FileHelpers.h"
#include "main/InstallerApp.h"
#include "app/SystemView.h"
#include "install/CheckInstallations.h"
#include "install/ComponentActions.h"
#include "install/InstallManager.h"
#include "install/PythonEnvironment.h"
#include "pages/CoreComponentsPage.h"
#include "pages/PreRequisitesPage.h"
#include "pages/Py27ExtensionsNewPage.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "process/ProcessLaunch.h"
#include "python/Python27Functions.h"
#include "pages_ids.h"
#include "pages/PageTestSupport.h"
#include "python/PythonSelection.h"
#include "support/DemoRepository.h"
#include "support/TestSupport.h"

namespace {

const char* const kPython36Key = "{b43c5985-05a6-4dc7-be5f-85f504d498d0}";

// Rows by the names the pages give them.
const char* const kVc2005 = "MS VC++ 2005 SP1 Redist";
const char* const kVc2008 = "MS VC++ 2008 SP1 Redist";
const char* const kVc2010 = "MS VC++ 2010 SP1 Redist";
const char* const kVc2017 = "MS VC++ 2017 Redist 14.15.26706";
const char* const kVc2019 = "MS VC++ 2015-2019 Redist (x86) 14.26.28720";
const char* const kDotNet = "Microsoft .Net 2.0.50727.42 Redist";
const char* const kMsi31 = "Windows Installer 3.1";
const char* const kPy279Row = "Python 2.7.9";
const char* const kPy2713Row = "Python 2.7.13";
const char* const kPy366Row = "Python 3.6.6";
const char* const kRuntime = "Orvanto Version XV 15.0.0.774 Runtime";
const char* const kVision = "Orvanto Vision Software Version XV 15.0.0.774";
const char* const kSdk = "Orvanto Kadrix SDK XV 774 Installer";

// The prerequisites and core pages, without windows: their own builders make
// the elements, so the repository is checked against exactly what they offer
// (the VC++ row the prerequisites page does not show is its alternative).
class PageOffers {
public:
    PageOffers() : prerequisites_("Demo"), core_("Demo") { core_.initInstallationElements(); }
    // A copy of the element the pages build under `name`; fails the test
    // when no page offers it.
    hnInstallationElement element(const std::string& name) const {
        for (const hnInstallManagerBase* manager :
             {prerequisites_.installManager.get(), prerequisites_.alternativeManager.get(),
              core_.installManager.get()})
            for (unsigned i = 0; i < manager->count(); ++i)
                if (manager->item(i)->name == name)
                    return *manager->item(i);
        ADD_FAILURE() << "no page offers " << name;
        return hnInstallationElement(name.c_str(), "", "", "", "", false, 0, false, nullptr, nullptr, nullptr,
                                     "");
    }
    // Every name the two pages offer, the alternative VC++ row included.
    std::set<std::string> names() const {
        std::set<std::string> all;
        for (const hnInstallManagerBase* manager :
             {prerequisites_.installManager.get(), prerequisites_.alternativeManager.get(),
              core_.installManager.get()})
            for (unsigned i = 0; i < manager->count(); ++i)
                all.insert(manager->item(i)->name);
        return all;
    }

private:
    kdDInstallPreRequisites prerequisites_;
    kdDInstallCoreComponentsSoftware core_;
};

// Elements of the pages on rows of their own: the strings the elements point
// to and the manager with the shipped actions over them.
class Rows {
public:
    explicit Rows(const std::vector<const char*>& names) {
        PageOffers pages;
        fill(names, [&pages](const std::string& name) { return pages.element(name); });
    }
    // The elements a page's own manager holds under these names.
    Rows(const std::vector<const char*>& names, const hnInstallManagerBase& offers) {
        fill(names, [&offers](const std::string& name) {
            if (const hnInstallationElement* element = offers.findElementByName(name))
                return *element;
            ADD_FAILURE() << "the page offers no " << name;
            return hnInstallationElement(name.c_str(), "", "", "", "", false, 0, false, nullptr, nullptr,
                                         nullptr, "");
        });
    }
    int last() const { return static_cast<int>(strings_.size()) - 1; }
    const std::string& status(int i) const { return strings_[static_cast<std::size_t>(i)].status; }
    const std::string& progress(int i) const { return strings_[static_cast<std::size_t>(i)].progress; }
    std::string name(int i) const { return manager.item(static_cast<unsigned>(i))->name; }
    const hnInstallationElement& element(int i) const { return *manager.item(static_cast<unsigned>(i)); }
    // Refreshes and answers the rows whose status is not `word` ("" when all are).
    std::string notAll(const char* word) {
        manager.refreshStatuses(0, last());
        std::string odd;
        for (int i = 0; i <= last(); ++i)
            if (status(i) != word)
                odd += name(i) + ": " + status(i) + "; ";
        return odd;
    }

    hnInstallManagerBase manager;

private:
    void fill(const std::vector<const char*>& names,
              const std::function<hnInstallationElement(const std::string&)>& offer) {
        std::vector<std::unique_ptr<hnInstallationElement>> owned;
        std::vector<hnInstallationElement*> elements;
        for (const char* name : names) {
            strings_.emplace_back();
            Strings& s = strings_.back();
            owned.emplace_back(new hnInstallationElement(offer(name)));
            owned.back()->nameText = &s.name;
            owned.back()->statusText = &s.status;
            owned.back()->progressText = &s.progress;
            s.name = name;
            elements.push_back(owned.back().get());
        }
        manager.setElements(static_cast<unsigned>(elements.size()), elements.data());
        manager.refreshStatuses(0, last());
    }

    struct Strings {
        std::string name, status, progress;
    };
    std::deque<Strings> strings_;
};

bool readUninstallValue(const char* key, const char* name, std::string& value) {
    return hnCheckInstallations::readUninstallValue(key, name, value);
}

std::string machinePath() {
    std::string path;
    hnRegReadString(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Environment",
                    "Path", path, 65536);
    return path;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class Sweep : public ::testing::Environment {
public:
    // The fleet test's reference PC keeps what its case installed: that run
    // names itself in ORVANTO_FLEET_REFERENCE.
    void SetUp() override {
        if (::GetEnvironmentVariableA("ORVANTO_FLEET_REFERENCE", nullptr, 0) == 0)
            guard = std::make_unique<DemoMachineGuard>();
    }
    void TearDown() override { guard.reset(); }
    std::unique_ptr<DemoMachineGuard> guard;
};
::testing::Environment* const sweep = ::testing::AddGlobalTestEnvironment(new Sweep);

// The runtime's state depends on the selected interpreter: these tests select
// Python 2.7.9 and give the previous choice back.
class SelectionGuard {
public:
    SelectionGuard() : had_(getPythonVersionSelection(&saved_) == 1) {
        setPythonVersionSelection(kPython279);
    }
    ~SelectionGuard() {
        if (had_)
            setPythonVersionSelection(saved_.c_str());
    }

private:
    std::string saved_;
    bool had_;
};

TEST(DemoRepository, IsServedBesideThisProgram) {
    char url[256] = {};
    ASSERT_GT(::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", url, sizeof(url)), 0u)
        << "run beside scripts/serve-repository";
    EXPECT_EQ(0u, std::string(url).find("http://127.0.0.1:"));
}

// The cases below install every row the pages offer, and nothing else.
TEST(DemoRepository, CasesCoverExactlyWhatThePagesOffer) {
    std::set<std::string> covered = {kVc2005,   kVc2008,    kVc2010,   kVc2017,  kVc2019, kDotNet, kMsi31,
                                     kPy279Row, kPy2713Row, kPy366Row, kRuntime, kVision, kSdk};
    EXPECT_EQ(covered, PageOffers().names());
}

TEST(DemoRepository, RedistributablesInstallAndTheRemovableOnesGoAgain) {
    ScriptedPrompter prompter;
    Rows rows({kVc2005, kVc2008, kVc2010, kVc2017, kVc2019, kDotNet, kMsi31});
    EXPECT_EQ(1, rows.manager.installRange(0, rows.last(), false, false, false));
    EXPECT_EQ("", rows.notAll(kStatusInstalled));
    for (int i = 0; i <= rows.last(); ++i)
        EXPECT_EQ("Ok", rows.progress(i)) << rows.name(i);
    EXPECT_TRUE(prompter.records.empty()) << prompter.records.front().text;

    // The two later redistributables register themselves as their vendor's
    // bootstrappers do: an Uninstall entry that starts a cached copy.
    std::string name, command;
    EXPECT_TRUE(readUninstallValue("{7e9fae12-5bbf-47fb-b944-09c49e75c061}", "DisplayName", name));
    EXPECT_EQ("Microsoft Visual C++ 2017 Redistributable (x86) - 14.15.26706", name);
    ASSERT_TRUE(readUninstallValue("{86380aef-fd23-4fc3-8723-a98ccad8f2c6}", "UninstallString", command));
    EXPECT_EQ('"', command[0]);
    EXPECT_TRUE(contains(command, "\\Package Cache\\{86380aef-fd23-4fc3-8723-a98ccad8f2c6}\\"
                                  "VC_14.26.28720.3_redist_x86.exe\" /uninstall"))
        << command;

    // The VC++ rows have a removal; .NET 2.0 and Windows Installer 3.1 none.
    EXPECT_EQ(1, rows.manager.uninstallRange(0, 4, false));
    rows.manager.refreshStatuses(0, rows.last());
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(kStatusNotInstalled, rows.status(i)) << rows.name(i);
    EXPECT_EQ(kStatusInstalled, rows.status(5));
    EXPECT_FALSE(readUninstallValue("{7e9fae12-5bbf-47fb-b944-09c49e75c061}", "DisplayName", name));
}

TEST(DemoRepository, InterpretersInstallWithTheirFilesKeysAndRemovalCommands) {
    ScriptedPrompter prompter;
    SelectionGuard selection;
    Rows rows({kPy279Row, kPy2713Row, kPy366Row});
    std::string system, folder27, folder36;
    ASSERT_TRUE(hnSystemFolder(system));

    // 2.7.9, then 2.7.13 in its place: only one of them at a time counts.
    EXPECT_EQ(1, rows.manager.installRange(0, 0, false, false, false));
    rows.manager.refreshStatuses(0, rows.last());
    EXPECT_EQ(kStatusInstalled, rows.status(0));
    EXPECT_EQ(kStatusNotInstalled, rows.status(1));
    ASSERT_TRUE(hnRegReadString(HKEY_LOCAL_MACHINE, "Software\\Python\\PythonCore\\2.7\\InstallPath", nullptr,
                                folder27));
    for (const char* file :
         {"Scripts\\pip.exe", "Doc\\python279.chm", "Tools\\scripts\\2to3.py", "python.exe"})
        EXPECT_TRUE(fileExists(folder27 + file)) << folder27 << file;
    EXPECT_TRUE(fileExists(system + "\\Python27.dll"));
    // The page's Repair: every file replaced from the package's source.
    ASSERT_TRUE(::DeleteFileA((folder27 + "Doc\\python279.chm").c_str()));
    EXPECT_EQ(ERROR_SUCCESS, ::MsiReinstallProductA("{79F081BF-7454-43DB-BD8F-9EE596813232}", 0x40));
    EXPECT_TRUE(fileExists(folder27 + "Doc\\python279.chm"));
    runMsiexecUninstall("{79F081BF-7454-43DB-BD8F-9EE596813232}");
    EXPECT_FALSE(fileExists(system + "\\Python27.dll"));

    EXPECT_EQ(1, rows.manager.installRange(1, 1, false, false, false));
    rows.manager.refreshStatuses(0, rows.last());
    EXPECT_EQ(kStatusNotInstalled, rows.status(0));
    EXPECT_EQ(kStatusInstalled, rows.status(1));
    EXPECT_TRUE(fileExists(folder27 + "Doc\\python2713.chm"));
    runMsiexecUninstall("{4A656C6C-D24A-473F-9747-3A8D00907A03}");

    // 3.6.6: its folder on the Path, its products named for removal and repair
    // by name, and its own removal command.
    EXPECT_EQ(1, rows.manager.installRange(2, 2, false, false, false));
    rows.manager.refreshStatuses(0, rows.last());
    EXPECT_EQ(kStatusInstalled, rows.status(2));
    ASSERT_TRUE(hnRegReadString(HKEY_LOCAL_MACHINE, "Software\\Python\\PythonCore\\3.6-32\\InstallPath",
                                nullptr, folder36));
    for (const char* file :
         {"Scripts\\pip.exe", "Python36.dll", "Doc\\python366.chm", "Tools\\scripts\\2to3.py"})
        EXPECT_TRUE(fileExists(folder36 + file)) << folder36 << file;
    EXPECT_TRUE(contains(machinePath(), folder36 + "Scripts\\"));
    std::vector<std::string> named;
    char code[39];
    for (DWORD i = 0; ::MsiEnumProductsA(i, code) == ERROR_SUCCESS; ++i) {
        std::string name;
        if (hnCheckInstallations::readInstalledProductName(code, name) &&
            name.compare(0, 10, "Python 3.6") == 0)
            named.push_back(code);
    }
    EXPECT_EQ(2u, named.size());
    // Repaired by name as the bootstrapper's own repair would: the packages
    // stay beside its cached copy as their source.
    ASSERT_TRUE(::DeleteFileA((folder36 + "Python36.dll").c_str()));
    for (const std::string& product : named)
        EXPECT_EQ(ERROR_SUCCESS, ::MsiReinstallProductA(product.c_str(), 0x40)) << product;
    EXPECT_TRUE(fileExists(folder36 + "Python36.dll"));
    std::string command;
    ASSERT_TRUE(readUninstallValue(kPython36Key, "UninstallString", command));
    EXPECT_TRUE(runQuotedUninstall(command)) << command;
    rows.manager.refreshStatuses(0, rows.last());
    EXPECT_EQ(kStatusNotInstalled, rows.status(2));
    EXPECT_FALSE(fileExists(folder36 + "Python36.dll"));
    EXPECT_FALSE(contains(machinePath(), folder36));
}

TEST(DemoRepository, CoreComponentsInstallOverTheInterpreterAndGoAgain) {
    ScriptedPrompter prompter;
    SelectionGuard selection;
    Rows python({kPy279Row});
    ASSERT_EQ(1, python.manager.installRange(0, 0, false, false, false));
    Rows rows({kRuntime, kVision, kSdk});
    EXPECT_EQ(1, rows.manager.installRange(0, 1, false, false, false));
    rows.manager.refreshStatuses(0, 1);
    EXPECT_EQ(kStatusInstalled, rows.status(0));
    EXPECT_EQ(kStatusInstalled, rows.status(1));
    // The SDK installer is only fetched; the page looks for the file, not at the row.
    rows.manager.installRange(2, 2, false, false, false);
    EXPECT_EQ(cacheFolder(cache::kKadrixSdkInstaller), rows.element(2).downloadFolder);
    EXPECT_TRUE(fileExists(rows.element(2).downloadFolder + "\\" + rows.element(2).fileName));

    // The runtime folder holds what the Python integration works from.
    std::string runtime;
    ASSERT_TRUE(hnCheckInstallations::getRuntimeFolder(runtime));
    for (const char* entry :
         {"Orvanto.exe", "Documentation", "_RefPython_27\\orvanto.py",
          "_RefPython_27\\Python27\\clr_4_0\\clr.pyd", "_RefPython_27\\Python27\\clr_2_0\\Python.Runtime.dll",
          "_RefPython_36\\orvanto.py", "_Ref_PluginsPy27\\Backup\\Backup.py",
          "_Ref_PluginsPy36\\Backup\\Backup.py", "3.2.1.169\\Matrel Beta\\Python\\matrelct_Py27.py",
          "3.2.1.169\\VC8-IPP\\Python\\matrelct_Py36.py", "OpenCV2_4_3OrOlder\\Python\\cv2.pyd"})
        EXPECT_TRUE(fileExists(runtime + entry)) << runtime << entry;
    // No OpenCV build of its own: those come with the OpenCV rows.
    EXPECT_EQ(0, hnCheckInstallations::countOpenCvInstallations());

    EXPECT_EQ(1, rows.manager.uninstallRange(0, 1, false));
    EXPECT_EQ("", rows.notAll(kStatusNotInstalled));
    EXPECT_FALSE(hnCheckInstallations::getRuntimeFolder(runtime));
}

// An old stand-alone setup writes its "-py2.7" Uninstall key without telling
// pip; with pip's own version of the package beside it both rows read
// "Multiple Versions", and removing the old setup's row takes both away.
TEST(DemoRepository, OldSetupBesidePipsVersionReadsMultipleVersionsAndGoesWithIt) {
    ScriptedPrompter prompter;
    SelectionGuard selection;
    Rows python({kPy279Row});
    ASSERT_EQ(1, python.manager.installRange(0, 0, false, false, false));
    kdDInstallPY27ExtensionsNew page("Demo");
    Rows rows({"numpy-1.10.2-python2.7", "numpy-1.16.4-cp27-cp27m-win32"}, *page.componentManager);
    std::string name;

    EXPECT_EQ(1, rows.manager.installRange(0, 0, false, false, false));
    EXPECT_TRUE(readUninstallValue("numpy-py2.7", "DisplayName", name));
    EXPECT_EQ("Python 2.7 numpy-1.10.2", name);
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("numpy"));
    // The old setup's key makes the wheel row count as installed, so pip's
    // version comes the way a user's own pip run would bring it.
    hnInstallationElement& wheel = *rows.manager.item(1);
    bool aborted = false;
    ASSERT_EQ(1, rows.manager.actions().downloadElement(wheel, aborted, 1, 1));
    EXPECT_TRUE(pythonEnvironment().installPy27Wheel(nullptr, wheel.downloadFolder + "\\" + wheel.fileName,
                                                     "numpy", "1.16.4", false));
    EXPECT_TRUE(hnCheckInstallations::checkPy27ModuleWhlInstallation("numpy"));
    EXPECT_EQ("", rows.notAll(kStatusMultipleVersions));

    EXPECT_EQ(1, rows.manager.uninstallRange(0, 0, false));
    EXPECT_EQ("", rows.notAll(kStatusNotInstalled));
    EXPECT_FALSE(readUninstallValue("numpy-py2.7", "DisplayName", name));
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("numpy"));
    for (const auto& record : prompter.records)
        ADD_FAILURE() << record.text;
    runMsiexecUninstall("{79F081BF-7454-43DB-BD8F-9EE596813232}");
}

// Install All of a package set with one wheel missing on the server: every
// wheel is fetched before anything runs, so the set's numpy in another
// version stays and nothing is installed; the user is told.
TEST(DemoRepository, PackageSetWithAWheelMissingOnTheServerChangesNothing) {
    ScriptedPrompter prompter;
    prompter.fallback = IDYES;
    SelectionGuard selection;
    Rows python({kPy279Row});
    ASSERT_EQ(1, python.manager.installRange(0, 0, false, false, false));
    ScratchFolder files;
    std::string older = files.file("numpy-1.10.0-cp27-cp27m-win32.whl");
    ASSERT_TRUE(writeTextFile(older, "stand-in package"));
    ASSERT_TRUE(pythonEnvironment().installPy27Wheel(nullptr, older, "numpy", "1.10.0", false));
    {
        kdDInstallPY27ExtensionsNew page("Demo");
        PageHost host(page);
        HWND window = host.pageWindow();
        // The sets' list and pip's listing arrive on the page's worker.
        ASSERT_TRUE(waitFor([&] { return !page.checking(); }, 60000));
        ASSERT_TRUE(chooseItem(window, IDC_PYPKG_COMBO, "Orvanto 15.0 Deep Learning"))
            << describeRecords(prompter);
        ::CheckDlgButton(window, IDC_PYPKG_VALIDATE, BST_CHECKED);
        clickButton(window, IDC_PYPKG_VALIDATE);
        ASSERT_TRUE(page.packageManager);
        const hnInstallationElement* scipy =
            page.packageManager->findElementByName("scipy-1.1.0-cp27-cp27m-win32");
        ASSERT_NE(nullptr, scipy);
        EXPECT_EQ(kStatusVersionMismatch,
                  page.packageManager->findElementByName("numpy-1.16.4-cp27-cp27m-win32")->status());
        deleteFileForced(scipy->downloadFolder + "\\" + scipy->fileName);
        ASSERT_TRUE(demoServerFault("withhold" + demoServerPath(scipy->url)));
        std::size_t asked = prompter.records.size();
        clickButton(window, IDC_PYPKG_INSTALL_ALL);
        EXPECT_TRUE(demoServerFault("restore"));
        ASSERT_GT(prompter.records.size(), asked);
        EXPECT_EQ("Not every package of the set could be downloaded; nothing was removed or installed.",
                  prompter.records.back().text);
    }
    std::string version;
    bool found = false;
    EXPECT_TRUE(hnPyhton27InstallFunctions::checkPy27ModuleWhlInstalledVersion(&version, "numpy", &found));
    EXPECT_TRUE(found);
    EXPECT_EQ("1.10.0", version);
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("opencv-contrib-python"));
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation("scipy"));
    runMsiexecUninstall("{79F081BF-7454-43DB-BD8F-9EE596813232}");
}

} // namespace
