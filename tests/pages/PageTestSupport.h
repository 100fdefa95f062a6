#pragma once
// Pieces shared by the page tests: element actions that answer from a table
// of status words and record what the pages asked for, a wizard that hosts
// one page, the stored interpreter choice, and clicks as a user makes them.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include <windows.h>

#include "install/ElementActions.h"
#include "download/InstallationElement.h"
#include "download/StatusWords.h"
#include "support/TestSupport.h"
#include "wizard/PropertySheet.h"

// Detection answers from `status` (a name that is missing reads "Not
// Installed"); installing makes a component "Installed", removing and
// repairing make it "Not Installed". What ran is recorded as "verb name".
class TableActions : public hnElementActions {
public:
    std::map<std::string, std::string> status;
    std::vector<std::string> calls;
    std::map<std::string, int> detections; // isInstalled calls per name

    std::string statusOf(const std::string& name) const {
        auto found = status.find(name);
        return found == status.end() ? kStatusNotInstalled : found->second;
    }
    std::vector<std::string> callsOf(const std::string& verb) const {
        std::vector<std::string> names;
        for (const std::string& call : calls)
            if (call.compare(0, verb.size() + 1, verb + " ") == 0)
                names.push_back(call.substr(verb.size() + 1));
        return names;
    }

    bool isInstalled(hnInstallationElement& element) override {
        ++detections[element.name];
        return statusOf(element.name) != kStatusNotInstalled;
    }
    bool getStatusWord(hnInstallationElement& element, std::string& word) override {
        word = statusOf(element.name);
        return word == kStatusInstalled;
    }
    // As the shipped actions do, an installed component answers "Ok" at once
    // and one that is not installed needs no removal.
    int installElement(hnInstallationElement& element, int, int, bool, bool) override {
        if (statusOf(element.name) == kStatusInstalled) {
            element.setProgress(kProgressOk);
            return 1;
        }
        calls.push_back("install " + element.name);
        status[element.name] = kStatusInstalled;
        element.setStatus(kStatusInstalled);
        element.setProgress(kProgressOk);
        return 1;
    }
    // Downloads of these names fail, as when the server lacks the file.
    std::set<std::string> unreachable;
    int downloadElement(hnInstallationElement& element, bool&, int, int) override {
        calls.push_back("download " + element.name);
        return unreachable.count(element.name) ? -1 : 1;
    }
    int deleteOldDownload(int, hnInstallationElement&, int) override { return 1; }
    int uninstallElement(hnInstallationElement& element, int, int, bool) override {
        if (statusOf(element.name) != kStatusNotInstalled)
            calls.push_back("uninstall " + element.name);
        status[element.name] = kStatusNotInstalled;
        element.setStatus(kStatusNotInstalled);
        return 1;
    }
    int repairElement(bool, hnInstallationElement& element) override {
        const std::string& word = element.status();
        if (word == kStatusInstalled || word == kStatusNotInstalled)
            return 1;
        calls.push_back("repair " + element.name);
        status[element.name] = kStatusNotInstalled;
        return 1;
    }
    int updateStatusDetail(hnInstallationElement&) override { return 1; }
    hnDownloadErrorChoice askDownloadError(const std::string&) override {
        return hnDownloadErrorChoice::Abort;
    }
};

// Downloads fail, as without a connection to the server.
class OfflineActions : public TableActions {
public:
    int downloadElement(hnInstallationElement& element, bool&, int, int) override {
        calls.push_back("download " + element.name);
        return -1;
    }
};

// Installing a name of `broken` runs and answers success, but the component
// is not found afterwards: an installable that downloads but is no program.
class BrokenNamesActions : public TableActions {
public:
    std::set<std::string> broken;
    int installElement(hnInstallationElement& element, int position, int runLength, bool refresh,
                       bool stopOnErrors) override {
        if (!broken.count(element.name))
            return TableActions::installElement(element, position, runLength, refresh, stopOnErrors);
        calls.push_back("install " + element.name);
        return 1;
    }
};

// A plain wizard around one page and a second page to move to. The page
// object must outlive the host.
class PageHost {
public:
    explicit PageHost(hnPropertyPage& page);
    ~PageHost();
    HWND sheetWindow() const { return sheet_.hwnd(); }
    HWND pageWindow() const;
    bool onSecondPage() const;
    void pressNext();
    // The sheet's Next button can be pressed.
    bool nextEnabled() const;
    std::string cancelText() const;

private:
    class Blank;
    hnPropertySheet sheet_;
    Blank* blank_;
};

// A page of its own wizard with a scripted prompter (`Answer` when the script
// has run out; 0 keeps the prompter's own). With a status table the rows
// read their words from `Actions`; without one the page keeps the shipped
// actions and reads the machine.
template <typename Page, typename Actions = TableActions, int Answer = 0> struct ShownTablePage {
    template <typename... Args>
    explicit ShownTablePage(const std::map<std::string, std::string>* status, Args... args)
        : page("Test", args...) {
        if (Answer)
            prompter.fallback = Answer;
        if (status) {
            actions.status = *status;
            page.installManager->setActions(&actions);
        }
        host.reset(new PageHost(page));
        window = page.hwnd();
    }
    template <typename... Args>
    explicit ShownTablePage(std::map<std::string, std::string> status, Args... args)
        : ShownTablePage(&status, args...) {}
    ShownTablePage() : ShownTablePage(nullptr) {}
    ScriptedPrompter prompter;
    Actions actions;
    Page page;
    std::unique_ptr<PageHost> host;
    HWND window = nullptr;
};

// Stores (or, with nullptr, forgets) the interpreter choice in the settings
// file; forgets it again at the end.
class StoredSelection {
public:
    explicit StoredSelection(const char* selection);
    ~StoredSelection();
    static std::string read(); // the stored text, empty without one
};

void pumpMessages(DWORD ms = 60);
// Clicks a button of a page as the mouse would (sent: the handler has run
// when this returns).
void clickButton(HWND page, int id);
// Chooses a combo item by its exact text and tells the page.
bool chooseItem(HWND page, int comboId, const std::string& text);
std::string controlText(HWND parent, int id);
bool controlVisible(HWND parent, int id);
bool controlEnabled(HWND parent, int id);
// A control's rectangle in its parent's client pixels.
RECT controlRect(HWND parent, int id);
// Moves the pointer over a control of a shown page as the mouse moves it
// (the message goes to the window under the pointer, through the page's
// relay to its tooltip) and waits for the tooltip to show. The tooltip's
// text, empty when none showed; `under` receives the window that was under
// the pointer. With `screenshot`, saves the screen with the sheet and the
// tooltip as "<screenshot>.bmp" in the build's screenshot folder.
class kdDPropertyPageBase;
std::string hoverTip(kdDPropertyPageBase& page, HWND sheet, int id, HWND* under = nullptr,
                     const char* screenshot = nullptr);
// The tooltip text a page keeps for one of its controls.
std::string tipOf(const kdDPropertyPageBase& page, int id);
// The rows lie inside the page's group box and the hint line ends before the
// page buttons at the bottom (it would paint over them).
void expectTidyLayout(HWND page, const std::vector<int>& rowControls, const std::vector<int>& pageButtons);
