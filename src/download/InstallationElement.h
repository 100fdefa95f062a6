#pragma once
#include <cstdint>
#include <memory>
#include <string>

// One installable component: what to fetch, how to run it, and the three page
// strings (name, status, progress) of the row that shows it. Copies share the
// page strings.
struct hnInstallationElement {
    hnInstallationElement(const char* name, const char* url, const char* fileName, const char* switches,
                          const char* downloadFolder, bool isMsiPackage, int32_t sizeHint,
                          bool refreshBeforeCopy, std::string* nameText, std::string* statusText,
                          std::string* progressText, const char* category);

    std::string name;
    std::string url;
    std::string fileName;
    std::string switches;
    std::string downloadFolder;
    bool isMsiPackage = false;
    int32_t sizeHint = 0; // carried, never consulted
    bool refreshBeforeCopy = false;
    std::string* nameText = nullptr;
    std::string* statusText = nullptr;
    std::string* progressText = nullptr;
    int32_t reserved = 0;
    std::string category;
    std::string statusDetail;

    void setStatus(const char* word) const;
    void setProgress(const char* word) const;
    const std::string& status() const; // empty text when the row has no status string

    // Why the row shows its status word (what detection looked for and what
    // it found) and its progress word (the failed operation's step, address
    // or program). Copies share them, as they share the page strings.
    void setStatusReason(const std::string& reason) const { *statusReason_ = reason; }
    const std::string& statusReason() const { return *statusReason_; }
    void setProgress(const char* word, const std::string& reason) const;
    const std::string& progressReason() const { return *progressReason_; }

private:
    std::shared_ptr<std::string> statusReason_ = std::make_shared<std::string>();
    std::shared_ptr<std::string> progressReason_ = std::make_shared<std::string>();
};

// Download cache sub-folders, relative to the application folder.
namespace cache {
constexpr const char* kPrerequisites = "_OrvantoInstallData\\Prerequisites";
constexpr const char* kPy27Python2D = "_OrvantoInstallData\\ExtensionsPY27\\Python2D";
constexpr const char* kPy27Python3D = "_OrvantoInstallData\\ExtensionsPY27\\Python3D";
constexpr const char* kPy27PythonMySQL = "_OrvantoInstallData\\ExtensionsPY27\\PythonMySQL";
constexpr const char* kPy27OpenCV = "_OrvantoInstallData\\ExtensionsPY27\\OpenCV";
constexpr const char* kPy27PythonNet = "_OrvantoInstallData\\ExtensionsPY27\\PythonNet";
constexpr const char* kPy27PythonOtherExt = "_OrvantoInstallData\\ExtensionsPY27\\PythonOtherExt";
constexpr const char* kPy27Packages = "_OrvantoInstallData\\ExtensionsPY27\\Packages\\15_0_0";
constexpr const char* kPy36Python2D = "_OrvantoInstallData\\ExtensionsPY36\\Python2D";
constexpr const char* kPy36Python3D = "_OrvantoInstallData\\ExtensionsPY36\\Python3D";
constexpr const char* kPy36OpenCV = "_OrvantoInstallData\\ExtensionsPY36\\OpenCV";
constexpr const char* kPy36PythonNet = "_OrvantoInstallData\\ExtensionsPY36\\PythonNet";
constexpr const char* kPy36PythonOtherExt = "_OrvantoInstallData\\ExtensionsPY36\\PythonOtherExt";
constexpr const char* kPy36Packages = "_OrvantoInstallData\\ExtensionsPY36\\Packages\\15_0_0";
constexpr const char* kExtensionsOthers = "_OrvantoInstallData\\ExtensionsOthers";
constexpr const char* kRuntime = "_OrvantoInstallData\\OrvantoRuntime";
constexpr const char* kVisionSoftware = "_OrvantoInstallData\\OrvantoVisionSoftware";
constexpr const char* kKadrixSdk = "_OrvantoInstallData\\OrvantoKadrixSDK";
constexpr const char* kKadrixSdkInstaller = "_OrvantoInstallData\\KadrixSDKInstaller";
constexpr const char* kThirdParty = "_OrvantoInstallData\\Installations3rdParty";
constexpr const char* kUtilities = "_OrvantoInstallData\\Utilities";
constexpr const char* kIoSystem = "_OrvantoInstallData\\IOSystem";
constexpr const char* kModules = "_OrvantoInstallData\\Modules";
constexpr const char* kModules2 = "_OrvantoInstallData\\Modules2";
constexpr const char* kToolbox = "_OrvantoInstallData\\ToolboxDeepformVision";
constexpr const char* kToolboxPy36 = "_OrvantoInstallData\\ToolboxDeepformVisionPy36";
constexpr const char* kDemoProfiles = "_OrvantoInstallData\\DemoProfiles\\15_0_0";
constexpr const char* kDemoProfilesPy36 = "_OrvantoInstallData\\DemoProfilesPy36\\15_0_0";
constexpr const char* kTemplates = "_OrvantoInstallData\\Templates\\15_0_0";
constexpr const char* kTemplatesPy36 = "_OrvantoInstallData\\TemplatesPy36\\15_0_0";
constexpr const char* kTutorials = "_OrvantoInstallData\\Tutorials\\15_0_0";
constexpr const char* kResources = "_OrvantoInstallData\\Resources\\15_0_0";
constexpr const char* kReadme = "_OrvantoInstallData\\Readme\\15_0_0";
constexpr const char* kHelp = "_OrvantoInstallData\\_Help2Orvanto\\15_0_0";
constexpr const char* kInstallers = "_OrvantoInstallers"; // this program's own versions
} // namespace cache

// "%s\\%s" of the application folder and a cache sub-folder; empty when
// the path does not fit (or there is no application folder). An element with
// an empty download folder has no cache: its download fails as too long and
// nothing is fetched or run.
std::string cacheFolder(const char* relative);
