#pragma once
// The tab dialogs of the catalogue pages: one row of controls per list entry
// of the selected tab (at most 12), made at run time. A row button tells the
// dialog which row and which operation was pressed (WM_USER + 6); the dialog
// installs, runs, removes or opens the item and shows the rows' new states.
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "app/Dialog.h"
#include "app/ScopedHandle.h"
#include "catalogue/CatalogueList.h"
#include "catalogue/CatalogueSources.h"
#include "controls/ImageButton.h"
#include "controls/ImageStatic.h"
#include "controls/PictureCache.h"

// From a dynamic button (and a link) to its owner: wParam the row index,
// lParam the operation.
constexpr UINT kDynamicButtonMessage = WM_USER + 6;

// A picture button that reports its clicks to its owner with WM_USER + 6,
// synchronously.
class DDynamicButton : public hnImageButton {
public:
    HWND owner = nullptr;
    int rowIndex = -1;
    int operation = -1;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Layout steps shared by the tab dialogs that build their rows at run time.
RECT hnRectOf(int left, int top, int right, int bottom);
// Shows or hides a row's control (null: nothing) and enables it.
void hnShowRowControl(HWND control, bool shown, bool enabled = true);
// The button's window, or null for a button not made.
HWND hnButtonWindow(const std::unique_ptr<DDynamicButton>& button);

// What a catalogue tab control asks of the dialog it shows for the selected
// tab: rows built for a tab, and row operations (WM_USER + 6 from its
// buttons) counted, so that nothing destroys the dialog while one runs.
class hnCatalogueTabDialog : public hnDialog {
public:
    explicit hnCatalogueTabDialog(UINT templateId) : hnDialog(templateId) {}

    // Rebuilds the rows for `tabName`; 1 after the rows were built, -1
    // without a window.
    virtual int showTab(const std::string& listPath, const std::string& tabName,
                        const std::string& cacheFolder, const std::string& category) = 0;
    virtual int rowCount() const = 0;
    // The index of the row showing the item `name`, -1 when none does.
    virtual int rowIndexOf(const std::string& name) {
        (void)name;
        return -1;
    }
    // Sees the messages of the sheet's loop first; false (never consumed).
    virtual bool preTranslateMessage(MSG* msg) {
        (void)msg;
        return false;
    }

    // True while a row operation runs: the dialog must not be destroyed then.
    bool operationRunning() const { return operationDepth_ > 0; }
    // Called after every row operation (the page runs what waited for it).
    std::function<void()> onOperationEnded;
    // True while the page refuses the rows' buttons (its list is about to
    // change under them): a press then does nothing.
    std::function<bool()> rowsRefused;
    // The window's picture cache, which the rows use in place of their own
    // when set (it outlives the dialog): its pictures are decoded on a worker
    // before the first page shows, so that no row decodes one.
    hnPictureCache* sharedPictures = nullptr;

    std::string tabName;

protected:
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Clicks of dynamic buttons and links go back to the control.
    bool onCommand(WORD id, WORD code, HWND control) override;
    // One row operation: the index and operation as the button sent them.
    virtual void runRowMessage(WPARAM index, LPARAM operation) = 0;

private:
    // Runs an operation of the dialog; what waited for it runs afterwards.
    void counted(const std::function<void()>& operation);
    int operationDepth_ = 0;
};

// Base of the tab dialogs with rows: the dialog font and a tooltip that sees
// every message of the dialog first.
class kdDTabDialogBase : public hnCatalogueTabDialog {
public:
    explicit kdDTabDialogBase(UINT templateId);
    ~kdDTabDialogBase() override;

    // Relays a message of the sheet's loop to the tooltip; false (never
    // consumed).
    bool preTranslateMessage(MSG* msg) override;
    void addToolTip(HWND control, const std::string& text);
    void removeToolTip(HWND control);
    // The tooltip of a row the plain-name checks refused: which name of the
    // server's list ("folder", "profile", ...) was refused.
    void explainRefusal(HWND nameLabel, const char* what, const std::string& name);

    HWND toolTip = nullptr;
    hnScopedGdi<HFONT> dialogFont;
    hnScopedGdi<HFONT> rowFont;
    hnPictureCache pictures; // the row buttons' pictures, decoded once
    // From `sharedPictures` when set, else from `pictures`.
    const hnPngImage& picture(UINT id) { return (sharedPictures ? *sharedPictures : pictures).resource(id); }

protected:
    // While rows are made: the dialog draws nothing, then once, all of it.
    class RowsBuild {
    public:
        explicit RowsBuild(HWND dialog);
        ~RowsBuild();
        RowsBuild(const RowsBuild&) = delete;
        RowsBuild& operator=(const RowsBuild&) = delete;

    private:
        HWND dialog_;
        bool drawing_;
    };

