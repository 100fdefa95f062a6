#pragma once
#include <string>
#include <vector>
#include <windows.h>

#include "pages/OptionalPageBase.h"

// One file of the image-library set as found in a folder.
struct hnMatrelFileRecord {
    FILETIME creation = {}, modification = {}, access = {};
    ULONGLONG size = 0;
    DWORD attributes = 0;
    std::string fullName;
};

constexpr int kMatrelFileCount = 8;

// Puts the backed-up files back over `targets` (a target without a backup is
// deleted) and checks each; the target names that do not hold their backup
// (or are still there without one) afterwards.
std::vector<std::string> restoreBackedUpFiles(const std::string* targets, const std::string* backups,
                                              const bool* backedUp, int count);

// Image processing options: the IPP module and the active variant of the
// runtime's image-array library (the variant whose files were copied into the
// runtime folder), recognised by comparing files and switched through
// DMatrelVersionSelection.
class kdDInstallModules : public kdDOptionalPageBase {
public:
    explicit kdDInstallModules(const std::string& title);

    static std::vector<hnOptionalComponent> elements();
    int setupControls() override;

    // Reads the set's eight files in `folder` (ending with a separator): 1, -1
    // (missing argument), -2 (a file missing), -3 (a file unreadable).
    static int getAllMatrelOptionRelatedFilesInfo(const char* folder, hnMatrelFileRecord* records);
    void updateMatrelVariantStatus();
    // The Change button: asks for a variant and makes it the active one; the
    // active files come back when the switch fails half-way.
    void changeMatrelVariant();
    // What the dialog's OK does with the variant chosen (1 to 5).
    void changeMatrelVariantTo(int variant);
    // The variant whose files are active in the runtime folder `runtime`
    // (ending with a separator): its index, 0 when none matches, -1 when the
    // active files are not all there.
    static int detectVariant(const std::string& runtime);
    // The active variant as "Library Variant" ("None" without the runtime
    // or a known variant).
    std::vector<hnPageChoice> choices() override;
    bool choose(const std::string& key, const std::string& member) override;
    // The variant's text (0: "Unknown Version").
    static const char* variantName(int variant);

    int variantIndex = 0;
    std::string ippNote;
    std::string variantText;
    std::string variantStatus;

protected:
    bool onCommand(WORD id, WORD code, HWND control) override;
    void afterActivation() override;
    LRESULT onWizardNext() override;
    bool onQueryCancel() override;

private:
    // The runtime product is installed under its expected name; otherwise
    // its message is shown.
    bool runtimeCheck();
    void warnWhenVariantIsWrong();
    // The chosen variant's files replace the active ones; on failure the
    // active ones are put back. Messages are shown here.
    bool switchVariantFiles(const std::string& runtime, int variant);

    hnImageButton changeButton_;
};
