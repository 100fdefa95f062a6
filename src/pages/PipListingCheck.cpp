#include "pages/PipListingCheck.h"

#include "install/PythonEnvironment.h"

bool kdDPipListingCheck::start(HWND page, const std::string& folder, Prelude prelude) {
    stop();
    preludeStop_.rearm();
    prelude_ = std::move(prelude);
    folder_ = folder;
    listing_ = hnPipListing();
    read_ = false;
    const unsigned run = ++run_;
    // The worker touches only the listing and the flag until it posts; the
    // page reads them after the message, or after stop() has joined it.
    checking_ = worker_.start([this, page, run] {
        if (prelude_)
            prelude_(preludeStop_);
        if (worker_.stopRequested())
            return;
        read_ = hnReadPipListing(folder_, listing_, &worker_.stopBlock());
        if (worker_.stopRequested())
            return;
        answeredAt_.store(::GetTickCount());
        ::PostMessageA(page, kAnsweredMessage, run, 0);
    });
    return checking_;
}

void kdDPipListingCheck::stop() {
    preludeStop_.requestStop(); // a transfer waiting on the network returns now
    worker_.stop();
    checking_ = false;
    ++run_;
}

bool kdDPipListingCheck::take(WPARAM run) {
    if (!checking_ || run != run_)
        return false;
    worker_.stop(); // it has posted: only its return is left
    checking_ = false;
    if (hnPipAnswers* answers = pythonEnvironment().pipAnswers())
        answers->keepListing(folder_, read_, listing_);
    return true;
}

bool kdDPipListingPage::startChecking(const std::string& folder, kdDPipListingCheck::Prelude prelude) {
    return hwnd() && listingCheck_.start(hwnd(), folder, std::move(prelude));
}

bool kdDPipListingPage::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != kdDPipListingCheck::kAnsweredMessage)
        return kdDPropertyPageBase::onMessage(message, wParam, lParam, result);
    result = 0;
    hnInstallManagerBase::hnDetectOnce once(installManager.get());
    hnPipAnswerScope pipAnswers;
    if (listingCheck_.take(wParam))
        answered();
    return true;
}

bool kdDPipListingPage::onKillActive() {
    listingCheck_.stop();
    return kdDPropertyPageBase::onKillActive();
}

bool kdDPipListingPage::onQueryCancel() {
    listingCheck_.stop();
    return kdDPropertyPageBase::onQueryCancel();
}

void kdDPipListingPage::onDestroy() {
    listingCheck_.stop();
    kdDPropertyPageBase::onDestroy();
}
