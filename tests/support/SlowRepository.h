#pragma once
// A repository server on 127.0.0.1 that answers every request with one body
// after a delay, named by the test override of the repository address
// (ORVANTO_REPOSITORY_URL) while it lives: a server that holds a list back.
#include <cstdint>
#include <string>
#include <thread>
#include <windows.h>

#include "app/ScopedHandle.h"

class SlowRepository {
public:
    SlowRepository(std::string body, DWORD delayMs);
    // Ends a delay under way at once and puts the previous address back.
    ~SlowRepository();
    SlowRepository(const SlowRepository&) = delete;
    SlowRepository& operator=(const SlowRepository&) = delete;

    bool listening() const { return listening_; }
    // Requests accepted so far.
    int requests() const { return requests_; }

private:
    void serve();
    std::string body_;
    DWORD delayMs_;
    bool started_ = false, listening_ = false, hadPrevious_ = false;
    std::uintptr_t listener_ = ~std::uintptr_t(0); // the SOCKET
    std::string previous_;
    hnScopedHandle ending_;
    volatile int requests_ = 0;
    std::thread thread_;
};
