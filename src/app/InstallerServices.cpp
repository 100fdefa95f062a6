#include "app/InstallerServices.h"

#include "app/AppBase.h"

const char* const kInstallerFamilyPrefix = "OrvantoVisionSoftware_";
const char* const kSdkInstallerPrefix = "OrvantoKadrixSDK_";
const char* const kSmartCamInstallerPrefix = "ORK_SonySmartCams_";
const char* const kInstallerMarker = "_Installer_";
const char* const kPrivateTempSubFolder = "Orvanto10_9267";
const char* const kInstallerServerFolder =
    "/orvanto/files/InstallerRepositories/Orvanto15.0/774/OrvantoVisionSoftware/";

hnInstallerServices* installerServices() {
    return dynamic_cast<hnInstallerServices*>(hnAppBase::current());
}

std::string listedAddress(const std::string& url) {
    hnInstallerServices* services = installerServices();
    return services ? services->listedAddress(url) : url;
}

std::string applicationFolder() {
    hnInstallerServices* services = installerServices();
    return services ? services->applicationFolder() : std::string();
}

int appMessageBox(const std::string& text, UINT type) {
    hnAppBase* app = hnAppBase::current();
    if (!app)
        return ::MessageBoxA(nullptr, text.c_str(), kInstallerCaption, type);
    return app->prompter().messageBox(app->mainWindow(), text.c_str(), kInstallerCaption, type);
}
