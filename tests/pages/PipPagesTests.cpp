// The Python package pages against the stand-in pip: what each row shows of
// pip's answer, one pip query per package for a whole activation, rows shown
// at once while pip's listing is read on a worker, and Install replacing
// another installed version only once the row's own one has been fetched.
#include <gtest/gtest.h>

#include <memory>

#include "app/FileHelpers.h"
#include "install/DetectionSupport.h"
#include "install/PipShow.h"
#include "pages/PageTestSupport.h"
#include "pages/Py27Extensions2Page.h"
#include "pages/Py27ExtensionsNewPage.h"
#include "pages/Py36Extensions2Page.h"
#include "pages_ids.h"
#include "process/ProcessLaunch.h"
#include "support/SlowRepository.h"

namespace {

enum Part { kName = 0, kVersion = 1, kInstall = 2, kUninstall = 3 };
// Row slots of the Python 2.7 page, top to bottom.
const int kScikitLearn = 0, kKeras = 3, kSix = 10;
const char* const kKerasElement = "Python 27 extension - Keras";

int control(int slot, Part part) {
    return IDC_PYEXT_ROW(slot, part);
}

// Pumps messages until the page's pip listing has answered and filled the rows.
template <typename Page> bool awaitListing(Page& page) {
    return waitFor([&] { return !page.checking(); }, 30000);
}

// A shown page whose rows have been filled from pip's answer.
template <typename Page, typename Actions = TableActions>
struct OpenPipPage : ShownTablePage<Page, Actions> {
    template <typename... Args>
    explicit OpenPipPage(Args&&... args) : ShownTablePage<Page, Actions>(std::forward<Args>(args)...) {
        EXPECT_TRUE(awaitListing(this->page));
    }
};

// pip takes this long for every call.
// Holds every pip call of the interpreter until release(): the page meets a
// slow pip however fast or loaded the machine is.
class HeldPip {
public:
    explicit HeldPip(const FakeInterpreter& python) : file_(python.folder() + "Scripts\\hold.txt") {
        writeTextFile(file_, "");
    }
    ~HeldPip() { release(); }
    void release() { ::DeleteFileA(file_.c_str()); }

private:
    std::string file_;
};

// No pip of the test runs any more.
bool pipEnded() {
    return countProcessesByImageName("pip.exe") == 0 && countProcessesByImageName("python.exe") == 0;
}

struct RowView {
    std::string name, version;
    bool installEnabled, uninstallShown;
};
RowView rowView(HWND page, int slot) {
    return {controlText(page, control(slot, kName)), controlText(page, control(slot, kVersion)),
            controlEnabled(page, control(slot, kInstall)), controlVisible(page, control(slot, kUninstall))};
}

// Everything an activation shows: each row's texts and buttons, then each
// element's status. An outer scope chooses how pip is asked.
template <typename Page> std::vector<std::string> activationView(hnPipQueries queries) {
    hnPipAnswerScope scope(queries);
    OpenPipPage<Page> open;
    std::vector<std::string> view;
    for (std::size_t slot = 0; slot < open.page.variant().rowOrder.size(); ++slot) {
        RowView row = rowView(open.window, static_cast<int>(slot));
        view.push_back(row.name + " | " + row.version + (row.installEnabled ? " | install" : "") +
                       (row.uninstallShown ? " | uninstall" : ""));
    }
    for (unsigned i = 0; i < open.page.installManager->count(); ++i)
        view.push_back("status " + open.page.installManager->item(i)->status());
    return view;
}

} // namespace

