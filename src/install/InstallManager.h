#pragma once
// Holds a page's installation elements and runs every operation of the page
// over them: install, download, uninstall, repair, delete old downloads and
// refresh. Results are 1 for success and -1 for failure or abort.
#include <memory>
#include <string>
#include <vector>

#include "download/InstallationElement.h"
#include "install/DetectionCatalogue.h"

class hnElementActions;

class hnInstallManagerBase {
public:
    hnInstallManagerBase() = default;
    virtual ~hnInstallManagerBase();
    hnInstallManagerBase(const hnInstallManagerBase&) = delete;
    hnInstallManagerBase& operator=(const hnInstallManagerBase&) = delete;

    unsigned count() const { return static_cast<unsigned>(items.size()); }
    hnInstallationElement* item(unsigned index) const {
        return index < items.size() ? items[index].get() : nullptr;
    }

    int setElements(unsigned elementCount, hnInstallationElement* const* elements);
    void clearElements();
    int refreshStatuses(int first, int last);
    int installRange(int first, int last, bool repairWholeList, bool askBeforeRepair, bool stopOnErrors);
    int installSelection(const int* indices, int indexCount, bool refresh, bool repairWholeList);
    int downloadAll(bool showSummary, bool* skipAllErrors);
    int downloadSelection(const int* indices, int indexCount, bool showSummary, bool* skipAllErrors);
    int repairRange(bool stopOnErrors, int first, int last);
    int uninstallRange(int first, int last, bool stopOnErrors);
    int deleteOldDownloads(bool onlyRefreshable, bool showSummary);
    bool allInstalled() const;
    bool noneInstalled() const;
    hnInstallationElement* findElementByName(const std::string& name) const;
    int refreshVersionDetails(int last);

    // True when the status string holds one of the four repair words exactly.
    static bool needsRepair(const hnInstallationElement& element);

    // While a scope is open each row is detected at most once: within one
    // page activation the navigation, the page and its buttons all ask for
    // the rows' statuses, and the machine does not change between them; the
    // rows share one detection memo too. An install, repair or removal inside
    // the scope detects afresh.
    class hnDetectOnce {
    public:
        explicit hnDetectOnce(hnInstallManagerBase* manager);
        ~hnDetectOnce();
        hnDetectOnce(const hnDetectOnce&) = delete;
        hnDetectOnce& operator=(const hnDetectOnce&) = delete;

    private:
        hnInstallManagerBase* manager_;
    };

    // The per-element actions; the application's shipped ones unless set.
    void setActions(hnElementActions* actions) { actions_ = actions; }
    hnElementActions& actions() const;

private:
    bool validIndex(int index) const { return index >= 0 && static_cast<unsigned>(index) < items.size(); }
    void markRun(const std::vector<bool>& inRun);
    void markRange(int first, int last);
    bool askRepairQuestion();
    std::vector<std::string> statusSnapshot(int first, int last) const;

    // Installs, repairs and removals change the machine: while one runs every
    // refresh detects, and what the open scope detected before is forgotten.
    class hnChangingOperation {
    public:
        explicit hnChangingOperation(hnInstallManagerBase& manager);
        ~hnChangingOperation();
        hnChangingOperation(const hnChangingOperation&) = delete;
        hnChangingOperation& operator=(const hnChangingOperation&) = delete;

    private:
        hnInstallManagerBase& manager_;
    };

    // Lends a memo to the actions' detection for as long as it lives.
    class hnSharedDetection {
    public:
        hnSharedDetection(hnElementActions& actions, hnDetectionMemo* memo);
        ~hnSharedDetection();
        hnSharedDetection(const hnSharedDetection&) = delete;
        hnSharedDetection& operator=(const hnSharedDetection&) = delete;

    private:
        hnElementActions& actions_;
        hnDetectionMemo* previous_;
    };

    std::vector<std::unique_ptr<hnInstallationElement>> items;
    hnElementActions* actions_ = nullptr;
    int detectOnceDepth_ = 0;
    int changingDepth_ = 0;
    std::vector<bool> detected_; // rows detected in the open scope
    hnDetectionMemo scopeMemo_;  // answers shared in the open scope
};
