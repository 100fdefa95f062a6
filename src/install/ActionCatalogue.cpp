#include "install/ActionCatalogue.h"

#include <iterator>

#include "app/Text.h"

namespace {

using F = hnActionFamily;
using U = hnArchiveFollowUp;
using S = hnVendorSetup;
using C = hnWheelCleanup;

const hnActionRow kActionRows[] = {
    {"OpenCV 2.4.9 (Python 27)", F::RuntimeSubFolder, "opencv-249_py27_bin.zip", "OpenCV249Py27", U::OpenCv,
     "Error: Unable to extract the OpenCV 2.4.9 files. Please try again.", S::OpcScout, nullptr},
    {"OpenCV 3.0.0", F::RuntimeSubFolder, "opencv-300_bin.zip", "OpenCV300", U::OpenCv,
     "Error: Unable to extract the OpenCV 3.0.0 files. Please try again.", S::OpcScout, nullptr},
    {"OpenCV 3.1.0", F::RuntimeSubFolder, "opencv-310_bin.zip", "OpenCV310", U::OpenCv,
     "Error: Unable to extract the OpenCV 3.1.0 files. Please try again.", S::OpcScout, nullptr},
    {"OpenCV 3.2.0", F::RuntimeSubFolder, "opencv-320_bin.zip", "OpenCV320", U::OpenCv,
     "Error: Unable to extract the OpenCV 3.2.0 files. Please try again.", S::OpcScout, nullptr},
    {"OpenCV 3.3.0", F::RuntimeSubFolder, "opencv-330_bin.zip", "OpenCV330", U::OpenCv,
     "Error: Unable to extract the OpenCV 3.3.0 files. Please try again.", S::OpcScout, nullptr},
    {"OpenCV 3.3.1", F::RuntimeSubFolder, "opencv-331_bin.zip", "OpenCV331", U::OpenCv,
     "Error: Unable to extract the OpenCV 3.3.1 files. Please try again.", S::OpcScout, nullptr},
    {"OpenCV 3.4.0", F::RuntimeSubFolder, "opencv-340_bin.zip", "OpenCV340", U::OpenCv,
     "Error: Unable to extract the OpenCV 3.4.0 files. Please try again.", S::OpcScout, nullptr},
    {"Deepform Vision 1.0.0.333", F::RuntimeSubFolder, "1.0.0.333_Files.zip", "DeepformVision_1_0_0_333",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.333 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.355", F::RuntimeSubFolder, "1.0.0.355_Files.zip", "DeepformVision_1_0_0_355",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.355 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.383", F::RuntimeSubFolder, "1.0.0.383_Files.zip", "DeepformVision_1_0_0_383",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.383 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.550", F::RuntimeSubFolder, "1.0.0.550_Files.zip", "DeepformVision_1_0_0_550",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.550 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.612", F::RuntimeSubFolder, "1.0.0.612_Files.zip", "DeepformVision_1_0_0_612",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.612 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.719", F::RuntimeSubFolder, "1.0.0.719_Files.zip", "DeepformVision_1_0_0_719",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.719 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.758", F::RuntimeSubFolder, "1.0.0.758_Files.zip", "DeepformVision_1_0_0_758",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.758 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.819", F::RuntimeSubFolder, "1.0.0.819_Files.zip", "DeepformVision_1_0_0_819",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.819 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.1114", F::RuntimeSubFolder, "1.0.0.1114_Files.zip", "DeepformVision_1_0_0_1114",
     U::None, "Error: Unable to extract the Deepform Vision 1.0.0.1114 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.819(02) (Python 36)", F::RuntimeSubFolder, "1.0.0.819_02_Py36_Files.zip",
     "DeepformVisionPy36_1_0_0_819_02", U::None,
     "Error: Unable to extract the Deepform Vision Py36 1.0.0.819 files. Please try again.", S::OpcScout,
     nullptr},
    {"Deepform Vision 1.0.0.1114 (Python 36)", F::RuntimeSubFolder, "1.0.0.1114_Py36_Files.zip",
     "DeepformVisionPy36_1_0_0_1114", U::None,
     "Error: Unable to extract the Deepform Vision Py36 1.0.0.1114 files. Please try again.", S::OpcScout,
     nullptr},
    {"Orvanto 2018.0.0.992 IPP", F::RuntimeSubFolder, "Orvanto_2018.0.0.992_IPP.zip", "IPP201800992",
     U::SystemPath, "Error: Unable to extract the IPP module files. Please try again.", S::OpcScout, nullptr},
    {"Zentra API 1.0.0.3 Files", F::RuntimeFolder, "zentraapi-1.0.0.3.zip", nullptr, U::PythonFolder,
     "Error: Unable to extract the Zentra API module files. Please try again.", S::OpcScout, nullptr},
    {"Shared Memory Camera Driver", F::RuntimeFolder, "SMCameraClient-1.0.0.5.zip", nullptr, U::None,
     "Error: Unable to extract the Shared Memory Camera Driver files. Please try again.", S::OpcScout,
     nullptr},
    {"Orvanto Quiver VAVUZirar Config 4.0", F::Documents, "Orvanto_Quiver_VAVUZirar_Config_4.0.zip", nullptr,
     U::None, "Error: Unable to extract the VavuzIrar module files. Please try again.", S::OpcScout, nullptr},
    {"Orvanto Quiver VAVUZirar Program and Driver 5.0", F::Documents, "VAVUZirar_Program_And_Driver_5.0.zip",
     nullptr, U::None, "Error: Unable to extract the VavuzIrar module files. Please try again.", S::OpcScout,
     nullptr},
    {"Cycle Controller 1.0.0.1(3587)", F::CycleController, nullptr, nullptr, U::None,
     "Error: Unable to extract the Cycle Controller files. Please try again.", S::OpcScout, nullptr},
    {"OPC Scout (SIMATIC NET OPC-Client V6.2-3133)", F::VendorSetup, "SIMATIC_NET_OPC_Client_V6.2_3133.zip",
     "_OrvantoInstallData\\Utilities", U::None,
     "Error: Unable to extract the OPC Scout files. Please try again.", S::OpcScout,
     "Error: Unable to locate OPC Scout setup file. Please try again."},
    {"Imaging Source Camera Driver", F::VendorSetup, "usbcam_2.6.5_tis_02.zip",
     "_OrvantoInstallData\\Installations3rdParty", U::None,
     "Error: Unable to extract the Imaging Source Camera Driver files. Please try again.", S::ImagingSource,
     "Error: Unable to extract the Imaging Source Camera Driver files. Please try again."},
    {"Orvanto OPC Server 1.0.0.7", F::VendorSetup, "OrvantoOPCServer_1_0_0_7_Files.zip", nullptr, U::None,
     "Error: Unable to extract the Orvanto OPC Server files. Please try again.", S::OpcServer,
     "Error: Unable to locate setup file. Please try again."},
    {"Paint.net 4.0.19", F::PaintProgram, "paint.net.4.0.19.install.exe", nullptr, U::None, nullptr,
     S::OpcScout, nullptr},
    {"Paint.net 4.2.12", F::PaintProgram, "paint.net.4.2.12.install.exe", nullptr, U::None, nullptr,
     S::OpcScout, nullptr},
    {"Orvanto PlantOPCClient 1.9.0.28", F::AfterStandard, nullptr, nullptr, U::None, nullptr, S::OpcScout,
     nullptr},
    {"Orvanto Kadrix SDK XV 774 Installer", F::DownloadOnly, nullptr, nullptr, U::None, nullptr, S::OpcScout,
     nullptr},
};

const hnWheelRow kWheelRows[] = {
    {"opencv_contrib_python-3.4.3.18-cp27-cp27m-win32", 27,
     "opencv_contrib_python-3.4.3.18-cp27-cp27m-win32.whl", nullptr, "opencv-contrib-python", "3.4.3.18",
     nullptr, C::Cv2Pyd, false},
    {"opencv_contrib_python-4.1.0.25-cp27-cp27m-win32", 27,
     "opencv_contrib_python-4.1.0.25-cp27-cp27m-win32.whl", nullptr, "opencv-contrib-python", "4.1.0.25",
     nullptr, C::Cv2Pyd, false},
    {"opencv_contrib_python-4.2.0.32-cp27-cp27m-win32", 27,
     "opencv_contrib_python-4.2.0.32-cp27-cp27m-win32.whl", nullptr, "opencv-contrib-python", "4.2.0.32",
     nullptr, C::Cv2Pyd, false},
    {"opencv_python-3.4.3.18-cp27-cp27m-win32", 27, "opencv_python-3.4.3.18-cp27-cp27m-win32.whl", nullptr,
     "opencv-python", "3.4.3.18", nullptr, C::Cv2Pyd, false},
    {"opencv_python-4.1.0.25-cp27-cp27m-win32", 27, "opencv_python-4.1.0.25-cp27-cp27m-win32.whl", nullptr,
     "opencv-python", "4.1.0.25", nullptr, C::Cv2Pyd, false},
    {"opencv_python-4.2.0.32-cp27-cp27m-win32", 27, "opencv_python-4.2.0.32-cp27-cp27m-win32.whl", nullptr,
     "opencv-python", "4.2.0.32", nullptr, C::Cv2Pyd, false},
    {"pythonnet-2.3.0-cp27-cp27m-win32", 27, "pythonnet-2.3.0-cp27-cp27m-win32.whl", nullptr, "pythonnet",
     "2.3.0", nullptr, C::PythonNetFiles, false},
    {"pyserial-3.4-py2.py3-none-any", 27, "pyserial-3.4-py2.py3-none-any.whl", nullptr, "pyserial", "3.4",
     nullptr, C::None, false},
    {"scipy-1.0.0-cp27-cp27m-win32", 27, "scipy-1.0.0-cp27-cp27m-win32.whl", nullptr, "scipy", "1.0.0",
     nullptr, C::None, false},
    {"scipy-1.1.0-cp27-cp27m-win32", 27, "scipy-1.1.0-cp27-cp27m-win32.whl", nullptr, "scipy", "1.1.0",
     nullptr, C::None, false},
    {"scipy-1.2.2-cp27-cp27m-win32", 27, "scipy-1.2.2-cp27-cp27m-win32.whl", nullptr, "scipy", "1.2.2",
     nullptr, C::None, false},
    {"numpy-1.14.0+mkl-cp27-cp27m-win32", 27, "numpy-1.14.0+mkl-cp27-cp27m-win32.whl",
     "numpy-1.14.0-mkl-cp27-cp27m-win32.whl", "numpy", "1.14.0+mkl", nullptr, C::None, false},
    {"numpy-1.14.5+mkl-cp27-cp27m-win32", 27, "numpy-1.14.5+mkl-cp27-cp27m-win32.whl",
     "numpy-1.14.5-mkl-cp27-cp27m-win32.whl", "numpy", "1.14.5+mkl", nullptr, C::None, false},
    {"numpy-1.15.1+mkl-cp27-cp27m-win32", 27, "numpy-1.15.1+mkl-cp27-cp27m-win32.whl",
     "numpy-1.15.1-mkl-cp27-cp27m-win32.whl", "numpy", "1.15.1+mkl", nullptr, C::None, false},
    {"numpy-1.16.4+mkl-cp27-cp27m-win32", 27, "numpy-1.16.4+mkl-cp27-cp27m-win32.whl",
     "numpy-1.16.4-mkl-cp27-cp27m-win32.whl", "numpy", "1.16.4+mkl", nullptr, C::None, false},
    {"numpy-1.16.4-cp27-cp27m-win32", 27, "numpy-1.16.4-cp27-cp27m-win32.whl", nullptr, "numpy", "1.16.4",
     "1.16.4+", C::None, false},
    {"Python 27 extension - scikit-image", 27, "scikit_image-0.14.2-cp27-none-win32.whl", nullptr,
     "scikit-image", "0.14.2", nullptr, C::None, false},
    {"Python 27 extension - scikit-learn", 27, "scikit_learn-0.20.3-cp27-cp27m-win32.whl", nullptr,
     "scikit-learn", "0.20.3", nullptr, C::None, false},
    {"Python 27 extension - matplotlib", 27, "matplotlib-2.2.4-cp27-cp27m-win32.whl", nullptr, "matplotlib",
     "2.2.4", nullptr, C::None, false},
    {"Python 27 extension - Keras", 27, "Keras-2.2.4-py2.py3-none-any.whl", nullptr, "Keras", "2.2.4",
     nullptr, C::None, false},
    {"Python 27 extension - Sphinx", 27, "Sphinx-1.8.5-py2.py3-none-any.whl", nullptr, "Sphinx", "1.8.5",
     nullptr, C::None, false},
    {"Python 27 extension - enum34", 27, "enum34-1.1.6-py2-none-any.whl", nullptr, "enum34", "1.1.6", nullptr,
     C::None, false},
    {"Python 27 extension - paho-mqtt", 27, "paho-mqtt-1.4.0.tar.gz", nullptr, "paho-mqtt", "1.4.0", nullptr,
     C::None, false},
    {"Python 27 extension - opcua", 27, "opcua-0.98.7.tar.gz", nullptr, "opcua", "0.98.7", nullptr, C::None,
     false},
    {"Python 27 extension - Shapely", 27, "Shapely-1.6.4.post2-cp27-cp27m-win32.whl", nullptr, "Shapely",
     "1.6.4.post2", nullptr, C::None, false},
    {"Python 27 extension - six", 27, "six-1.12.0-py2.py3-none-any.whl", nullptr, "six", "1.12.0", nullptr,
     C::None, false},
    {"Python 27 extension - Theano", 27, "Theano-1.0.4.tar.gz", nullptr, "Theano", "1.0.4", nullptr, C::None,
     false},
    {"Python 27 extension - imutils", 27, "imutils-0.5.2.tar.gz", nullptr, "imutils", "0.5.2", nullptr,
     C::None, false},
    {"pywin32-223-cp36-cp36m-win32", 36, "pywin32-223-cp36-cp36m-win32.whl", nullptr, "pywin32", "223",
     nullptr, C::None, true},
    {"pyserial-3.4-py2.py3-none-any-py36", 36, "pyserial-3.4-py2.py3-none-any.whl", nullptr, "pyserial",
     "3.4", nullptr, C::None, true},
    {"scipy-1.2.0-cp36-cp36m-win32", 36, "scipy-1.2.0-cp36-cp36m-win32.whl", nullptr, "scipy", "1.2.0",
     nullptr, C::None, true},
    {"scipy-1.3.0-cp36-cp36m-win32", 36, "scipy-1.3.0-cp36-cp36m-win32.whl", nullptr, "scipy", "1.3.0",
     nullptr, C::None, true},
    {"scipy-1.3.1-cp36-cp36m-win32", 36, "scipy-1.3.1-cp36-cp36m-win32.whl", nullptr, "scipy", "1.3.1",
     nullptr, C::None, true},
    {"numpy-1.15.4-cp36-none-win32", 36, "numpy-1.15.4-cp36-none-win32.whl", nullptr, "numpy", "1.15.4",
     "1.15.4+", C::None, true},
    {"numpy-1.16.4-cp36-cp36m-win32", 36, "numpy-1.16.4-cp36-cp36m-win32.whl", nullptr, "numpy", "1.16.4",
     "1.16.4+", C::None, true},
    {"numpy-1.16.4+mkl-cp36-cp36m-win32", 36, "numpy-1.16.4+mkl-cp36-cp36m-win32.whl",
     "numpy-1.16.4-mkl-cp36-cp36m-win32.whl", "numpy", "1.16.4+mkl", nullptr, C::None, true},
    {"opencv_contrib_python-3.4.3.18-cp36-cp36m-win32", 36,
     "opencv_contrib_python-3.4.3.18-cp36-cp36m-win32.whl", nullptr, "opencv-contrib-python", "3.4.3.18",
     nullptr, C::None, true},
    {"opencv_contrib_python-4.1.0.25-cp36-cp36m-win32", 36,
     "opencv_contrib_python-4.1.0.25-cp36-cp36m-win32.whl", nullptr, "opencv-contrib-python", "4.1.0.25",
     nullptr, C::None, true},
    {"opencv_contrib_python-4.2.0.32-cp36-cp36m-win32", 36,
     "opencv_contrib_python-4.2.0.32-cp36-cp36m-win32.whl", nullptr, "opencv-contrib-python", "4.2.0.32",
     nullptr, C::None, true},
    {"opencv_contrib_python-4.2.0.34-cp36-cp36m-win32", 36,
     "opencv_contrib_python-4.2.0.34-cp36-cp36m-win32.whl", nullptr, "opencv-contrib-python", "4.2.0.34",
     nullptr, C::None, true},
    {"opencv_python-3.4.3.18-cp36-cp36m-win32", 36, "opencv_python-3.4.3.18-cp36-cp36m-win32.whl", nullptr,
     "opencv-python", "3.4.3.18", nullptr, C::None, true},
    {"opencv_python-4.1.0.25-cp36-cp36m-win32", 36, "opencv_python-4.1.0.25-cp36-cp36m-win32.whl", nullptr,
     "opencv-python", "4.1.0.25", nullptr, C::None, true},
    {"opencv_python-4.2.0.32-cp36-cp36m-win32", 36, "opencv_python-4.2.0.32-cp36-cp36m-win32.whl", nullptr,
     "opencv-python", "4.2.0.32", nullptr, C::None, true},
    {"opencv_python-4.2.0.34-cp36-cp36m-win32", 36, "opencv_python-4.2.0.34-cp36-cp36m-win32.whl", nullptr,
     "opencv-python", "4.2.0.34", nullptr, C::None, true},
    {"opencv_python-4.0.0-cp36-cp36m-win32", 36, "opencv_python-4.0.0-cp36-cp36m-win32.whl", nullptr,
     "opencv-python", "4.0.0", "4.0.0+", C::None, true},
    {"opencv_python-4.0.0+contrib-cp36-cp36m-win32", 36, "opencv_python-4.0.0+contrib-cp36-cp36m-win32.whl",
     "opencv_python-4.0.0-contrib-cp36-cp36m-win32.whl", "opencv-python", "4.0.0+contrib", nullptr, C::None,
     true},
    {"pythonnet-2.3.0-cp36-cp36m-win32", 36, "pythonnet-2.3.0-cp36-cp36m-win32.whl", nullptr, "pythonnet",
     "2.3.0", nullptr, C::None, true},
    {"Python 36 extension - Keras", 36, "Keras-2.2.4-py2.py3-none-any.whl", nullptr, "Keras", "2.2.4",
     nullptr, C::None, false},
    {"Python 36 extension - matplotlib", 36, "matplotlib-3.1.0-cp36-cp36m-win32.whl", nullptr, "matplotlib",
     "3.1.0", nullptr, C::None, false},
    {"Python 36 extension - scikit-learn", 36, "scikit_learn-0.21.2-cp36-cp36m-win32.whl", nullptr,
     "scikit-learn", "0.21.2", nullptr, C::None, false},
    {"Python 36 extension - scikit-image", 36, "scikit_image-0.15.0-cp36-none-win32.whl", nullptr,
     "scikit-image", "0.15.0", nullptr, C::None, false},
    {"Python 36 extension - Sphinx", 36, "Sphinx-2.0.1-py2.py3-none-any.whl", nullptr, "Sphinx", "2.0.1",
     nullptr, C::None, false},
    {"Python 36 extension - enum34", 36, "enum34-1.1.6-py3-none-any.whl", nullptr, "enum34", "1.1.6", nullptr,
     C::None, false},
    {"Python 36 extension - paho-mqtt", 36, "paho-mqtt-1.4.0.tar.gz", nullptr, "paho-mqtt", "1.4.0", nullptr,
     C::None, false},
    {"Python 36 extension - opcua", 36, "opcua-0.98.7.tar.gz", nullptr, "opcua", "0.98.7", nullptr, C::None,
     false},
    {"Python 36 extension - Shapely", 36, "Shapely-1.7.0-cp36-cp36m-win32.whl", nullptr, "Shapely", "1.7.0",
     nullptr, C::None, false},
    {"Python 36 extension - six", 36, "six-1.12.0-py2.py3-none-any.whl", nullptr, "six", "1.12.0", nullptr,
     C::None, false},
    {"Python 36 extension - Theano", 36, "Theano-1.0.4.tar.gz", nullptr, "Theano", "1.0.4", nullptr, C::None,
     false},
    {"Python 36 extension - imutils", 36, "imutils-0.5.2.tar.gz", nullptr, "imutils", "0.5.2", nullptr,
     C::None, false},
};

// Builds of the toolbox whose content rows exist, with the suffixes of those rows.
const char* const kToolboxBuilds27[] = {"333", "355", "383", "550", "612", "719", "758", "819", "1114"};
const char* const kToolboxSuffixes27[] = {" - Templates", " - Demo Profiles", " - Readme"};
const char* const kToolboxBuilds36[] = {"819(02)", "1114"};
const char* const kToolboxSuffixes36[] = {" - Templates (Python 36)", " - Demo Profiles (Python 36)",
                                          " - Readme (Python 36)"};
const char* const kToolboxPrefix = "Deepform Vision 1.0.0.";

template <typename Builds, typename Suffixes>
bool matchesContentRow(const std::string& name, const Builds& builds, const Suffixes& suffixes) {
    for (const char* build : builds)
        for (const char* suffix : suffixes)
            if (hnEqualsNoCase(name, std::string(kToolboxPrefix) + build + suffix))
                return true;
    return false;
}

} // namespace

const hnActionRow* findActionRow(const std::string& name) {
    for (const hnActionRow& row : kActionRows)
        if (hnEqualsNoCase(name, row.name))
            return &row;
    return nullptr;
}

const hnWheelRow* findWheelRow(const std::string& name) {
    for (const hnWheelRow& row : kWheelRows)
        if (hnEqualsNoCase(name, row.name))
            return &row;
    return nullptr;
}

bool isToolboxContentRow(const std::string& name) {
    return matchesContentRow(name, kToolboxBuilds27, kToolboxSuffixes27) ||
           matchesContentRow(name, kToolboxBuilds36, kToolboxSuffixes36);
}

bool isActionElement(const std::string& name) {
    if (findWheelRow(name) || isToolboxContentRow(name))
        return true;
    const hnActionRow* row = findActionRow(name);
    return row && row->family != hnActionFamily::AfterStandard;
}

bool isVerifiedElement(const std::string& name) {
    return !isToolboxContentRow(name);
}

const hnActionRow* actionRows(int& count) {
    count = static_cast<int>(std::size(kActionRows));
    return kActionRows;
}

const hnWheelRow* wheelRows(int& count) {
    count = static_cast<int>(std::size(kWheelRows));
    return kWheelRows;
}