TEST(PipExtensionRows, EachRowShowsWhatPipReportsForItsPackage) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"scikit-learn", "0.20.3"}, {"Keras", "2.1.0"}});
    std::map<std::string, std::string> status;
    OpenPipPage<kdDInstallPY27Extensions2> open(&status);

    RowView learn = rowView(open.window, kScikitLearn); // the required version
    EXPECT_EQ("Python 27 extension - scikit-learn", learn.name);
    EXPECT_EQ("0.20.3", learn.version);
    EXPECT_FALSE(learn.installEnabled);
    EXPECT_TRUE(learn.uninstallShown);

    RowView keras = rowView(open.window, kKeras); // another version: named beside the row
    EXPECT_EQ("Python 27 extension - Keras 2.1.0", keras.name);
    EXPECT_EQ("2.2.4", keras.version);
    EXPECT_TRUE(keras.installEnabled);
    EXPECT_TRUE(keras.uninstallShown);

    RowView six = rowView(open.window, kSix); // not there
    EXPECT_EQ("Python 27 extension - six", six.name);
    EXPECT_EQ("1.12.0", six.version);
    EXPECT_TRUE(six.installEnabled);
    EXPECT_FALSE(six.uninstallShown);

    FakeInterpreter python36("3.6-32");
    python36.setPackages({{"six", "1.12.0"}});
    OpenPipPage<kdDInstallPY36Extensions2> open36(&status);
    RowView six36 = rowView(open36.window, 9);
    EXPECT_EQ("Python 36 extension - six", six36.name);
    EXPECT_FALSE(six36.installEnabled);
    EXPECT_TRUE(six36.uninstallShown);
    EXPECT_FALSE(rowView(open36.window, 0).uninstallShown); // Keras is not there
}

// The rows and the status refresh of the activation share pip's answers: one
// listing of the interpreter, not a query per row and another per detection.
TEST(PipExtensionRows, ActivationAsksPipOncePerPackage) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"Keras", "2.2.4"}, {"six", "1.11.0"}});
    OpenPipPage<kdDInstallPY27Extensions2> open;
    EXPECT_EQ(1, python27.callCount());
    EXPECT_EQ(kStatusInstalled, open.page.installManager->findElementByName(kKerasElement)->status());
    EXPECT_EQ(kStatusVersionMismatch,
              open.page.installManager->findElementByName("Python 27 extension - six")->status());
}

TEST(PipExtensionRows, InstallReplacesAnotherVersionOnlyOnceTheNewOneIsFetched) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"Keras", "2.1.0"}});
    std::map<std::string, std::string> status = {{kKerasElement, kStatusVersionMismatch}};
    {
        OpenPipPage<kdDInstallPY27Extensions2> open(&status);
        const hnInstallationElement& keras = *open.page.installManager->findElementByName(kKerasElement);
        std::string wheel = keras.downloadFolder + "\\" + keras.fileName;
        ASSERT_TRUE(writeFileAt(wheel, "stand-in wheel" + emptyZip())); // what the fetch leaves
        clickButton(open.window, control(kKeras, kInstall));
        deleteFileForced(wheel);
        std::vector<std::string> expected = {"download " + std::string(kKerasElement),
                                             "uninstall " + std::string(kKerasElement),
                                             "install " + std::string(kKerasElement)};
        EXPECT_EQ(expected, open.actions.calls);

        // A row that is not there is installed at once.
        clickButton(open.window, control(kSix, kInstall));
        EXPECT_EQ("install Python 27 extension - six", open.actions.calls.back());
    }
    // Offline: the installed version stays.
    OpenPipPage<kdDInstallPY27Extensions2, OfflineActions> offline(&status);
    clickButton(offline.window, control(kKeras, kInstall));
    EXPECT_EQ(std::vector<std::string>{"download " + std::string(kKerasElement)}, offline.actions.calls);
    EXPECT_EQ(kStatusVersionMismatch, offline.actions.statusOf(kKerasElement));
    EXPECT_EQ("Python 27 extension - Keras 2.1.0", rowView(offline.window, kKeras).name);
}

namespace {

// The rows' removal and installation as pip sees them: a removal drops the
// package from the stand-in interpreter, an installation puts the row's
// version there unless pip rejects the file.
class PipMirrorActions : public TableActions {
public:
    FakeInterpreter* python = nullptr;
    std::pair<std::string, std::string> installs; // package and version pip ends with
    bool pipRejects = false;
    int uninstallElement(hnInstallationElement& element, int position, int runLength, bool stop) override {
        python->setPackages({});
        return TableActions::uninstallElement(element, position, runLength, stop);
    }
    int installElement(hnInstallationElement& element, int, int, bool, bool) override {
        calls.push_back("install " + element.name);
        if (pipRejects)
            return -1;
        python->setPackages({installs});
        status[element.name] = kStatusInstalled;
        return 1;
    }
};

} // namespace

