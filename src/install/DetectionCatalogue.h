#pragma once
// The components detection knows, as one table of rows: display name, the
// rule that tells whether the component is present, the ordered checks of its
// status word and the family of versions listed when it is not in order.
// Names match without regard to letter case; a name the table does not know is
// not installed.
#include <string>
#include <utility>
#include <vector>

struct hnInstallationElement;

enum class hnProbeKind {
    MsiInstalled,             // a: product code
    MsiVersion,               // a: product code, b: version (letter case ignored)
    MsiNameSame,              // a: product code, b: name (none: the row's name)
    KeyPresent,               // a: Uninstall sub-key
    ValuePresent,             // a: sub-key, b: value name
    ValueEqual,               // a: sub-key, b: value name, c: expected text (exact)
    DotNet20,                 //
    WindowsInstaller31,       //
    AdobeReader,              //
    Py27CountAbove,           // n: Python 2.7 products counted above n
    Py27CountOneNeedsProduct, // a: product code that must be the one when the count is 1
    Py36PathsAvailable,       //
    Pip,                      // a: package reported by Python 2.7 pip
    PipVersion,               // a: package, b: excluded text or none, c: version
    Pip36,                    // a: package reported by Python 3.6 pip
    Pip36Version,             // a: package, b: excluded text or none, c: version
    LegacyDuplicate,          // a: package, b: old installer's key, c: old version
    Py36PyserialDuplicate,    //
    Py36OpenCVInstalled,      //
    Py36OpenCVDuplicated,     //
    OpenCvCountAbove,         // n
    RuntimeEntry,             // a: path below the runtime folder
    RuntimeFilesIdentical,    // a, b: paths below the runtime folder
    DocumentsEntry,           // a: path below the documents folder
    OpenCvFiles,              // a: runtime sub-folder
    DeepformFiles,            // a: runtime sub-folder, n: build
    IppFiles,                 //
    SmartCardConfigFiles,     //
    SmartCardProgramFiles,    //
    CycleControllerFiles,     //
    ZentraFiles,              //
    ClrBridgeFiles,           // any bridge file in the runtime folder or "Python\\Python27"
    DeepformClrActive,        //
    OpcServerPresent,         //
    OpcServerIdentity,        //
    TightVncVersion,          // a: the row's product code
    CycleControllerVersion,   //
    SelectedPythonIntegration //
};

struct hnProbe {
    hnProbeKind kind;
    const char* a = nullptr;
    const char* b = nullptr;
    const char* c = nullptr;
    int n = 0;
    bool negate = false;
};

struct hnStatusCheck {
    hnProbe probe;
    const char* word; // written when the probe does not hold
};

enum class hnVersionFamily {
    None,
    Py27Pywin32,
    Py27Pyserial,
    Py27Numpy,
    Py27Scipy,
    Py27OpenCV,
    Py27MySQL,
    PaintNet,
    Py36Pywin32,
    Py36Pyserial,
    Py36Numpy,
    Py36Scipy,
    Py36OpenCV,
    Py36PythonNet
};

struct hnDetectionRow {
    std::string name;
    bool presenceNeedsAll; // every presence probe must hold; otherwise one is enough
    std::vector<hnProbe> presence;
    std::vector<hnStatusCheck> checks;
    hnVersionFamily family;
};

const std::vector<hnDetectionRow>& detectionCatalogue();
// The first row whose name equals `name` without regard to letter case.
const hnDetectionRow* findDetectionRow(const std::string& name);
// Whether evaluating the row may start pip.
bool rowUsesPip(const hnDetectionRow& row);

// Answers shared by the rows of one refresh: a probe that reads every
// installed product (the Python 2.7 count) reads them once, and the probes
// of rows whose product or Uninstall entry is not there at all answer from
// one list of each instead of asking the installer or opening the key (each
// of those costs milliseconds on a slow machine, and most rows of a page are
// not installed). Make a fresh one for each refresh; nothing may change the
// machine while one is in use.
class hnDetectionMemo {
public:
    // More than `n` Python 2.7 products are installed.
    bool py27CountAbove(int n);
    // The installed names of the Python 2.7 products counted.
    const std::vector<std::string>& py27Names();
    // The product code is not among the machine's installed products.
    bool productAbsent(const char* productCode);
    // The product is installed (asked once per code).
    bool productInstalled(const char* productCode);
    // The Uninstall entry is neither the machine's nor the user's; false
    // when that cannot be told from the lists.
    bool uninstallEntryAbsent(const char* subKey);
    // The runtime's folder (false when it is not installed), read once.
    bool runtimeFolder(std::string& folder);

private:
    void readProducts();
    bool productsRead_ = false;
    int py27Count_ = 0;
    std::vector<std::string> py27Names_;
    std::vector<std::string> installedCodes_;            // lower case, sorted
    std::vector<std::pair<std::string, bool>> presence_; // code as given, answer
    std::vector<std::string> uninstallEntries_;          // lower case, sorted
    int uninstallListed_ = -1;                           // -1 not read, 0 unreadable, 1 listed
    int runtimeFound_ = -1;
    std::string runtimeFolder_;
};

// The three questions detection answers about an element. Without a memo
// every probe reads the machine afresh. `reason`, when given, receives the
// reason beside the answer: what the deciding probes looked for and what
// they found on the machine, in terms a user can check there.
bool detectInstalled(const hnInstallationElement& element, hnDetectionMemo* memo = nullptr,
                     std::string* reason = nullptr);
// Writes the status word; true only for "Installed". The reason of
// "Installed" is what every check found; empty for a row without checks,
// whose reason is that of its presence.
bool detectStatusWord(const hnInstallationElement& element, std::string& status,
                      hnDetectionMemo* memo = nullptr, std::string* reason = nullptr);
// Fills `statusDetail` for "Version Mismatch" and "Multiple Versions": 1 done
// (or nothing to do), 0 the row lists no versions.
int detectStatusDetail(hnInstallationElement& element);
