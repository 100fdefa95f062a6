#pragma once
#include <functional>
#include <string>
#include <vector>

#include "controls/ImageButton.h"
#include "pages/ProfileCopyDlg.h"
#include "wizard/PropertyPageBase.h"

// Copies or moves profiles of older installed versions into this version:
// the profiles this version lacks, grouped by version in a check-box tree.
class kdDInstallImportProfiles : public kdDPropertyPageBase {
public:
    explicit kdDInstallImportProfiles(const std::string& title, const std::string& dataRoot = std::string());

    bool isPageSkipped() override { return false; }
    bool isHiddenInExtensionsOnlyMode() override { return false; }
    int updateButtons() override { return 1; }
    int setupControls() override;
    int initInstallationElements() override { return 1; }

    // Rebuilds the lists when forced or when there are none, then the tree.
    int refreshProfileList(bool force);

    static constexpr std::size_t kMaxVersions = 32;
    static constexpr UINT kPropagateChecks = 0x470; // lParam: the entry clicked

    std::string userDataRoot; // the documents folder
    std::vector<versionProfiles> lists;
    // Runs the copy or move dialog (modal); tests run it their own way.
    std::function<void(DCopyMoveOrvantoProfiles& dialog, HWND owner)> runDialog;

    std::string statusText; // the hint line
    hnImageButton copyButton, moveButton, refreshButton;

protected:
    bool onSetActive() override;
    bool onCommand(WORD id, WORD code, HWND control) override;
    bool onNotify(int id, NMHDR* header, LRESULT& result) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void buildLists();
    void fillTree();
    void copyOrMove(bool copy);
    void propagateChecks(HTREEITEM entry);
    HWND tree() const { return item(IDC_TREE); }

    static constexpr int IDC_TREE = 1254;
    HTREEITEM root_ = nullptr;
};