// Before the version in use goes, the fetched wheel is checked as far as the
// installer can without pip; a wheel pip then rejects leaves the user told
// that the old version was removed.
TEST(PipExtensionRows, AWheelIsCheckedBeforeTheOldVersionGoesAndAFailureSaysWhatIsLeft) {
    FakeInterpreter python27("2.7");
    std::map<std::string, std::string> status = {{kKerasElement, kStatusVersionMismatch}};
    OpenPipPage<kdDInstallPY27Extensions2, PipMirrorActions> open(&status);
    open.actions.python = &python27;
    open.actions.installs = {"Keras", "2.2.4"};
    const hnInstallationElement& keras = *open.page.installManager->findElementByName(kKerasElement);
    std::string wheel = keras.downloadFolder + "\\" + keras.fileName;

    // Not an archive: nothing is removed, the file goes, the user is told.
    python27.setPackages({{"Keras", "2.1.0"}});
    ASSERT_TRUE(writeFileAt(wheel, "not a wheel"));
    clickButton(open.window, control(kKeras, kInstall));
    EXPECT_EQ(std::vector<std::string>{"download " + std::string(kKerasElement)}, open.actions.calls);
    EXPECT_FALSE(fileExists(wheel));
    ASSERT_EQ(1u, open.prompter.records.size()) << describeRecords(open.prompter);
    EXPECT_EQ("Keras 2.2.4 could not be installed: the downloaded file is no usable wheel for this Python; "
              "Keras 2.1.0 is still installed.",
              open.prompter.records[0].text);
    EXPECT_EQ("Python 27 extension - Keras 2.1.0", rowView(open.window, kKeras).name);

    // An archive whose tags fit, which pip rejects after the removal.
    ASSERT_TRUE(writeFileAt(wheel, "stand-in wheel" + emptyZip()));
    open.actions.pipRejects = true;
    open.actions.calls.clear();
    clickButton(open.window, control(kKeras, kInstall));
    EXPECT_EQ((std::vector<std::string>{"download " + std::string(kKerasElement),
                                        "uninstall " + std::string(kKerasElement),
                                        "install " + std::string(kKerasElement)}),
              open.actions.calls);
    ASSERT_EQ(2u, open.prompter.records.size()) << describeRecords(open.prompter);
    EXPECT_EQ("Keras 2.2.4 could not be installed; Keras 2.1.0 was removed.", open.prompter.records[1].text);
    EXPECT_FALSE(rowView(open.window, kKeras).uninstallShown);
    EXPECT_TRUE(fileExists(wheel)); // pip's refusal alone keeps the file

    // pip takes it: no message.
    python27.setPackages({{"Keras", "2.1.0"}});
    open.actions.status[kKerasElement] = kStatusVersionMismatch;
    open.actions.pipRejects = false;
    clickButton(open.window, control(kKeras, kInstall));
    EXPECT_EQ(2u, open.prompter.records.size()) << describeRecords(open.prompter);
    EXPECT_EQ("Python 27 extension - Keras", rowView(open.window, kKeras).name);
    deleteFileForced(wheel);
}

TEST(PipExtensionRows, UninstallHidesTheButtonOncePipNoLongerKnowsThePackage) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"six", "1.12.0"}});
    OpenPipPage<kdDInstallPY27Extensions2> open; // real removal through pip
    ASSERT_TRUE(rowView(open.window, kSix).uninstallShown);
    clickButton(open.window, control(kSix, kUninstall));
    RowView six = rowView(open.window, kSix);
    EXPECT_FALSE(six.uninstallShown);
    EXPECT_TRUE(six.installEnabled);
    EXPECT_EQ(kStatusNotInstalled,
              open.page.installManager->findElementByName("Python 27 extension - six")->status());
}

