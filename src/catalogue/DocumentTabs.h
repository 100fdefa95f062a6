#pragma once
// The tab dialogs of the tutorials and resources pages. Both read a standard
// INI list from the cache: a tutorial row installs a tutorial folder with
// its demo profile and opens its document, video and information page; a
// resources tab shows links in two columns, or a grid of pictures.
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Hyperlink.h"
#include "catalogue/TabDialogs.h"

// Operations of the tutorial rows.
enum TutorialOperation {
    TutorialInstall = 0,
    TutorialRun = 1,
    TutorialRemove = 2,
    TutorialPdf = 3,
    TutorialVideo = 4,
    TutorialInfo = 5
};

struct TutorialRow {
    HWND nameLabel = nullptr;
    HWND statusLabel = nullptr;
    std::unique_ptr<DDynamicButton> installButton;
    std::unique_ptr<DDynamicButton> removeButton;
    std::unique_ptr<DDynamicButton> runButton;
    std::unique_ptr<DDynamicButton> pdfButton;
    std::unique_ptr<DDynamicButton> videoButton;
    std::unique_ptr<DDynamicButton> infoButton;
    std::unique_ptr<hnImageStatic> infoImage;
    std::string caption;
    std::string name; // "Name", or the caption when empty
    std::string profileName;
    std::string profileZip;
    std::string url;
    std::string pdfName;
    std::string videoUrl;
    std::string infoText;
    std::string infoUrl;
    // The folder, profile, document and archive names are plain names that
    // fit their folders (and the document ends in ".pdf"); rows that are not
    // are shown with their file operations disabled.
    bool safe = false;
    const char* refusedName = nullptr; // which name the plain-name checks refused, with its text
    std::string refusedText;
    bool installed = false;
};

// A tutorial of the cached list as its row would show it, without a window:
// its name (the row's "Name", or the caption), its tab and whether it is
// installed now.
struct hnTutorialState {
    std::string name;
    std::string tab;
    bool installed = false;
};
// Every tutorial of the cached list, each name once, in list order.
std::vector<hnTutorialState> hnCachedTutorials();

class DTabTutorials : public kdDTabDialogBase {
public:
    DTabTutorials();
    ~DTabTutorials() override;

    // Reads the cached tutorial list (the list path is not used) and builds
    // one row per section of the tab, at most 12.
    int showTab(const std::string& listPath, const std::string& tabName, const std::string& cacheFolder,
                const std::string& category) override;
    int rowCount() const override { return static_cast<int>(rows.size()); }
    int rowIndexOf(const std::string& name) override;
    void refreshRows();

    // The tutorial is installed: its profile holds "Orvanto.Opb" and its
    // folder holds the document.
    bool detectInstalled(const TutorialRow& row) const;

    std::vector<TutorialRow> rows;
    std::string runtimeFolder;
    std::string profilesFolder;  // ending with a separator
    std::string tutorialsFolder; // ending with a separator
    std::string cacheFolder;
    std::string category;
    std::string emptyText;

protected:
    void runRowMessage(WPARAM index, LPARAM operation) override;

private:
    void install(TutorialRow& row);
    void remove(TutorialRow& row);
    void openDocument(TutorialRow& row);
    void openLink(const std::string& link, const char* failure);
    void destroyRows();
    void message(const std::string& text);
    // True when the rows, with their controls, were built from `list` for
    // the same tab and folders.
    bool rowsShowList(const std::string& list) const;
    std::string shownList_; // the list text, tab and folders the rows show
    std::string shownTab_;
    std::string shownFolders_;
};

struct ResourceItem {
    HWND bulletLabel = nullptr;
    std::unique_ptr<DDynamicHyperlink> link;
    HWND captionLabel = nullptr;
    std::unique_ptr<DDynamicButton> imageButton;
    std::string name;
    std::string url;
    std::string imageUrl;
    std::string imagePath;
    int32_t column = -1;
};

class DTabResources : public hnCatalogueTabDialog {
public:
    DTabResources();
    ~DTabResources() override;

    int showTab(const std::string& listPath, const std::string& tabName, const std::string& cacheFolder,
                const std::string& category) override;
    int rowCount() const override { return itemCount; }
    // Builds the items of one tab from the cached resource list.
    void updateResourcesList(const std::string& tabName);

    static constexpr int kMaxItems = 64;
    static constexpr UINT_PTR kRepaintTimer = 741;

    hnScopedGdi<HFONT> itemFont;
    std::vector<ResourceItem> items;
    int itemCount = 0;
    int repaintCount = 0;
    std::string emptyText;
    // The items are a grid of pictures (some item names a picture).
    bool showsPictures = false;

protected:
    bool onInitDialog() override;
    void onTimer(UINT_PTR id) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void runRowMessage(WPARAM index, LPARAM operation) override;

private:
    void destroyItems();
    HWND label(const char* text, const RECT& rect, DWORD style);
};
