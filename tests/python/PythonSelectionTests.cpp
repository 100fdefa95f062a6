#include <gtest/gtest.h>

#include <cctype>
#include <vector>
#include <windows.h>

#include "app/FileHelpers.h"
#include "app/SystemView.h"
#include "python/PythonSelection.h"
#include "support/TestSupport.h"

namespace {

using Setter = int (*)(const char*);
using Getter = int (*)(std::string*);

struct Pair {
    const char* key;
    const char* setterName;
    const char* getterName;
    Setter set;
    Getter get;
    const char* fallback;
    std::vector<const char*> allowed; // empty: any text
};

const std::vector<Pair>& pairs() {
    static const std::vector<Pair> all = {
        {"VersionName",
         "setPythonVersionSelection",
         "getPythonVersionSelection",
         setPythonVersionSelection,
         getPythonVersionSelection,
         "Python 2.7.9",
         {"Python 2.7.9", "Python 2.7.13", "Python 3.6.6"}},
        {"Py27OpenCVExtension",
         "setPy27OpenCVExtensionVersionSelection",
         "getPy27OpenCVExtensionVersionSelection",
         setPy27OpenCVExtensionVersionSelection,
         getPy27OpenCVExtensionVersionSelection,
         "None",
         {"OpenCV 2.4.9 (Python 27)", "OpenCV 3.0.0", "OpenCV 3.1.0", "OpenCV 3.2.0", "OpenCV 3.3.0",
          "OpenCV 3.3.1", "OpenCV 3.4.0", "None", "opencv_contrib_python-3.4.3.18-cp27-cp27m-win32",
          "opencv_python-3.4.3.18-cp27-cp27m-win32", "opencv_contrib_python-4.1.0.25-cp27-cp27m-win32",
          "opencv_python-4.1.0.25-cp27-cp27m-win32", "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32",
          "opencv_python-4.2.0.32-cp27-cp27m-win32"}},
        {"Py27CLRExtension",
         "setPy27CLRExtensionVersionSelection",
         "getPy27CLRExtensionVersionSelection",
         setPy27CLRExtensionVersionSelection,
         getPy27CLRExtensionVersionSelection,
         "Python 2.7 CLR 4.0",
         {"pythonnet-2.3.0-cp27-cp27m-win32", "Python 2.7 CLR 2.0", "Python 2.7 CLR 4.0"}},
        {"Py27DeepformVisionToolboxExtension",
         "setPy27DeepformVisionToolboxVersionSelection",
         "getPy27DeepformVisionToolboxVersionSelection",
         setPy27DeepformVisionToolboxVersionSelection,
         getPy27DeepformVisionToolboxVersionSelection,
         "None",
         {"None", "Deepform Vision 1.0.0.333", "Deepform Vision 1.0.0.355", "Deepform Vision 1.0.0.383",
          "Deepform Vision 1.0.0.550", "Deepform Vision 1.0.0.612", "Deepform Vision 1.0.0.719",
          "Deepform Vision 1.0.0.758", "Deepform Vision 1.0.0.819", "Deepform Vision 1.0.0.1114"}},
        {"Py36DeepformVisionToolboxExtension",
         "setPy36DeepformVisionToolboxVersionSelection",
         "getPy36DeepformVisionToolboxVersionSelection",
         setPy36DeepformVisionToolboxVersionSelection,
         getPy36DeepformVisionToolboxVersionSelection,
         "None",
         {"None", "Deepform Vision 1.0.0.819(02) (Python 36)", "Deepform Vision 1.0.0.1114 (Python 36)"}},
        {"Py27ExtensionPackage",
         "setPy27ExtensionPackageSelection",
         "getPy27ExtensionPackageSelection",
         setPy27ExtensionPackageSelection,
         getPy27ExtensionPackageSelection,
         "Default",
         {}},
        {"Py36ExtensionPackage",
         "setPy36ExtensionPackageSelection",
         "getPy36ExtensionPackageSelection",
         setPy36ExtensionPackageSelection,
         getPy36ExtensionPackageSelection,
         "Default",
         {}},
    };
    return all;
}

// The test prefix's documents folder without "Orvanto 15.0"; whatever was
// there is put aside for the test and brought back afterwards.
class PySelFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(hnDocumentsFolder(documents));
        userData = documents + "\\Orvanto 15.0";
        saved = documents + "\\Orvanto 15.0 (kept by the settings tests)";
        if (fileExists(saved)) { // a killed run: its folder is test data, the kept one the real one
            deleteFolderTree(userData.c_str(), "Orvanto 15.0");
            ASSERT_TRUE(::MoveFileA(saved.c_str(), userData.c_str()));
        }
        if (fileExists(userData)) {
            ASSERT_TRUE(::MoveFileA(userData.c_str(), saved.c_str()));
        }
        ASSERT_TRUE(pySelIniPath(ini));
        ASSERT_EQ(ini, userData + "\\Python\\PySel.ini");
    }
    void TearDown() override {
        deleteFolderTree(userData.c_str(), "Orvanto 15.0");
        if (fileExists(saved))
            ::MoveFileA(saved.c_str(), userData.c_str());
    }
    void store(const char* key, const char* value) {
        makeFolders(userData + "\\Python");
        ASSERT_TRUE(::WritePrivateProfileStringA("PySelVersion", key, value, ini.c_str()));
    }
    std::string stored(const char* key) {
        char value[1024] = {};
        ::GetPrivateProfileStringA("PySelVersion", key, "", value, sizeof(value), ini.c_str());
        return value;
    }

    std::string documents, userData, saved, ini;
};