// One listing per interpreter gives every row and status exactly what a
// query per package gives on the same package database (names spelt in other
// cases and separators, decorated and other versions, absent packages); a
// listing pip refuses falls back to the per-package queries.
TEST(PipExtensionRows, ListingAndPerPackageQueriesShowTheSame) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"Scikit_Learn", "0.20.3"},
                          {"keras", "2.1.0"},
                          {"six", "1.12.0"},
                          {"numpy", "1.16.4+mkl"},
                          {"Paho.MQTT", "1.4.0"},
                          {"pip", "19.2.3"}});
    FakeInterpreter python36("3.6-32");
    python36.setPackages({{"six", "1.11.0"}, {"KERAS", "2.2.4"}, {"scikit-learn", "0.21.2"}});

    std::vector<std::string> perPackage27 =
        activationView<kdDInstallPY27Extensions2>(hnPipQueries::PerPackage);
    std::vector<std::string> perPackage36 =
        activationView<kdDInstallPY36Extensions2>(hnPipQueries::PerPackage);
    const int rows27 = python27.callCount(), rows36 = python36.callCount();
    EXPECT_GT(rows27, 5);
    EXPECT_GT(rows36, 5);

    EXPECT_EQ(perPackage27, activationView<kdDInstallPY27Extensions2>(hnPipQueries::Listing));
    EXPECT_EQ(perPackage36, activationView<kdDInstallPY36Extensions2>(hnPipQueries::Listing));
    EXPECT_EQ(rows27 + 1, python27.callCount()) << "one listing per activation";
    EXPECT_EQ(rows36 + 1, python36.callCount());
    EXPECT_NE(readTextFile(python27.folder() + "Scripts\\calls.txt").find("list --format=freeze\r\n"),
              std::string::npos);
    // Something is installed and something is not, so the comparison means something.
    std::string joined;
    for (const std::string& line : perPackage27)
        joined += line + "\n";
    EXPECT_NE(joined.find("| uninstall"), std::string::npos);
    EXPECT_NE(joined.find("status " + std::string(kStatusNotInstalled)), std::string::npos);

    // pip refuses the listing (the stand-in does while a show switch is set):
    // each package is asked on its own, with the same result. (Every
    // activation reads the listing once; the per-package count includes it.)
    writeTextFile(python27.folder() + "Scripts\\long-output.txt", "100");
    EXPECT_EQ(perPackage27, activationView<kdDInstallPY27Extensions2>(hnPipQueries::Listing));
    EXPECT_EQ(rows27 + 1 + rows27, python27.callCount());
}

// A slow pip does not hold the page up: the rows show at once with
// "Checking..." and buttons that refuse, the statuses stay empty until the
// listing answers, and then the rows show pip's answer.
TEST(PipExtensionRows, RowsShowAtOnceAndFillWhenTheSlowListingAnswers) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"six", "1.12.0"}, {"Keras", "2.1.0"}});
    HeldPip held(python27);
    std::map<std::string, std::string> status = {{kKerasElement, kStatusVersionMismatch}};
    ShownTablePage<kdDInstallPY27Extensions2> open(&status);

    ASSERT_TRUE(open.page.checking()) << "the activation waited for pip";
    RowView keras = rowView(open.window, kKeras);
    EXPECT_EQ("Python 27 extension - Keras", keras.name);
    EXPECT_EQ("Checking...", keras.version);
    EXPECT_FALSE(keras.installEnabled);
    EXPECT_FALSE(keras.uninstallShown);
    const hnInstallationElement* element = open.page.installManager->findElementByName(kKerasElement);
    EXPECT_EQ("", element->status());
    EXPECT_EQ("Checking...", *element->progressText);
    // A click that reaches the page anyway does nothing.
    clickButton(open.window, control(kKeras, kInstall));
    clickButton(open.window, control(kSix, kUninstall));
    EXPECT_TRUE(open.actions.calls.empty());

    held.release();
    ASSERT_TRUE(awaitListing(open.page));
    EXPECT_EQ(1, python27.callCount()) << "one listing served the rows and the statuses";
    keras = rowView(open.window, kKeras);
    EXPECT_EQ("Python 27 extension - Keras 2.1.0", keras.name);
    EXPECT_EQ("2.2.4", keras.version);
    EXPECT_TRUE(keras.installEnabled);
    EXPECT_TRUE(rowView(open.window, kSix).uninstallShown);
    EXPECT_EQ(kStatusVersionMismatch, element->status());
    EXPECT_EQ("", *element->progressText);
}

