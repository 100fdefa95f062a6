// Stopping worker threads: a worker is never killed, and its owner outlives it.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "app/ScopedHandle.h"
#include "app/StopBlock.h"
#include "support/TestSupport.h"

namespace {

// What a worker shares with the thread that stops it; the worker is stuck in
// a wait the stop block does not reach until `release` is set.
struct StuckWorkerOwner {
    hnStopBlock stop;
    hnScopedHandle release{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HWND reportTo = nullptr;
    std::atomic<bool> finished{false};

    static DWORD WINAPI run(LPVOID parameter) {
        auto* owner = static_cast<StuckWorkerOwner*>(parameter);
        ::WaitForSingleObject(owner->release.get(), INFINITE);
        // Reports to the stopping thread, which must answer while it waits.
        ::SendMessageA(owner->reportTo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("reported"));
        owner->finished = true; // touches its owner to the end
        return 7;
    }
};

} // namespace

TEST(StopBlock, AStuckWorkerIsWaitedForNeverKilledAndItsOwnerOutlivesIt) {
    DebugCapture debug;
    auto* owner = new StuckWorkerOwner;
    HWND window = ::CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    owner->reportTo = window;
    hnScopedHandle thread(::CreateThread(nullptr, 0, StuckWorkerOwner::run, owner, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(thread));
    // The worker comes loose well after the stop's time has run out.
    std::thread loosen([owner] {
        ::Sleep(1500);
        ::SetEvent(owner->release.get());
    });

    EXPECT_FALSE(hnStopWorker(thread.get(), owner->stop, "StuckWorker", 200));
    loosen.join();

    // It ran to its end on its own: its last step happened and its exit code
    // is its own.
    EXPECT_TRUE(owner->finished);
    DWORD exitCode = 0;
    EXPECT_TRUE(::GetExitCodeThread(thread.get(), &exitCode));
    EXPECT_EQ(7u, exitCode);
    char text[32] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    EXPECT_STREQ("reported", text);
    EXPECT_TRUE(owner->stop.stopRequested());
    EXPECT_TRUE(debug.contains("StuckWorker - worker did not end within 200 ms, waiting for it to finish\n"));
    EXPECT_TRUE(debug.contains("StuckWorker - worker ended late\n"));
    for (const std::string& line : debug.lines())
        EXPECT_EQ(std::string::npos, line.find("terminat")) << line;
    // Only now may the owner go: nothing uses it any more.
    delete owner;
    ::DestroyWindow(window);
}

// A worker with its own share of what it uses: the stopping thread goes on
// while it is stuck, and the worker, never killed, releases its share last.
TEST(StopBlock, AStuckWorkerWithItsOwnShareIsLeftToFinishAndReleasesIt) {
    DebugCapture debug;
    struct Share {
        hnStopBlock stop;
        hnScopedHandle release{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
        hnScopedHandle released{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
        ~Share() { ::SetEvent(released.get()); }
    };
    auto owned = std::make_shared<Share>();
    HANDLE released = owned->released.get();
    HANDLE release = owned->release.get();
    auto* workerShare = new std::shared_ptr<Share>(owned);
    hnScopedHandle thread(::CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            std::unique_ptr<std::shared_ptr<Share>> share(static_cast<std::shared_ptr<Share>*>(parameter));
            ::WaitForSingleObject((*share)->release.get(), INFINITE); // deaf to the stop
            return 7;
        },
        workerShare, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(thread));

    DWORD start = ::GetTickCount();
    EXPECT_FALSE(hnStopOrLeaveWorker(thread.get(), owned->stop, "LeftWorker", 200));
    EXPECT_LT(::GetTickCount() - start, 3000u); // the caller goes on
    EXPECT_TRUE(debug.contains("LeftWorker - worker did not end within 200 ms, left to finish on its own\n"));
    // The handles stay valid: the worker's share keeps them.
    ::DuplicateHandle(::GetCurrentProcess(), release, ::GetCurrentProcess(), &release, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    ::DuplicateHandle(::GetCurrentProcess(), released, ::GetCurrentProcess(), &released, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    owned.reset(); // the owner's share goes first
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(released, 0));

    ::SetEvent(release);
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(thread.get(), 10000));
    DWORD exitCode = 0;
    EXPECT_TRUE(::GetExitCodeThread(thread.get(), &exitCode));
    EXPECT_EQ(7u, exitCode); // it ran to its end
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(released, 0));
    ::CloseHandle(release);
    ::CloseHandle(released);
}

TEST(StopBlock, AWorkerThatHonoursTheStopEndsWithinItsTime) {
    DebugCapture debug;
    bool sawStop = false;
    {
        hnWorkerThread worker("Honouring");
        ASSERT_TRUE(worker.start([&] { sawStop = !worker.pause(INFINITE); }));
        worker.stop();
        EXPECT_FALSE(worker.running());
    }
    EXPECT_TRUE(sawStop);
    for (const std::string& line : debug.lines())
        EXPECT_EQ(std::string::npos, line.find("worker")) << line;
}