TEST_F(PySelFile, WithoutTheFileEveryGetterGivesItsDefault) {
    DebugCapture debug;
    for (const Pair& pair : pairs()) {
        std::string value = "left over";
        EXPECT_EQ(pair.get(&value), -3) << pair.key;
        EXPECT_EQ(value, pair.fallback) << pair.key;
        EXPECT_TRUE(debug.contains(std::string(pair.getterName) + " - Unable to locate INI file\n"));
    }
    EXPECT_FALSE(fileExists(userData)) << "reading never creates anything";
}

TEST_F(PySelFile, FirstSetterCreatesTheFoldersAndTheFile) {
    ASSERT_EQ(setPythonVersionSelection("Python 3.6.6"), 1);
    EXPECT_TRUE(fileExists(ini));
    EXPECT_EQ(stored("VersionName"), "Python 3.6.6");
    std::string value;
    EXPECT_EQ(getPythonVersionSelection(&value), 1);
    EXPECT_EQ(value, "Python 3.6.6");
}

TEST_F(PySelFile, EveryAllowedValueIsStoredUnderItsKeyAndReadBack) {
    for (const Pair& pair : pairs()) {
        std::vector<const char*> values = pair.allowed;
        if (values.empty())
            values = {"Default", "Vision Starter Set", "ümlaut set"};
        for (const char* allowed : values) {
            ASSERT_EQ(pair.set(allowed), 1) << pair.key << " " << allowed;
            EXPECT_EQ(stored(pair.key), allowed);
            std::string value;
            EXPECT_EQ(pair.get(&value), 1) << pair.key;
            EXPECT_EQ(value, allowed);
        }
    }
    // Each setter wrote only its own key: the last values of all keys remain.
    EXPECT_EQ(stored("VersionName"), "Python 3.6.6");
    EXPECT_EQ(stored("Py27CLRExtension"), "Python 2.7 CLR 4.0");
}

