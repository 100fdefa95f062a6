#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "app/AppBase.h"
#include "app/FileHelpers.h"
#include "install/CheckInstallations.h"
#include "install/DetectionSupport.h"
#include "install/FileSets.h"
#include "download/StatusWords.h"

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;

const char* const kPython279 = "{79F081BF-7454-43DB-BD8F-9EE596813232}";
const char* const kPython2713 = "{4A656C6C-D24A-473F-9747-3A8D00907A03}";
const char* const kZcl = "{1A23CB3F-7B04-4CFD-80BE-81D2ACB10167}";

// Products: the reason names the product code with the version found and the
// one expected, or the name it is installed under.
TEST(StatusReasons, ProductsFollowTheirInstallation) {
    const char* older = "ZCL for SONYGigECAM 2.12 - 32 bit";
    const char* shipped = "ZCL for SONYGigECAM 2.12.2 - Windows 7 (32 bit)";
    Detection mismatch = detected(older);
    EXPECT_EQ(mismatch.word, kStatusVersionMismatch);
    EXPECT_THAT(mismatch.reason,
                AllOf(HasSubstr(kZcl), HasSubstr("version 2.12 "), HasSubstr("found version 2.12.2")));
    Detection installed = detected(shipped);
    EXPECT_EQ(installed.word, kStatusInstalled);
    EXPECT_THAT(installed.reason, HasSubstr("found version 2.12.2"));

    ASSERT_EQ(runMsiexec(std::string("/x ") + kZcl + " /qn"), 0);
    Detection gone = detected(older);
    EXPECT_EQ(gone.word, kStatusNotInstalled);
    EXPECT_THAT(gone.reason, AllOf(HasSubstr(kZcl), HasSubstr("not installed")));
    ASSERT_EQ(runMsiexec("/i \"" + testPackagePath("zcl-2-12-2") + "\" /qn"), 0);
    EXPECT_EQ(detected(older).word, kStatusVersionMismatch);

    Detection renamed = detected("Orvanto Kadrix Version XV 15.0.0.774 SDK");
    EXPECT_EQ(renamed.word, kStatusVersionMismatch);
    EXPECT_THAT(renamed.reason, HasSubstr("installed as \"Orvanto Kadrix Version XV 15.0.0.770 SDK\""));
}

// Uninstall entries: the reason gives the key and the text read there.
TEST(StatusReasons, UninstallEntriesGiveTheTextRead) {
    const char* row = "Speccy v1.25";
    Detection absent = detected(row);
    EXPECT_EQ(absent.word, kStatusNotInstalled);
    EXPECT_THAT(absent.reason, AllOf(HasSubstr("Uninstall entry \"Speccy\""), HasSubstr("absent")));
    RegistryState registry;
    ASSERT_TRUE(registry.setUninstallValue(HKEY_CURRENT_USER, "Speccy", "DisplayVersion", "1.24"));
    Detection older = detected(row);
    EXPECT_EQ(older.word, kStatusVersionMismatch);
    EXPECT_THAT(older.reason, AllOf(HasSubstr("\"1.25\""), HasSubstr("it reads \"1.24\"")));
    ASSERT_TRUE(registry.setUninstallValue(HKEY_CURRENT_USER, "Speccy", "DisplayVersion", "1.25"));
    Detection current = detected(row);
    EXPECT_EQ(current.word, kStatusInstalled);
    EXPECT_THAT(current.reason, HasSubstr("it reads \"1.25\""));
}

// The interpreter count: the reason names the interpreters found, and
// without any it says what to install first (a reinstall of the runtime
// cannot add one).
TEST(StatusReasons, InterpreterCountNamesTheInterpreters) {
    const char* runtime = "Orvanto Version XV 15.0.0.774 Runtime";
    {
        InstalledPackage python2713("python2713", kPython2713);
        ASSERT_TRUE(python2713.installed());
        Detection both = detected("Python 2.7.13");
        EXPECT_EQ(both.word, kStatusVersionMismatch);
        EXPECT_THAT(both.reason,
                    AllOf(HasSubstr("2 found"), HasSubstr("Python 2.7.9"), HasSubstr("Python 2.7.13")));
        EXPECT_THAT(detected(runtime).reason, Not(HasSubstr("prerequisites page")));
    }
    ASSERT_EQ(runMsiexec(std::string("/x ") + kPython279 + " /qn"), 0);
    Detection none = detected(runtime);
    EXPECT_EQ(none.word, kStatusReinstallNeeded);
    EXPECT_THAT(none.reason, AllOf(HasSubstr("no Python 2.7 interpreter"),
                                   HasSubstr("install Python 2.7.13 on the prerequisites page first")));
    ASSERT_EQ(runMsiexec("/i \"" + testPackagePath("python279") + "\" /qn"), 0);
    Detection one = detected(runtime);
    EXPECT_EQ(one.word, kStatusReinstallNeeded);
    EXPECT_THAT(one.reason, AllOf(HasSubstr("1 found: Python 2.7.9"), Not(HasSubstr("prerequisites page"))));
}

