#include "pages/Py27ExtensionsNewPage.h"

#include "app/DebugOut.h"
#include "app/Dialog.h"
#include "app/Text.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "pages_ids.h"
#include "python/Python27Functions.h"
#include "python/PythonSelection.h"

namespace {

const char* const kPaintDotNet = "/orvanto/files/InstallerDownloads/_Installers3rdParty/PaintDotNet/";
const char* const kClr40Selection = "Python 2.7 CLR 4.0";
const int kPythonNetElement = 1;

} // namespace

kdDPipPackagesVariant kdDInstallPY27ExtensionsNew::pageVariant() {
    using namespace cache;
    kdDPipPackagesVariant variant;
    variant.className = "kdDInstallPY27ExtensionsNew";
    variant.pageName = "Recommended Orvanto Extensions";
    variant.uiDlgName = "Recommended Extensions";
    variant.listKind = CatalogueKind::Py27Packages;
    variant.category = "Recommended Orvanto Extensions";
    variant.serverPath = "/orvanto/files/InstallerDownloads/_Modules/Py27/";
    const char* quiet = " /quiet ";
    variant.components = {
        {"pywin32-219.win32-py2.7", "pywin32-219.win32-py2.7.exe", "pywin", quiet, kPy27Python2D},
        {"pyserial-2.7.win32", "pyserial-2.7.win32.exe", "pyserial", quiet, kPy27Python2D},
        {"scipy-0.16.1-python2.7", "scipy-0.16.1-win32-superpack-python2.7.exe", "scipy", quiet,
         kPy27Python3D},
        {"numpy-1.10.2-python2.7", "numpy-1.10.2-win32-superpack-python2.7.exe", "numpy", quiet,
         kPy27Python3D},
        {"MySQL-python-1.2.4b4.win32-py2.7", "MySQL-python-1.2.4b4.win32-py2.7.exe", "MySQLPython", quiet,
         kPy27PythonMySQL},
        {"OpenCV 2.4.9 (Python 27)", "opencv-249_py27_bin.zip", "OpenCV", nullptr, kPy27OpenCV},
        {"OpenCV 3.0.0", "opencv-300_bin.zip", "OpenCV", nullptr, kPy27OpenCV},
        {"OpenCV 3.1.0", "opencv-310_bin.zip", "OpenCV", nullptr, kPy27OpenCV},
        {"OpenCV 3.2.0", "opencv-320_bin.zip", "OpenCV", nullptr, kPy27OpenCV},
        {"OpenCV 3.3.0", "opencv-330_bin.zip", "OpenCV", nullptr, kPy27OpenCV},
        {"Paint.net 4.0.19", "paint.net.4.0.19.install.exe", kPaintDotNet, " ", kExtensionsOthers},
        {"OpenCV 3.3.1", "opencv-331_bin.zip", "OpenCV", nullptr, kPy27OpenCV},
        {"scipy-1.0.0-cp27-cp27m-win32", nullptr, "scipy", nullptr, kPy27Python3D},
        {"numpy-1.14.0+mkl-cp27-cp27m-win32", "numpy-1.14.0-mkl-cp27-cp27m-win32.whl", "numpy", nullptr,
         kPy27Python3D},
        {"OpenCV 3.4.0", "opencv-340_bin.zip", "OpenCV", nullptr, kPy27OpenCV},
        {"pywin32-221.win32-py2.7", "pywin32-221.win32-py2.7.exe", "pywin", quiet, kPy27Python2D},
        {"numpy-1.14.5+mkl-cp27-cp27m-win32", "numpy-1.14.5-mkl-cp27-cp27m-win32.whl", "numpy", nullptr,
         kPy27Python3D},
        {"scipy-1.1.0-cp27-cp27m-win32", nullptr, "scipy", nullptr, kPy27Python3D},
        {"pywin32-223.win32-py2.7", "pywin32-223.win32-py2.7.exe", "pywin", quiet, kPy27Python2D},
        {"pyserial-3.4-py2.py3-none-any", nullptr, "pyserial", nullptr, kPy27Python2D},
        {"numpy-1.15.1+mkl-cp27-cp27m-win32", "numpy-1.15.1-mkl-cp27-cp27m-win32.whl", "numpy", nullptr,
         kPy27Python3D},
        {"opencv_contrib_python-3.4.3.18-cp27-cp27m-win32", nullptr, "OpenCV", nullptr, kPy27OpenCV},
        {"opencv_contrib_python-4.1.0.25-cp27-cp27m-win32", nullptr, "OpenCV", nullptr, kPy27OpenCV},
        {"opencv_python-3.4.3.18-cp27-cp27m-win32", nullptr, "OpenCV", nullptr, kPy27OpenCV},
        {"opencv_python-4.1.0.25-cp27-cp27m-win32", nullptr, "OpenCV", nullptr, kPy27OpenCV},
        {"numpy-1.16.4+mkl-cp27-cp27m-win32", "numpy-1.16.4-mkl-cp27-cp27m-win32.whl", "numpy", nullptr,
         kPy27Python3D},
        {"scipy-1.2.2-cp27-cp27m-win32", nullptr, "scipy", nullptr, kPy27Python3D},
        {"opencv_contrib_python-4.2.0.32-cp27-cp27m-win32", nullptr, "OpenCV", nullptr, kPy27OpenCV},
        {"opencv_python-4.2.0.32-cp27-cp27m-win32", nullptr, "OpenCV", nullptr, kPy27OpenCV},
        {"numpy-1.16.4-cp27-cp27m-win32", nullptr, "numpy", nullptr, kPy27Python3D},
        {"Paint.net 4.2.12", "paint.net.4.2.12.install.exe", kPaintDotNet, " ", kExtensionsOthers},
    };
    variant.ownComponents = {
        {kPy27PythonNetSelection, nullptr, "PythonNet", nullptr, kPy27PythonNet},
    };
    variant.interpreterFolder = &hnPyhton27InstallFunctions::getPython27InstallFolder;
    variant.readSelection = &getPy27ExtensionPackageSelection;
    variant.storeSelection = &setPy27ExtensionPackageSelection;
    return variant;
}