    bool onInitDialog() override;
    void onDestroy() override;
    // A row button with its picture, the row font and its tooltip.
    DDynamicButton* createButton(std::unique_ptr<DDynamicButton>& button, int index, int operation,
                                 UINT image, const char* tooltip, const RECT& rect, int id);
};

// The download of a row's archive: component 1 of 1, download-only, with
// messages. 1 the archive is at `archive`, 0 the dialog did not end with OK,
// 2 it ended with OK but the archive is missing, -1 the URL names no plain
// file name.
int fetchRowArchive(HWND owner, const std::string& name, const std::string& url,
                    const std::string& cacheFolder, const std::string& category, std::string& archive);

// Starts "Orvanto.exe" of the runtime folder on the profile `profileName` of
// `profilesFolder` with the stored Python switch; shows "Unable to load the
// profile..." on failure. Nothing starts without the program.
void runProfileInRuntime(HWND owner, const std::string& runtimeFolder, const std::string& profilesFolder,
                         const std::string& profileName);

// Operations of the row buttons.
enum CatalogueOperation { OperationInstall = 0, OperationRun = 1, OperationUninstall = 2, OperationInfo = 3 };

// What every row of a catalogue tab shows and acts on.
struct CatalogueRow {
    HWND nameLabel = nullptr;
    HWND versionLabel = nullptr;
    std::unique_ptr<DDynamicButton> installButton;
    std::unique_ptr<DDynamicButton> uninstallButton;
    std::unique_ptr<DDynamicButton> infoButton;
    std::unique_ptr<hnImageStatic> infoImage;
    std::string name;
    std::string folderName; // ClassName, or Name when that is empty
    std::string url;
    std::string installedVersion;
    std::string availableVersion;
    std::string infoText;
    std::string infoUrl;
    // The folder name is one plain name that fits the content folder; rows
    // whose name is not are shown with their buttons disabled.
    bool safe = false;
};

struct ProfileRow : CatalogueRow {
    std::unique_ptr<DDynamicButton> runButton;
    bool installed = false;
};

// 0 the offered version is installed, 1 not installed or an older version,
// 2 a newer version installed.
struct TemplateRow : CatalogueRow {
    int32_t state = 1;
    std::string installedFolder; // the folder that detection found
};

// Texts of one kind of tab dialog.
struct CatalogueTabTexts {
    const char* badRow;
    const char* badUrl;
    const char* extractFailed;
    const char* archiveMissing;
    const char* infoFailed;
    const char* emptyTab;
};

// The shared part of the profile and template tab dialogs.
class DCatalogueTabDialog : public kdDTabDialogBase {
public:
    DCatalogueTabDialog(UINT templateId, const CatalogueTabTexts& texts, const char* contentFolderName,
                        const char* initialTabName);

    // Rebuilds the rows for `tabName` from the list file; 1 after the rows
    // were built, -1 without a window.
    int showTab(const std::string& listPath, const std::string& tabName, const std::string& cacheFolder,
                const std::string& category) override;
    virtual void refreshRows() = 0;
    int rowIndexOf(const std::string& name) override;

    std::string runtimeFolder;
    std::string contentFolder; // profiles or templates folder, ending with a separator
    CatalogueList list;
    std::string listPath;
    std::string cacheFolder;
    std::string category;
    std::string emptyText;

protected:
    void runRowMessage(WPARAM index, LPARAM operation) override;

    virtual void resizeRows(int count) = 0;
    virtual CatalogueRow& row(int index) = 0;
    // Reads the row's installed state from the file system.
    virtual void detectRow(int index) = 0;
    virtual void createRowControls(int index, int anchorX, int y, int idBase) = 0;
    virtual int idStep() const = 0;
    // Operation 1; the dialogs without a run button answer it as unexpected.
    virtual void runRow(int index);
    virtual void uninstallRow(int index) = 0;
    // What every entry of the row's archive must start with.
    virtual std::string entryPrefix(const CatalogueRow& row) const = 0;

    void runOperation(int index, int operation);
    void installRow(int index);
    void openInfo(int index);
    void createLabels(CatalogueRow& row, const RECT& nameRect, const RECT& versionRect,
                      const std::string& text);
    void createInfoControls(CatalogueRow& row, int index, int y, int id);
    void refreshInfo(CatalogueRow& row);
    void destroyRowControls(CatalogueRow& row);
    // True when the rows, with their controls, stand for exactly `entries`.
    bool rowsShowEntries(const std::vector<const CatalogueEntry*>& entries);
    void message(const std::string& text);

    CatalogueTabTexts texts_;
    const char* contentFolderName_;
};

class DTabProfiles2D : public DCatalogueTabDialog {
public:
    DTabProfiles2D();
    ~DTabProfiles2D() override;
    void refreshRows() override;
    int rowCount() const override { return static_cast<int>(rows.size()); }
    std::vector<ProfileRow> rows;

    // The command line of "Run": the Python switch from the stored selection.
    static std::string pythonSwitch();

protected:
    void resizeRows(int count) override;
    CatalogueRow& row(int index) override { return rows[static_cast<std::size_t>(index)]; }
    void detectRow(int index) override;
    void createRowControls(int index, int anchorX, int y, int idBase) override;
    int idStep() const override { return 5; }
    void runRow(int index) override;
    void uninstallRow(int index) override;
    std::string entryPrefix(const CatalogueRow& row) const override {
        return profileEntryPrefix(row.folderName);
    }
};

class DTabTemplates : public DCatalogueTabDialog {
public:
    DTabTemplates();
    ~DTabTemplates() override;
    void refreshRows() override;
    int rowCount() const override { return static_cast<int>(rows.size()); }
    std::vector<TemplateRow> rows;

    // The template state of `folderName` in `templatesFolder` against the
    // offered version: state, installed version and the folder found.
    static int32_t detectTemplateState(const std::string& templatesFolder, const std::string& folderName,
                                       const std::string& availableVersion, std::string& installedVersion,
                                       std::string& installedFolder);

protected:
    void resizeRows(int count) override;
    CatalogueRow& row(int index) override { return rows[static_cast<std::size_t>(index)]; }
    void detectRow(int index) override;
    void createRowControls(int index, int anchorX, int y, int idBase) override;
    int idStep() const override { return 4; }
    void uninstallRow(int index) override;
    std::string entryPrefix(const CatalogueRow& row) const override {
        return templateEntryPrefix(row.folderName);
    }
};