// Leaving the page stops the reading at once, without killing a thread; its
// answer fills nothing, and the next activation asks pip afresh.
TEST(PipExtensionRows, LeavingThePageStopsTheListing) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"six", "1.12.0"}});
    HeldPip held(python27);
    DebugCapture debug;
    std::map<std::string, std::string> status;
    ShownTablePage<kdDInstallPY27Extensions2> open(&status);
    ASSERT_TRUE(open.page.checking());
    DWORD start = ::GetTickCount();
    open.host->pressNext();
    // Pip is held for two minutes: a page that waited for it comes back late.
    EXPECT_LT(::GetTickCount() - start, 60000u) << "leaving waited for pip";
    EXPECT_FALSE(open.page.checking());
    held.release();
    EXPECT_TRUE(waitFor(pipEnded, 30000));
    pumpMessages(); // what its answer might have sent
    EXPECT_EQ("Checking...", rowView(open.window, kSix).version);
    EXPECT_EQ("", open.page.installManager->item(10)->status());
    for (const std::string& line : debug.lines())
        EXPECT_EQ(std::string::npos, line.find("terminating")) << line;
}

// The recommended page shows its set and the CLR line at once; the bridge
// switch and the set's actions wait for the listing.
TEST(PipPackageSets, PageShowsAtOnceAndActsOnlyOnceTheListingAnswered) {
    FakeInterpreter python27("2.7");
    python27.setPackages({{"pythonnet", "2.3.0"}});
    HeldPip held(python27);
    std::map<std::string, std::string> status = {{"pythonnet-2.3.0-cp27-cp27m-win32", kStatusInstalled}};
    ShownTablePage<kdDInstallPY27ExtensionsNew> open(&status);

    ASSERT_TRUE(open.page.checking()) << "the activation waited for pip";
    EXPECT_EQ("Checking...", controlText(open.window, IDC_PYPKG_CLR_STATUS));
    EXPECT_EQ("", open.page.installManager->item(1)->status());
    chooseItem(open.window, IDC_PYPKG_CLR_COMBO, "Python 2.7 CLR 4.0");
    clickButton(open.window, IDC_PYPKG_INSTALL_ALL);
    EXPECT_TRUE(open.actions.calls.empty());

    held.release();
    ASSERT_TRUE(awaitListing(open.page));
    EXPECT_EQ(kStatusInstalled, open.page.installManager->item(1)->status());
    EXPECT_EQ("Status: Installed", controlText(open.window, IDC_PYPKG_CLR_STATUS));
}

// The page's set-up fetches its list afresh beside pip's listing: the first
// activation shows the sets of the cached list at once, the list's own
// buttons wait, and the fresh list's sets show once pip has answered.
TEST(PipPackageSets, TheFreshListArrivesBesidePipsListingAndReplacesTheCachedOne) {
    SlowRepository server("[Fresh Set]\nnumpy=numpy-1.16.4+mkl-cp27-cp27m-win32\n", 800);
    ASSERT_TRUE(server.listening());
    FakeInterpreter python27("2.7");
    python27.setPackages({{"pythonnet", "2.3.0"}});
    std::string cached;
    {
        kdDInstallPY27ExtensionsNew probe("probe");
        const hnInstallationElement& list = *probe.installManager->item(0);
        ::CreateDirectoryA(list.downloadFolder.c_str(), nullptr);
        cached = list.downloadFolder + "\\" + list.fileName;
    }
    bool hadList = fileExists(cached);
    std::string before = hadList ? readTextFile(cached) : std::string();
    writeTextFile(cached, "[Cached Set]\nnumpy=numpy-1.16.4+mkl-cp27-cp27m-win32\n");
    {
        ShownTablePage<kdDInstallPY27ExtensionsNew> open(std::map<std::string, std::string>{});
        ASSERT_TRUE(open.page.checking()) << "the activation waited for the list";
        EXPECT_EQ("Cached Set", open.page.selectedPackage());
        clickButton(open.window, IDC_PYPKG_REFRESH); // refused: the fresh list is on its way
        clickButton(open.window, IDC_DOWNLOAD_INSTALLABLES);
        EXPECT_TRUE(open.prompter.records.empty()) << describeRecords(open.prompter);
        EXPECT_TRUE(open.actions.calls.empty());

        ASSERT_TRUE(awaitListing(open.page));
        EXPECT_EQ("Fresh Set", open.page.selectedPackage());
    }
    if (hadList)
        writeTextFile(cached, before);
    else
        ::DeleteFileA(cached.c_str());
}