TEST_F(PySelFile, SettersRefuseWhatIsNotAllowedAndWriteNothing) {
    DebugCapture debug;
    for (const Pair& pair : pairs()) {
        EXPECT_EQ(pair.set(nullptr), -1);
        EXPECT_TRUE(debug.contains(std::string(pair.setterName) + " - NULL pointer 1\n"));
        if (pair.allowed.empty())
            continue;
        // Letter case counts; so does a later release of the same family.
        std::string swapped = pair.allowed.back();
        for (char& c : swapped)
            c = static_cast<char>(isupper(static_cast<unsigned char>(c))
                                      ? tolower(static_cast<unsigned char>(c))
                                      : toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(pair.set(swapped.c_str()), -2) << pair.key;
        EXPECT_EQ(pair.set((std::string(pair.allowed.back()) + " ").c_str()), -2);
        EXPECT_TRUE(debug.contains(std::string(pair.setterName) + " - Unsupported version selection\n"));
    }
    EXPECT_FALSE(fileExists(ini));
}

TEST_F(PySelFile, StoredValuesOutsideTheListReadAsTheDefault) {
    store("VersionName", "Python 2.7.18");
    store("Py27OpenCVExtension", "OpenCV 4.5.0");
    store("Py27DeepformVisionToolboxExtension", "Deepform Vision 1.0.0.2000");
    store("Py36DeepformVisionToolboxExtension", "deepform vision 1.0.0.1114 (python 36)");
    store("Py27CLRExtension", "");
    DebugCapture debug;
    std::string value;
    EXPECT_EQ(getPythonVersionSelection(&value), 0);
    EXPECT_EQ(value, "Python 2.7.9");
    EXPECT_EQ(getPy27OpenCVExtensionVersionSelection(&value), 0);
    EXPECT_EQ(value, "None");
    EXPECT_EQ(getPy27DeepformVisionToolboxVersionSelection(&value), 0);
    EXPECT_EQ(value, "None");
    EXPECT_EQ(getPy36DeepformVisionToolboxVersionSelection(&value), 0);
    EXPECT_EQ(value, "None");
    EXPECT_EQ(getPy27CLRExtensionVersionSelection(&value), -4);
    EXPECT_EQ(value, "Python 2.7 CLR 4.0");
    EXPECT_TRUE(debug.contains("getPy27CLRExtensionVersionSelection - Unable to read INI file\n"));
    EXPECT_EQ(getPy36ExtensionPackageSelection(&value), -4) << "key missing";
    EXPECT_EQ(value, "Default");
    EXPECT_EQ(getPy27ExtensionPackageSelection(nullptr), -1);
    EXPECT_TRUE(debug.contains("getPy27ExtensionPackageSelection - NULL pointer 1\n"));
}

// The package set names come from the file as they are; one that would not
// fit the callers' 512-character buffers is not taken.
TEST_F(PySelFile, PackageSetNamesMustFitTheCallersBuffers) {
    std::string longest(511, 'p');
    std::string tooLong(512, 'q');
    std::string value;

    store("Py27ExtensionPackage", tooLong.c_str());
    EXPECT_EQ(getPy27ExtensionPackageSelection(&value), 0);
    EXPECT_EQ(value, "Default");
    store("Py36ExtensionPackage", std::string(1500, 'r').c_str());
    EXPECT_EQ(getPy36ExtensionPackageSelection(&value), 0);
    EXPECT_EQ(value, "Default");

    EXPECT_EQ(setPy27ExtensionPackageSelection(tooLong.c_str()), -2);
    EXPECT_EQ(setPy27ExtensionPackageSelection("two\r\nlines"), -2);
    EXPECT_EQ(stored("Py27ExtensionPackage"), tooLong) << "a refused value leaves the file alone";

    ASSERT_EQ(setPy27ExtensionPackageSelection(longest.c_str()), 1);
    EXPECT_EQ(getPy27ExtensionPackageSelection(&value), 1);
    EXPECT_EQ(value, longest);
}

TEST_F(PySelFile, SelectionChecksRunInOrderForTheStoredInterpreter) {
    struct Call {
        hnIntegrationCheck check;
        hnPythonFamily family;
    };
    std::vector<Call> calls;
    int failAt = -1;
    auto recorder = [&](hnIntegrationCheck check, hnPythonFamily family) {
        calls.push_back({check, family});
        return static_cast<int>(calls.size()) - 1 != failAt;
    };

    // Nothing stored: the Python 2.7 integration is tested.
    EXPECT_TRUE(isSelectedPythonIntegrationOK(recorder));
    ASSERT_EQ(calls.size(), 5u);
    const hnIntegrationCheck order[] = {hnIntegrationCheck::HelpFile, hnIntegrationCheck::Dll,
                                        hnIntegrationCheck::Folder, hnIntegrationCheck::MatRelCTFiles,
                                        hnIntegrationCheck::PluginFolder};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(calls[i].check, order[i]);
        EXPECT_EQ(calls[i].family, hnPythonFamily::Python27);
    }

    ASSERT_EQ(setPythonVersionSelection("Python 3.6.6"), 1);
    calls.clear();
    failAt = 2;
    EXPECT_FALSE(isSelectedPythonIntegrationOK(recorder));
    ASSERT_EQ(calls.size(), 3u) << "stops at the first failing check";
    EXPECT_EQ(calls[2].family, hnPythonFamily::Python36);

    // A later 2.7 release in the file reads as the default and tests 2.7.
    store("VersionName", "Python 2.7.18");
    EXPECT_EQ(selectedPythonFamily(), hnPythonFamily::Python27);
    ASSERT_EQ(setPythonVersionSelection("Python 2.7.13"), 1);
    EXPECT_EQ(selectedPythonFamily(), hnPythonFamily::Python27);
}

} // namespace