// pip of Python 3.6: the reason gives the version pip reports, and follows
// the package database from one refresh to the next.
TEST(StatusReasons, Python36PackagesGiveTheVersionPipReports) {
    FakeInterpreter python36("3.6-32");
    python36.setPackages({{"scipy", "1.3.0"}});
    Detection other = detected("scipy-1.3.1-cp36-cp36m-win32");
    EXPECT_EQ(other.word, kStatusVersionMismatch);
    EXPECT_THAT(other.reason, AllOf(HasSubstr("version 1.3.1 of Python 3.6 package \"scipy\""),
                                    HasSubstr("pip reports version 1.3.0")));
    Detection same = detected("scipy-1.3.0-cp36-cp36m-win32");
    EXPECT_EQ(same.word, kStatusInstalled);
    EXPECT_THAT(same.reason, HasSubstr("pip reports version 1.3.0"));
    python36.setPackages({});
    Detection none = detected("scipy-1.3.0-cp36-cp36m-win32");
    EXPECT_EQ(none.word, kStatusNotInstalled);
    EXPECT_THAT(none.reason, HasSubstr("pip reports none"));
}

class ReasonFileRows : public ::testing::Test {
protected:
    FakeRuntime runtime;
};

// File sets: the reason counts the files missing and names the first.
TEST_F(ReasonFileRows, FileSetsNameTheFirstMissingFile) {
    hnFileSet set;
    ASSERT_TRUE(openCvFileSet("OpenCV300", set));
    makeFolders(set.folder);
    for (const hnFileSetEntry& entry : set.files) {
        ASSERT_TRUE(writeFileAt(entry.file, "x"));
        if (!entry.reference.empty()) {
            ASSERT_TRUE(writeFileAt(entry.reference, "x"));
        }
    }
    Detection complete = detected("OpenCV 3.0.0");
    EXPECT_EQ(complete.word, kStatusInstalled);
    EXPECT_THAT(complete.reason, HasSubstr("all 3 files in order"));

    const std::string world = runtime.path("OpenCV300\\opencv_world300.dll");
    const std::string ffmpeg = runtime.path("OpenCV300\\opencv_ffmpeg300.dll");
    ASSERT_TRUE(::DeleteFileA(world.c_str()));
    Detection one = detected("OpenCV 3.0.0");
    EXPECT_EQ(one.word, kStatusIncompleteModule);
    EXPECT_THAT(one.reason, AllOf(HasSubstr("1 of 3 files"), HasSubstr(world)));
    ASSERT_TRUE(::DeleteFileA(ffmpeg.c_str()));
    Detection two = detected("OpenCV 3.0.0");
    EXPECT_EQ(two.word, kStatusIncompleteModule);
    EXPECT_THAT(two.reason, AllOf(HasSubstr("2 of 3 files"), HasSubstr(ffmpeg)));
}

// Entries of the runtime folder: the reason gives the path looked at.
TEST_F(ReasonFileRows, RuntimeEntriesGiveThePath) {
    const char* row = "Shared Memory Camera Driver";
    const std::string client = runtime.path("SMCameraClient.dll");
    Detection missing = detected(row);
    EXPECT_EQ(missing.word, kStatusNotInstalled);
    EXPECT_THAT(missing.reason, HasSubstr("\"" + client + "\" is missing"));
    ASSERT_TRUE(writeFileAt(client, "driver"));
    Detection found = detected(row);
    EXPECT_EQ(found.word, kStatusInstalled);
    EXPECT_THAT(found.reason, HasSubstr("found \"" + client + "\""));
}

// A refresh writes each row whose word changed, with its reason, to the
// session log; a row whose word stays is not written again.
TEST(StatusReasons, ChangedWordsGoToTheSessionLog) {
    ASSERT_NE(hnAppBase::current(), nullptr);
    const std::string logPath = hnAppBase::current()->sessionLog().path();
    auto logged = [&logPath](const std::string& text) {
        std::string log = readTextFile(logPath);
        std::size_t count = 0;
        for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++count;
        return count;
    };
    const std::string line = "Status: Speccy v1.25: Version Mismatch (was Not Installed): \"1.25\" as value "
                             "\"DisplayVersion\" of Uninstall entry \"Speccy\" expected; it reads \"1.24\"";
    const std::size_t before = logged(line);

    ManagedRow speccy("Speccy v1.25");
    EXPECT_EQ(speccy.refresh().word, kStatusNotInstalled);
    RegistryState registry;
    ASSERT_TRUE(registry.setUninstallValue(HKEY_CURRENT_USER, "Speccy", "DisplayVersion", "1.24"));
    EXPECT_EQ(speccy.refresh().word, kStatusVersionMismatch);
    EXPECT_EQ(logged(line), before + 1);
    EXPECT_EQ(speccy.refresh().word, kStatusVersionMismatch);
    EXPECT_EQ(logged(line), before + 1);
}

} // namespace
