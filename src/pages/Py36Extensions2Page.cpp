#include "pages/Py36Extensions2Page.h"

#include "download/InstallationElement.h"
#include "pages_ids.h"
#include "python/Python36Functions.h"

kdDPipExtensionsVariant kdDInstallPY36Extensions2::pageVariant() {
    kdDPipExtensionsVariant variant;
    variant.className = "kdDInstallPY36Extensions2";
    variant.pageName = "Optional Orvanto Extensions (Python 36)";
    variant.uiDlgName = "Optional Extensions (Python 36)";
    variant.elementPrefix = "Python 36 extension - ";
    variant.category = "Optional Orvanto Extensions (Python 36)";
    variant.cacheFolder = cache::kPy36PythonOtherExt;
    variant.serverPath = "/orvanto/files/InstallerDownloads/_Modules/Py36/";
    variant.exploreButton = IDC_PYEXT36_EXPLORE;
    variant.extensions = {
        {"Keras", "Keras-2.2.4-py2.py3-none-any.whl", "Keras", "2.2.4", nullptr},
        {"matplotlib", "matplotlib-3.1.0-cp36-cp36m-win32.whl", "matplotlib", "3.1.0", nullptr},
        {"scikit-learn", "scikit_learn-0.21.2-cp36-cp36m-win32.whl", "scikit-learn", "0.21.2", nullptr},
        {"scikit-image", "scikit_image-0.15.0-cp36-none-win32.whl", "scikit-image", "0.15.0", nullptr},
        {"Sphinx", "Sphinx-2.0.1-py2.py3-none-any.whl", "Sphinx", "2.0.1", nullptr},
        {"enum34", "enum34-1.1.6-py3-none-any.whl", "enum34", "1.1.6", nullptr},
        {"paho-mqtt", "paho-mqtt-1.4.0.tar.gz", "paho-mqtt", "1.4.0", nullptr},
        {"opcua", "opcua-0.98.7.tar.gz", "opcua", "0.98.7", nullptr},
        {"Shapely", "Shapely-1.7.0-cp36-cp36m-win32.whl", "Shapely", "1.7.0", nullptr},
        {"six", "six-1.12.0-py2.py3-none-any.whl", "six", "1.12.0", nullptr},
        {"Theano", "Theano-1.0.4.tar.gz", "theano", "1.0.4", nullptr},
        {"imutils", "imutils-0.5.2.tar.gz", "imutils", "0.5.2", nullptr},
    };
    variant.rowOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    variant.interpreterFolder = &hnPyhton36InstallFunctions::getPython36InstallFolder;
    variant.installedVersion = &hnPyhton36InstallFunctions::checkPy36ModuleWhlInstalledVersion;
    variant.python = 36;
    return variant;
}

kdDInstallPY36Extensions2::kdDInstallPY36Extensions2(const std::string& title)
    : kdDPipExtensionsPageBase(IDD_PY36_EXTENSIONS2, title, pageVariant()) {}
