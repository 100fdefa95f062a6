#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "install/CheckInstallations.h"
#include "install/ComponentActions.h"
#include "install/InstallManager.h"
#include "install/PipShow.h"
#include "install/DetectionSupport.h"
#include "download/StatusWords.h"
#include "python/Python36Functions.h"

namespace {

// The interpreters' pip is the stand-in; the Python 2.7.9 package of the
// whole run makes the Python 2.7 count 1.
class PipRows : public ::testing::Test {
protected:
    FakeRuntime runtime;
    FakeInterpreter python27{"2.7"};
    RegistryState registry;
};

const char* const kNumpyRows[] = {"numpy-1.10.2-python2.7",
                                  "numpy-1.14.0+mkl-cp27-cp27m-win32",
                                  "numpy-1.14.5+mkl-cp27-cp27m-win32",
                                  "numpy-1.15.1+mkl-cp27-cp27m-win32",
                                  "numpy-1.16.4-cp27-cp27m-win32",
                                  "numpy-1.16.4+mkl-cp27-cp27m-win32"};

TEST_F(PipRows, OldInstallerAndPipTogetherAreMultipleVersions) {
    python27.setPackages({{"numpy", "1.16.4"}});
    EXPECT_EQ(detectedStatus("numpy-1.16.4-cp27-cp27m-win32"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("numpy-1.10.2-python2.7"), kStatusVersionMismatch);

    registry.setUninstallValue(HKEY_LOCAL_MACHINE, "numpy-py2.7", "DisplayName", "Python 2.7 numpy-1.10.2");
    for (const char* row : kNumpyRows)
        EXPECT_EQ(detectedStatus(row), kStatusMultipleVersions) << row;
    std::string detail;
    detectedStatus(kNumpyRows[0], &detail);
    EXPECT_EQ(detail, "numpy-1.10.2-python2.7; numpy-1.16.4-cp27-cp27m-win32");
    // pip reporting the old installer's own version is no second copy.
    python27.setPackages({{"numpy", "1.10.2"}});
    EXPECT_EQ(detectedStatus("numpy-1.10.2-python2.7"), kStatusInstalled);
}

// Counts the dialog boxes this thread makes while it lives.
class DialogBoxesMade {
public:
    DialogBoxesMade() : hook_(::SetWindowsHookExA(WH_CBT, &onHook, nullptr, ::GetCurrentThreadId())) {
        made_ = 0;
    }
    ~DialogBoxesMade() {
        if (hook_)
            ::UnhookWindowsHookEx(hook_);
    }
    int count() const { return made_; }

private:
    static LRESULT CALLBACK onHook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND &&
            isDialogClass(reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass))
            ++made_;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static bool isDialogClass(const char* name) {
        ULONG_PTR value = reinterpret_cast<ULONG_PTR>(name);
        return value == 0x8002 || (HIWORD(value) && std::string(name) == "#32770");
    }
    static int made_;
    HHOOK hook_;
};
int DialogBoxesMade::made_ = 0;

// A refresh over many rows asks pip once per interpreter, and the rows read
// as they do when each asks on its own. Only pip running shows the
// please-wait box: rows answered from the listing make none.
TEST_F(PipRows, ARefreshAsksPipOncePerPackage) {
    python27.setPackages({{"numpy", "1.16.4+mkl"}});
    FakeInterpreter python36("3.6-32");
    python36.setPackages({{"numpy", "1.16.4"}});
    std::vector<std::string> names(std::begin(kNumpyRows), std::end(kNumpyRows));
    names.insert(names.end(), {"numpy-1.15.4-cp36-none-win32", "numpy-1.16.4-cp36-cp36m-win32",
                               "scipy-1.3.0-cp36-cp36m-win32", "Python 36 extension - Keras"});
    std::vector<std::string> alone;
    {
        DialogBoxesMade boxes;
        for (const std::string& name : names)
            alone.push_back(detectedStatus(name));
        EXPECT_GE(boxes.count(), static_cast<int>(names.size())) << "each query on its own runs pip";
    }
    std::vector<std::unique_ptr<Row>> rows;
    std::vector<hnInstallationElement*> elements;
    for (const std::string& name : names) {
        rows.emplace_back(new Row(name));
        elements.push_back(rows.back()->element.get());
    }
    hnInstallManagerBase manager;
    hnComponentActions actions;
    manager.setActions(&actions);
    manager.setElements(static_cast<unsigned>(elements.size()), elements.data());
    int before = python27.callCount(), before36 = python36.callCount();
    DialogBoxesMade boxes;
    manager.refreshStatuses(0, static_cast<int>(elements.size()) - 1);
    EXPECT_EQ(python27.callCount() - before, 1);
    EXPECT_EQ(python36.callCount() - before36, 1);
    EXPECT_EQ(boxes.count(), 2) << "one box per listing";
    for (unsigned i = 0; i < manager.count(); ++i)
        EXPECT_EQ(manager.item(i)->status(), alone[i]) << names[i];
    EXPECT_EQ(alone[5], kStatusInstalled);
    EXPECT_EQ(alone[7], kStatusInstalled);

    // Later refreshes ask again.
    python27.setPackages({});
    manager.refreshStatuses(0, 0);
    EXPECT_EQ(manager.item(0)->status(), kStatusNotInstalled);
}

TEST_F(PipRows, DecoratedVersionsAreTheirOwnRows) {
    python27.setPackages({{"numpy", "1.16.4+mkl"}, {"scipy", "1.3.0"}});
    std::string detail;
    EXPECT_EQ(detectedStatus("numpy-1.16.4-cp27-cp27m-win32", &detail), kStatusVersionMismatch);
    EXPECT_EQ(detail, "numpy-1.16.4+mkl-cp27-cp27m-win32");
    EXPECT_EQ(detectedStatus("numpy-1.16.4+mkl-cp27-cp27m-win32"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("scipy-1.2.2-cp27-cp27m-win32", &detail), kStatusVersionMismatch);
    EXPECT_EQ(detail, "Unknown") << "a version no row names";
    // The pip command names the package quoted; the stand-in saw it.
    EXPECT_NE(readTextFile(python27.folder() + "Scripts\\calls.txt").find("show numpy\r\n"),
              std::string::npos);
}

TEST_F(PipRows, PackagesNeedTheirInterpreter) {
    python27.setPackages({{"pyserial", "3.4"}});
    EXPECT_EQ(detectedStatus("pyserial-3.4-py2.py3-none-any"), kStatusInstalled);
    ASSERT_EQ(runMsiexec("/x {79F081BF-7454-43DB-BD8F-9EE596813232} /qn"), 0);
    EXPECT_EQ(detectedStatus("pyserial-3.4-py2.py3-none-any"), kStatusReinstallNeeded);
    ASSERT_EQ(runMsiexec("/i \"" + testPackagePath("python279") + "\" /qn"), 0);
}

TEST_F(PipRows, PipOpenCvWithAStrayBindingNeedsAReinstall) {
    python27.setPackages({{"opencv-python", "4.1.0.25"}});
    EXPECT_EQ(detectedStatus("opencv_python-4.1.0.25-cp27-cp27m-win32"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("opencv_python-4.2.0.32-cp27-cp27m-win32"), kStatusVersionMismatch);
    EXPECT_EQ(detectedStatus("opencv_contrib_python-4.1.0.25-cp27-cp27m-win32"), kStatusVersionMismatch);
    ASSERT_TRUE(writeFileAt(runtime.path("Python\\cv2.pyd"), "binding"));
    EXPECT_EQ(detectedStatus("opencv_python-4.1.0.25-cp27-cp27m-win32"), kStatusReinstallNeeded);

    python27.setPackages({{"opencv-python", "4.1.0.25"}, {"opencv-contrib-python", "4.2.0.32"}});
    std::string detail;
    EXPECT_EQ(detectedStatus("OpenCV 3.0.0", &detail), kStatusMultipleVersions);
    EXPECT_EQ(detail,
              "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32; opencv_python-4.1.0.25-cp27-cp27m-win32");
}

TEST_F(PipRows, ExtensionRowsAndTheNetBridgePackage) {
    python27.setPackages({{"Keras", "2.2.4"}, {"Theano", "1.0.3"}, {"pythonnet", "2.3.0"}});
    EXPECT_EQ(detectedStatus("Python 27 extension - Keras"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("Python 27 extension - Theano"), kStatusVersionMismatch);
    EXPECT_EQ(detectedStatus("Python 27 extension - six"), kStatusNotInstalled);
    EXPECT_EQ(detectedStatus("pythonnet-2.3.0-cp27-cp27m-win32"), kStatusInstalled);
    ASSERT_TRUE(writeFileAt(runtime.path("Python\\Python27\\Python.Runtime.dll"), "bridge"));
    EXPECT_EQ(detectedStatus("pythonnet-2.3.0-cp27-cp27m-win32"), kStatusReinstallNeeded);
}

TEST_F(PipRows, Python36PackagesAndTheirVersionLists) {
    FakeInterpreter python36("3.6-32");
    python36.setPackages({{"numpy", "1.16.4+mkl"}, {"opencv-python", "4.2.0.34"}, {"pyserial", "3.4"}});
    std::string detail;
    EXPECT_EQ(detectedStatus("numpy-1.16.4-cp36-cp36m-win32", &detail), kStatusVersionMismatch);
    EXPECT_EQ(detail, "numpy-1.16.4+mkl-cp36-cp36m-win32");
    EXPECT_EQ(detectedStatus("numpy-1.16.4+mkl-cp36-cp36m-win32"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("opencv_python-4.2.0.34-cp36-cp36m-win32"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("pyserial-3.4-py2.py3-none-any-py36"), kStatusInstalled);
    EXPECT_EQ(detectedStatus("numpy-1.16.4-cp27-cp27m-win32"), kStatusNotInstalled)
        << "the other interpreter";

    python36.setPackages(
        {{"opencv-python", "4.2.0.34"}, {"opencv-contrib-python", "4.2.0.34"}, {"pyserial", "3.4"}});
    registry.createKey(HKEY_CURRENT_USER,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\pyserial-py3.6");
    EXPECT_EQ(detectedStatus("opencv_python-4.0.0-cp36-cp36m-win32", &detail), kStatusMultipleVersions);
    EXPECT_EQ(detail,
              "opencv_contrib_python-4.2.0.34-cp36-cp36m-win32; opencv_python-4.2.0.34-cp36-cp36m-win32");
    EXPECT_EQ(detectedStatus("pyserial-3.4-py2.py3-none-any-py36", &detail), kStatusMultipleVersions);
    EXPECT_EQ(detail, "pyserial-3.4-py2.py3-none-any-py36");
    EXPECT_EQ(detectedStatus("Python 36 extension - Keras"), kStatusNotInstalled);
}

TEST_F(PipRows, ProbesWithoutInterpreterOrArguments) {
    DebugCapture debug;
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlInstallation(nullptr));
    EXPECT_TRUE(debug.contains("hnCheckInstallations::checkPy27ModuleWhlInstallation - NULL pointer 1\n"));
    EXPECT_FALSE(hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation("numpy", nullptr, nullptr));
    EXPECT_TRUE(debug.contains(
        "hnCheckInstallations::checkPy27ModuleWhlExactVersionInstallation - NULL pointer 2\n"));
    EXPECT_FALSE(
        hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallationCommon("numpy", nullptr, nullptr, nullptr));
    EXPECT_TRUE(debug.contains(
        "hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallationCommon - NULL pointer 2\n"));
    EXPECT_FALSE(hnPyhton36InstallFunctions::getCurrentInstalledVersionNumPy36(nullptr, nullptr));
    EXPECT_TRUE(
        debug.contains("hnPyhton36InstallFunctions::getCurrentInstalledVersionNumPy36 - NULL pointer 1\n"));

    EXPECT_FALSE(hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallation(nullptr, "numpy", "numpy"));
    EXPECT_TRUE(
        debug.contains("hnPyhton36InstallFunctions::checkPy36ModuleWhlInstallationCommon - Unable to get "
                       "Python 36 path\n"));
    std::string text;
    EXPECT_TRUE(hnPyhton36InstallFunctions::getCurrentInstalledVersionOpencvPy36(&text, nullptr));
    EXPECT_EQ(text, "Unknown");
}

// A query that hangs is ended at its time limit and asked once more.
TEST_F(PipRows, AQueryEndedAtItsTimeLimitIsRepeatedOnce) {
    python27.setPackages({{"six", "1.12.0"}});
    // Far past the limit, so that only the limit ends it however slowly it starts.
    writeTextFile(python27.folder() + "Scripts\\delay-once.txt", "90000");
    DebugCapture debug;
    DWORD start = ::GetTickCount();
    EXPECT_TRUE(hnCheckInstallations::checkPy27ModuleWhlInstallation("six"));
    DWORD spent = ::GetTickCount() - start;
    EXPECT_EQ(python27.callCount(), 2);
    EXPECT_GE(spent, 35000u) << "30 s limit and the 5 s pause";
    EXPECT_TRUE(debug.contains("hnExecCmdNCaptureStdOut::execCmd - warning - terminating process\n"));
}

// A listing answers as pip's "show" does: names compared without regard to
// case and to runs of '-', '_' and '.', the project name as listed, pip's
// own warnings and lines of other forms passed over.
TEST(PipProbes, AListingAnswersAsShowDoes) {
    hnPipListing listing;
    listing.read("WARNING: You are using pip version 19.0.3, however version 19.2.3 is available.\r\n"
                 "numpy==1.16.4+mkl\r\nscikit-learn==0.20.3\nPaho_MQTT==1.4.0\r\n"
                 "-e git+https://example.invalid/x.git#egg=x\r\n==1.0\r\nbroken==\r\n");
    EXPECT_EQ("Name: numpy\r\nVersion: 1.16.4+mkl\r\n", listing.showText("NumPy"));
    EXPECT_EQ("Name: scikit-learn\r\nVersion: 0.20.3\r\n", listing.showText("scikit__learn"));
    EXPECT_EQ("Name: Paho_MQTT\r\nVersion: 1.4.0\r\n", listing.showText("paho.mqtt"));
    EXPECT_EQ("WARNING: Package(s) not found: broken\r\n", listing.showText("broken"));
    EXPECT_EQ("WARNING: Package(s) not found: WARNING\r\n", listing.showText("WARNING"));
    EXPECT_EQ("scikit-learn", pipNameKey("Scikit._Learn"));
}

TEST(PipProbes, WithoutPython27EveryPipRowIsAbsent) {
    DebugCapture debug;
    EXPECT_EQ(detectedStatus("Python 27 extension - Keras"), kStatusNotInstalled);
    EXPECT_TRUE(
        debug.contains("hnCheckInstallations::checkPy27ModuleWhlInstallationCommon - Unable to get Python 27 "
                       "path\n"));
}

} // namespace
