#include "pages/Py27Extensions2Page.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"
#include "python/Python27Functions.h"

kdDPipExtensionsVariant kdDInstallPY27Extensions2::pageVariant() {
    kdDPipExtensionsVariant variant;
    variant.className = "kdDInstallPY27Extensions2";
    variant.pageName = "Optional Orvanto Extensions";
    variant.uiDlgName = "Optional Extensions";
    variant.elementPrefix = "Python 27 extension - ";
    variant.category = "Optional Orvanto Extensions";
    variant.cacheFolder = cache::kPy27PythonOtherExt;
    variant.serverPath = "/orvanto/files/InstallerDownloads/_Modules/Py27/";
    variant.exploreButton = IDC_PYEXT27_EXPLORE;
    variant.extensions = {
        {"matplotlib", "matplotlib-2.2.4-cp27-cp27m-win32.whl", "matplotlib", "2.2.4", nullptr},
        {"scikit-learn", "scikit_learn-0.20.3-cp27-cp27m-win32.whl", "scikit-learn", "0.20.3", nullptr},
        {"scikit-image", "scikit_image-0.14.2-cp27-none-win32.whl", "scikit-image", "0.14.2", nullptr},
        {"Keras", "Keras-2.2.4-py2.py3-none-any.whl", "Keras", "2.2.4", nullptr},
        {"Sphinx", "Sphinx-1.8.5-py2.py3-none-any.whl", "Sphinx", "1.8.5", nullptr},
        {"enum34", "enum34-1.1.6-py2-none-any.whl", "enum34", "1.1.6", nullptr},
        {"paho-mqtt", "paho-mqtt-1.4.0.tar.gz", "paho-mqtt", "1.4.0", nullptr},
        {"opcua", "opcua-0.98.7.tar.gz", "opcua", "0.98.7", nullptr},
        {"dxfgrabber", "dxfgrabber-0.7.5.win32-py2.7.exe", "dxfgrabber", "0.7.5", " /quiet "},
        {"Shapely", "Shapely-1.6.4.post2-cp27-cp27m-win32.whl", "Shapely", "1.6.4.post2", nullptr},
        {"six", "six-1.12.0-py2.py3-none-any.whl", "six", "1.12.0", nullptr},
        {"Theano", "Theano-1.0.4.tar.gz", "theano", "1.0.4", nullptr},
        {"imutils", "imutils-0.5.2.tar.gz", "imutils", "0.5.2", nullptr},
    };
    // Left box: scikit-learn down to Shapely; right box: six, Theano, imutils.
    variant.rowOrder = {1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    variant.interpreterFolder = &hnPyhton27InstallFunctions::getPython27InstallFolder;
    variant.installedVersion = &hnPyhton27InstallFunctions::checkPy27ModuleWhlInstalledVersion;
    return variant;
}

kdDInstallPY27Extensions2::kdDInstallPY27Extensions2(const std::string& title)
    : kdDPipExtensionsPageBase(IDD_PY27_EXTENSIONS2, title, pageVariant()) {}
