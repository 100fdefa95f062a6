#pragma once
// The live pip listing a package page needs at every activation, read on a
// worker so that the page shows its rows at once ("Checking...") and fills
// them when pip answers. The answer reaches the page as a posted message;
// leaving the page or Abort stops the worker through its stop block, and a
// stopped reading's answer is passed over. pip itself is left to end by
// itself: it only lists.
#include <atomic>
#include <functional>
#include <string>
#include <windows.h>

#include "app/StopBlock.h"
#include "download/InternetStop.h"
#include "install/PipShow.h"
#include "wizard/PropertyPageBase.h"

class kdDPipListingCheck {
public:
    // Posted to the page with the reading's number in wParam.
    static constexpr UINT kAnsweredMessage = WM_APP + 0x231;
    // The text a row shows while its package is being checked.
    static constexpr const char* kCheckingText = "Checking...";

    explicit kdDPipListingCheck(const char* who) : worker_(who) {}

    // What the worker does first, before the listing (a fresh copy of a list
    // file the page reads only after the answer); its internet handles
    // register with `stop`, which stopping the reading closes.
    using Prelude = std::function<void(hnInternetStop& stop)>;

    // Starts reading the listing of the interpreter in `folder` for `page`;
    // false when no worker could be started (the caller then asks pip itself).
    bool start(HWND page, const std::string& folder, Prelude prelude = {});
    // Ends a reading still running; its answer, if already posted, is ignored.
    void stop();
    // A reading was started and its answer not yet taken.
    bool checking() const { return checking_; }
    // For kAnsweredMessage: true when `run` answers the current reading. The
    // listing then goes into the caller's open pip answer scope as that
    // scope's reading of the folder.
    bool take(WPARAM run);
    // GetTickCount when pip's answer was in (benchmarks).
    DWORD answeredAt() const { return answeredAt_.load(); }

private:
    hnWorkerThread worker_;
    hnInternetStop preludeStop_;
    Prelude prelude_;
    std::string folder_;
    hnPipListing listing_;
    bool read_ = false;
    bool checking_ = false;
    unsigned run_ = 0;
    std::atomic<DWORD> answeredAt_{0};
};

// A page whose rows wait for the listing: it starts the reading at
// activation, hands the answer to answered() inside an open pip answer scope
// holding the listing, and stops the reading when the page is left, the
// wizard is cancelled or the page goes.
class kdDPipListingPage : public kdDPropertyPageBase {
public:
    using kdDPropertyPageBase::kdDPropertyPageBase;
    bool checking() const { return listingCheck_.checking(); }
    const kdDPipListingCheck& listingCheck() const { return listingCheck_; }

protected:
    // Starts the reading for the interpreter in `folder`; false when the page
    // has no window or no worker could start (the caller asks pip itself).
    bool startChecking(const std::string& folder, kdDPipListingCheck::Prelude prelude = {});
    // The listing has answered: fill the rows (detection runs once for it).
    virtual void answered() = 0;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onKillActive() override;
    bool onQueryCancel() override;
    void onDestroy() override;

private:
    kdDPipListingCheck listingCheck_{"kdDPipListingPage"};
};