kdDInstallPY27ExtensionsNew::kdDInstallPY27ExtensionsNew(const std::string& title)
    : kdDPipPackagesPageBase(IDD_PY27_EXTENSIONS_NEW, title, pageVariant()) {
    bindText(IDC_PYPKG_CLR_STATUS, &clrStatusText);
}

bool kdDInstallPY27ExtensionsNew::onInitDialog() {
    HWND combo = item(IDC_PYPKG_CLR_COMBO);
    ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const char* entry : {kPy27Clr20Selection, kClr40Selection, kPy27PythonNetSelection})
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    return kdDPipPackagesPageBase::onInitDialog();
}

void kdDInstallPY27ExtensionsNew::showClrStatus() {
    clrStatusText = "Status: Error";
    std::string selection = kPy27Clr20Selection;
    std::string pythonNet = pythonNetStatus();
    const char* folder = runtimeFolder.c_str();
    if (pythonNet != kStatusNotInstalled) {
        selection = kPy27PythonNetSelection;
        clrStatusText = hnFormatText("Status: %s", pythonNet.c_str());
    } else if (isPY27CLR2Active(folder)) {
        clrStatusText = "Status: Ok";
    } else if (isPY27CLR4Active(folder)) {
        selection = kClr40Selection;
        clrStatusText = "Status: Ok";
    }
    if (HWND combo = item(IDC_PYPKG_CLR_COMBO))
        hnComboSelectExact(combo, selection);
    if (HWND status = item(IDC_PYPKG_CLR_STATUS))
        ::SetWindowTextA(status, clrStatusText.c_str());
}

void kdDInstallPY27ExtensionsNew::showChecking() {
    clrStatusText = kdDPipListingCheck::kCheckingText;
    if (HWND status = item(IDC_PYPKG_CLR_STATUS))
        ::SetWindowTextA(status, clrStatusText.c_str());
}

int kdDInstallPY27ExtensionsNew::activateTargetPY27CLR() {
    std::string selection;
    if (!hnComboSelection(item(IDC_PYPKG_CLR_COMBO), selection)) {
        hnDebugOut("kdDInstallPY27ExtensionsNew::installNewPY27CLR - Unable to get new selection\n");
        return -1;
    }
    return ::activateTargetPY27CLR(this, runtimeFolder.c_str(), selection.c_str());
}

std::string kdDInstallPY27ExtensionsNew::pythonNetStatus() {
    const hnInstallationElement* element = installManager->item(kPythonNetElement);
    return element ? element->status() : std::string();
}

bool kdDInstallPY27ExtensionsNew::fetchPythonNetWheel() {
    return runDownloadElement(kPythonNetElement) > 0;
}

int kdDInstallPY27ExtensionsNew::installPythonNet() {
    const int indices[] = {kPythonNetElement};
    return runInstallSelection(indices, 1, false, true);
}

int kdDInstallPY27ExtensionsNew::uninstallPythonNet() {
    return runUninstallRange(kPythonNetElement, kPythonNetElement);
}

bool kdDInstallPY27ExtensionsNew::onCommand(WORD id, WORD code, HWND control) {
    if (code == CBN_SELCHANGE && id == IDC_PYPKG_CLR_COMBO) {
        if (checking()) { // the bridge's state is not known yet; the answer shows it
            debugLine("onCommand", "the packages are still being checked");
            return true;
        }
        if (activateTargetPY27CLR() > 0)
            showClrStatus();
        return true;
    }
    return kdDPipPackagesPageBase::onCommand(id, code, control);
}
