#pragma once
// The catalogue of action elements: the components whose installable the
// download-and-install dialog only fetches and whose installation the
// installation actions perform, with every constant an action needs. Rows
// are found by display name without regard to case.
#include <string>

enum class hnActionFamily {
    RuntimeSubFolder, // A: archive into a runtime sub-folder
    RuntimeFolder,    // B: archive into the runtime folder or its Python folder
    Documents,        // C: archive into "Orvanto 15.0" of the documents folder
    CycleController,  // D
    VendorSetup,      // E: vendor setup extracted into a work folder
    Wheel,            // F: pip wheel or source archive
    PaintProgram,     // G
    AfterStandard,    // H: follow-up of a standard element (not an action element)
    DownloadOnly,     // fetched only, no action
};

// Follow-up of family A and target of family B.
enum class hnArchiveFollowUp {
    None,
    SystemPath,   // add the target folder to the system "Path"
    OpenCv,       // system "Path", then "cv2.pyd" into the runtime's Python folder
    PythonFolder, // family B: the runtime's Python folder is the target
};

// Family E members.
enum class hnVendorSetup { OpcScout, ImagingSource, OpcServer };

// Wheel clean-ups after installation.
enum class hnWheelCleanup { None, Cv2Pyd, PythonNetFiles };

struct hnActionRow {
    const char* name;
    hnActionFamily family;
    const char* file;   // archive or setup in the download folder (null: the element's file name)
    const char* target; // runtime sub-folder, work area, or null
    hnArchiveFollowUp followUp;
    const char* errorText;        // extraction failure (family E: extraction failure)
    hnVendorSetup setup;          // family E only
    const char* missingSetupText; // family E only
};

struct hnWheelRow {
    const char* name;
    int python;               // 27 or 36
    const char* file;         // proper file name of the wheel in the download folder
    const char* downloadedAs; // name in the download cache when it differs (a "+" became "-"), else null
    const char* package;
    const char* version;
    const char* excluded; // or null
    hnWheelCleanup cleanup;
    bool pleaseWait; // Python 3.6 only: a please-wait dialog during pip
};

const hnActionRow* findActionRow(const std::string& name);
const hnWheelRow* findWheelRow(const std::string& name);

// The toolbox content rows (templates, demo profiles, readme of each build):
// fetched only and never verified.
bool isToolboxContentRow(const std::string& name);

// Action element: the dialog only downloads, the actions install.
bool isActionElement(const std::string& name);
// Verify: after the action, detection must find the component.
bool isVerifiedElement(const std::string& name);

// Every row, for tests that walk the whole catalogue.
const hnActionRow* actionRows(int& count);
const hnWheelRow* wheelRows(int& count);
