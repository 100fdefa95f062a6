#pragma once
// What installation, detection and removal ask of the Python environment: the
// interpreters' folders, pip probes and drivers, the stored selections, the
// runtime's Python integration, interpreter removal and the toolbox's bridge.
// The Python layer above implements it; the installer application hands it
// out (hnInstallerServices), tests may put a recorded one in place.
#include <functional>
#include <string>

class hnStopBlock;
class hnDialog;
class hnPipAnswers;

// The Python 3.6 packages whose installed version a row's detail shows.
enum class hnPy36Package { Pywin32, Pyserial, Numpy, Scipy, OpenCV, PythonNet };

// Python 3.6 probes that look at more than one package.
enum class hnPy36Probe { PyserialDuplicated, OpenCVInstalled, OpenCVDuplicated };

class hnPythonEnvironment {
public:
    virtual ~hnPythonEnvironment() = default;

    // ---- probes (each answers false on any failure)
    // The Python 2.7 interpreter's folder, with its trailing separator.
    virtual bool python27InstallFolder(std::string& folder) = 0;
    // The Python 3.6 interpreter's folders are on the system "Path".
    virtual bool py36PathsAvailable() = 0;
    // pip of Python 3.6 lists `package` (showing `nameText`), or lists it in
    // `version` without the `excluded` text. `dialog` stays up between queries.
    // `reported` (when given) receives the version pip reports, empty for none.
    virtual bool py36PackagePresent(hnDialog* dialog, const char* package, const char* nameText,
                                    std::string* reported = nullptr) = 0;
    virtual bool py36PackageVersion(hnDialog* dialog, const char* package, const char* excluded,
                                    const char* version, std::string* reported = nullptr) = 0;
    virtual bool py36Probe(hnPy36Probe probe, hnDialog* dialog) = 0;
    // The row detail of an installed Python 3.6 package's version.
    virtual bool py36InstalledVersionText(hnPy36Package package, std::string* text, hnDialog* dialog) = 0;
    // The toolbox's CLR dependency is the active bridge of the runtime.
    virtual bool deepformClrActive(const char* runtimeFolder) = 0;
    // The runtime's integration matches the stored interpreter choice.
    virtual bool selectedIntegrationOK() = 0;

    // ---- selections ("PySel.ini")
    // Python 3.6.6 is the stored interpreter choice.
    virtual bool python36Selected() = 0;
    virtual void setPy27OpenCVSelection(const char* value) = 0;

    // pip "show" answers kept while a scope is open (install/PipShow.h); none
    // where answers are not kept.
    virtual hnPipAnswers* pipAnswers() { return nullptr; }

    // ---- pip drivers
    virtual bool installPy27Wheel(const char* excluded, const std::string& wheelPath, const char* package,
                                  const char* version, bool stopOnErrors) = 0;
    virtual bool installPy36Wheel(const char* excluded, hnDialog* dialog, const std::string& wheelPath,
                                  const char* package, const char* version, bool stopOnErrors) = 0;
    // Removals; a stop of the calling worker (`stop` may be null) ends the
    // wait for pip at once and starts nothing more (false).
    virtual bool uninstallPy27Package(const char* package, bool stopOnErrors,
                                      const hnStopBlock* stop = nullptr) = 0;
    virtual bool uninstallPy36Package(const char* package, bool stopOnErrors,
                                      const hnStopBlock* stop = nullptr) = 0;
    virtual bool uninstallPy36PyserialPackages(bool stopOnErrors, const hnStopBlock* stop = nullptr) = 0;
    virtual bool uninstallPy36OpenCvPackages(bool stopOnErrors, const hnStopBlock* stop = nullptr) = 0;

    // ---- runtime integration and interpreters
    virtual bool applyPythonIntegration(int python) = 0; // 27 or 36
    // Called once the runtime is gone: the integration of either interpreter.
    virtual bool removePythonIntegration() = 0;
    // 27: every "Python 2.7" product; 36: "Python 3.6.6". A stop of the
    // calling worker (`stop` may be null) ends the waits and starts nothing more.
    virtual bool uninstallPythonRuntime(int python, const hnStopBlock* stop) = 0;

    // ---- toolbox
    // The toolbox build's preparation: the CLR bridge for Python 2.7 builds,
    // the pythonnet package for Python 3.6 builds.
    virtual bool prepareToolboxBridge(int python, const std::string& runtimeFolder) = 0;
    // Copies a toolbox build's files into the runtime; `prepare` runs first
    // with the runtime folder.
    virtual bool copyDeepformVisionFiles(const char* buildFolder,
                                         const std::function<void(const std::string&)>& prepare) = 0;
};

// The application's Python environment; without an installer application one
// that answers every call with false.
hnPythonEnvironment& pythonEnvironment();
