#pragma once
// The words a row shows. Pages and the manager compare them exactly and
// case-sensitively.

// Status words.
constexpr const char* kStatusInstalled = "Installed";
constexpr const char* kStatusNotInstalled = "Not Installed";
constexpr const char* kStatusReinstallNeeded = "Reinstall Needed";
constexpr const char* kStatusVersionMismatch = "Version Mismatch";
constexpr const char* kStatusMultipleVersions = "Multiple Versions";
constexpr const char* kStatusIncompleteModule = "Incomplete Module";

// Progress words.
constexpr const char* kProgressPending = "Pending";
constexpr const char* kProgressInstalling = "Installing...";
constexpr const char* kProgressOk = "Ok";
constexpr const char* kProgressFailed = "Failed";
constexpr const char* kProgressDownloading = "Downloading...";
constexpr const char* kProgressDownloaded = "Downloaded";
constexpr const char* kProgressDownloadError = "Download Error";
constexpr const char* kProgressUninstalling = "Uninstalling...";
constexpr const char* kProgressUninstallError = "Uninstall Error";

// Categories that group the components of an installer copy.
constexpr const char* kCategoryPrerequisites = "Prerequisites";
constexpr const char* kCategoryCoreComponents = "Core Components";
constexpr const char* kCategoryHelpFiles = "Help Files";
constexpr const char* kCategoryInstallerApplication = "Installer Application";
constexpr const char* kCategoryThirdParty = "3rd Party Softwares";
constexpr const char* kCategoryOptionalUtility = "Optional Utility Software";
constexpr const char* kCategoryIoSystem = "Orvanto IO System";
constexpr const char* kCategoryOptionalModules = "Optional Orvanto Modules";
constexpr const char* kCategoryOptionalModules2 = "Optional Orvanto Modules 2";
constexpr const char* kCategoryRecommendedExtensions = "Recommended Orvanto Extensions";
constexpr const char* kCategoryRecommendedExtensions36 = "Recommended Orvanto Extensions (Python 36)";
constexpr const char* kCategoryOptionalExtensions = "Optional Orvanto Extensions";
constexpr const char* kCategoryOptionalExtensions36 = "Optional Orvanto Extensions (Python 36)";
constexpr const char* kCategoryToolbox = "3D Toolbox Deepform Vision";
constexpr const char* kCategoryToolbox36 = "3D Toolbox Deepform Vision (Python 36)";
constexpr const char* kCategoryDemoProfiles = "Demo Profiles";
constexpr const char* kCategoryDemoProfiles36 = "Demo Profiles (Python 36)";
constexpr const char* kCategoryTemplates = "Templates";
constexpr const char* kCategoryTemplates36 = "Templates (Python 36)";
constexpr const char* kCategoryTutorials = "Tutorials";
constexpr const char* kCategoryResources = "Resources";
constexpr const char* kCategoryReadmeNotes = "Readme Notes";
