#include <gtest/gtest.h>

#include "app/FileHelpers.h"
#include "app/ScopedHandle.h"
#include "app/SystemView.h"
#include "install/ActionTestSupport.h"
#include "install/InstallHelpers.h"
#include "support/TestSupport.h"

namespace {

// The default value of an HKLM key in the program's view, or "(missing)".
std::string defaultValue(const std::string& path) {
    hnScopedKey key;
    if (hnRegOpenKey(HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ, key.put()) != ERROR_SUCCESS)
        return "(missing)";
    char text[1024] = {};
    DWORD size = sizeof(text) - 1;
    if (::RegQueryValueExA(key.get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS)
        return "(missing)";
    return text;
}

const std::string kPythonPath = "SOFTWARE\\Python\\PythonCore\\2.7\\PythonPath";

TEST(PostInstallSteps, PythonPathEntriesComeFromTheInterpreterFolder) {
    RegistryState registry;
    registry.createKey(HKEY_LOCAL_MACHINE, kPythonPath); // removed with the test
    FakeInterpreter python27("2.7");
    const std::string& p = python27.folder(); // ends with a separator
    EXPECT_TRUE(registerPython27PythonPath());
    EXPECT_EQ(defaultValue(kPythonPath), p + "Lib;" + p + "DLLs;" + p + "Lib\\lib-tk");
    EXPECT_EQ(defaultValue(kPythonPath + "\\Pythonwin"), p + "lib\\site-packages\\Pythonwin");
    EXPECT_EQ(defaultValue(kPythonPath + "\\win32"),
              p + "lib\\site-packages\\win32;" + p + "lib\\site-packages\\win32\\lib");
    EXPECT_EQ(defaultValue(kPythonPath + "\\win32com"), p + "lib\\site-packages");
}

TEST(PostInstallSteps, PythonPathFromTheUserHiveGetsItsSeparator) {
    RegistryState registry;
    registry.createKey(HKEY_LOCAL_MACHINE, kPythonPath);
    registry.setString(HKEY_CURRENT_USER, "Software\\Python\\PythonCore\\2.7\\InstallPath", "", "C:\\Py27");
    EXPECT_TRUE(registerPython27PythonPath());
    EXPECT_EQ(defaultValue(kPythonPath + "\\win32com"), "C:\\Py27\\lib\\site-packages");
}

TEST(PostInstallSteps, WithoutAnInterpreterThePythonPathStepWarnsAndFails) {
    ScriptedPrompter prompter;
    EXPECT_FALSE(registerPython27PythonPath());
    ASSERT_EQ(1u, prompter.records.size());
    EXPECT_EQ("Warning: Unable to retrieve the Python installation path.\nContinuing with the remaining "
              "installations.",
              prompter.records[0].text);
    EXPECT_EQ(defaultValue(kPythonPath), "(missing)");
}

TEST(PostInstallSteps, AvtGrabberIsCopiedOverTheRuntimeOne) {
    TestRuntime runtime;
    std::string reference = runtime.folder() + "_Ref\\AVT\\";
    ASSERT_TRUE(makeFolders(runtime.folder() + "_Ref\\AVT"));
    ASSERT_TRUE(writeTextFile(reference + "uniAVTGrab_Fire_2_11.dll", "fire"));
    std::string grabber = runtime.folder() + "uniAVTGrab.dll";
    ASSERT_TRUE(writeTextFile(grabber, "older"));
    ::SetFileAttributesA(grabber.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(copyAvtGrabberDll("uniAVTGrab_Fire_2_11.dll"));
    EXPECT_EQ("fire", readTextFile(grabber));
    // A reference that is not shipped leaves the runtime's grabber alone.
    EXPECT_FALSE(copyAvtGrabberDll("uniAVTGrab_Universal_2_2_0.dll"));
    EXPECT_EQ("fire", readTextFile(grabber));
    EXPECT_FALSE(copyAvtGrabberDll(nullptr));
}

} // namespace
