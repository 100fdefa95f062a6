#include "process/TempFolder.h"

#include <cstring>
#include <windows.h>

#include "app/DebugOut.h"
#include "app/FileHelpers.h"
#include "app/AppBase.h"
#include "app/InstallerServices.h"
#include "app/SystemView.h"
#include "app/Text.h"

bool privateTempFolder(std::string& out, const char** reason) {
    std::string temp;
    out.clear();
    if (!hnTempFolder(temp)) {
        if (reason)
            *reason = "temp";
        return false;
    }
    std::string folder;
    // Any process of the user can plant a link here: the elevated program
    // works only in a real folder.
    if (hnFormat(folder, kPathCapacity, "%s%s", temp.c_str(), kPrivateTempSubFolder) &&
        hnMakeRealFolder(folder)) {
        out = folder;
        return true;
    }
    if (reason)
        *reason = "create";
    return false;
}

bool createTempSubFolder(char* outPath, const char* name) {
    if (!name) {
        hnDebugOut("createTempSubFolder - NULL pointer 1\n");
        return false;
    }
    if (!outPath) {
        hnDebugOut("createTempSubFolder - NULL pointer 2\n");
        return false;
    }
    outPath[0] = '\0';
    std::string folder;
    const char* reason = "";
    if (!privateTempFolder(folder, &reason)) {
        hnDebugOut(std::strcmp(reason, "temp") == 0
                       ? "createTempSubFolder - unable to get temp directory\n"
                       : "createTempSubFolder - unable to create Orvanto temp directory\n");
        return false;
    }
    std::string subFolder;
    if (!*name || !hnFormat(subFolder, kTempSubFolderCapacity, "%s\\%s", folder.c_str(), name)) {
        hnDebugOut("createTempSubFolder - unable to create Orvanto temp sub-directory\n");
        return false;
    }
    if (fileExists(subFolder))
        deleteFolderTree(subFolder.c_str(), subFolder.c_str());
    if (!hnMakeRealFolder(subFolder)) {
        hnDebugOut("createTempSubFolder - unable to create Orvanto temp sub-directory\n");
        return false;
    }
    std::memcpy(outPath, subFolder.c_str(), subFolder.size() + 1);
    return true;
}

int copyRenamedFileToWindowsTempFolder(const char* newName, const char* sourcePath, char* outPath) {
    if (!sourcePath) {
        hnDebugOut("copyRenamedFileToWindowsTempFolder - Null argument 2\n");
        return -1;
    }
    if (!newName) {
        hnDebugOut("copyRenamedFileToWindowsTempFolder - Null argument 3\n");
        return -1;
    }
    if (!outPath) {
        hnDebugOut("copyRenamedFileToWindowsTempFolder - Null argument 4\n");
        return -1;
    }
    outPath[0] = '\0';
    if (!fileExists(sourcePath)) {
        hnDebugOut("copyRenamedFileToWindowsTempFolder - unable to locate original file\n");
        return -2;
    }
    std::string folder;
    const char* reason = "";
    if (!privateTempFolder(folder, &reason) && std::strcmp(reason, "temp") == 0) {
        hnDebugOut("copyRenamedFileToWindowsTempFolder - unable to get temp directory\n");
        return -3;
    }
    // The new name comes from package lists: it must stay a plain name in
    // the private temp folder.
    std::string destination;
    if (!folder.empty() && isPlainFileName(newName) && hnJoinPath(destination, folder, newName)) {
        if (fileExists(destination))
            deleteFileForced(destination);
        if (::CopyFileA(sourcePath, destination.c_str(), FALSE)) {
            std::memcpy(outPath, destination.c_str(), destination.size() + 1);
            return 1;
        }
    }
    hnDebugOut("copyRenamedFileToWindowsTempFolder - unable to copy and rename file\n");
    return -4;
}
