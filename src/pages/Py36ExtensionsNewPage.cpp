#include "pages/Py36ExtensionsNewPage.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"
#include "python/PythonSelection.h"
#include "python/Python36Functions.h"

namespace {
const char* const kPaintDotNet = "/orvanto/files/InstallerDownloads/_Installers3rdParty/PaintDotNet/";
} // namespace

kdDPipPackagesVariant kdDInstallPY36ExtensionsNew::pageVariant() {
    using namespace cache;
    kdDPipPackagesVariant variant;
    variant.className = "kdDInstallPY36ExtensionsNew";
    variant.pageName = "Recommended Orvanto Extensions (Python 36)";
    variant.uiDlgName = "Recommended Extensions (Python 36)";
    variant.listKind = CatalogueKind::Py36Packages;
    variant.category = "Recommended Orvanto Extensions (Python 36)";
    variant.serverPath = "/orvanto/files/InstallerDownloads/_Modules/Py36/";
    variant.components = {
        {"Paint.net 4.0.19", "paint.net.4.0.19.install.exe", kPaintDotNet, " ", kExtensionsOthers},
        {"scipy-1.2.0-cp36-cp36m-win32", nullptr, "scipy", nullptr, kPy36Python3D},
        {"pywin32-223-cp36-cp36m-win32", nullptr, "pywin", nullptr, kPy36Python2D},
        {"pyserial-3.4-py2.py3-none-any-py36", "pyserial-3.4-py2.py3-none-any.whl", "pyserial", nullptr,
         kPy36Python2D},
        {"numpy-1.15.4-cp36-none-win32", nullptr, "numpy", nullptr, kPy36Python3D},
        {"opencv_contrib_python-3.4.3.18-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_python-3.4.3.18-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_python-4.0.0+contrib-cp36-cp36m-win32", "opencv_python-4.0.0-contrib-cp36-cp36m-win32.whl",
         "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_python-4.0.0-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_contrib_python-4.1.0.25-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_python-4.1.0.25-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"pythonnet-2.3.0-cp36-cp36m-win32", nullptr, "PythonNet", nullptr, kPy36PythonNet},
        {"scipy-1.3.1-cp36-cp36m-win32", nullptr, "scipy", nullptr, kPy36Python3D},
        {"opencv_contrib_python-4.2.0.32-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_python-4.2.0.32-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_contrib_python-4.2.0.34-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"opencv_python-4.2.0.34-cp36-cp36m-win32", nullptr, "OpenCV", nullptr, kPy36OpenCV},
        {"numpy-1.16.4+mkl-cp36-cp36m-win32", "numpy-1.16.4-mkl-cp36-cp36m-win32.whl", "numpy", nullptr,
         kPy36Python3D},
        {"numpy-1.16.4-cp36-cp36m-win32", nullptr, "numpy", nullptr, kPy36Python3D},
        {"scipy-1.3.0-cp36-cp36m-win32", nullptr, "scipy", nullptr, kPy36Python3D},
        {"Paint.net 4.2.12", "paint.net.4.2.12.install.exe", kPaintDotNet, " ", kExtensionsOthers},
    };
    variant.interpreterFolder = &hnPyhton36InstallFunctions::getPython36InstallFolder;
    variant.readSelection = &getPy36ExtensionPackageSelection;
    variant.storeSelection = &setPy36ExtensionPackageSelection;
    return variant;
}

kdDInstallPY36ExtensionsNew::kdDInstallPY36ExtensionsNew(const std::string& title)
    : kdDPipPackagesPageBase(IDD_PY36_EXTENSIONS_NEW, title, pageVariant()) {}
