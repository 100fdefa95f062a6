#include <winsock2.h>

#include "support/SlowRepository.h"

SlowRepository::SlowRepository(std::string body, DWORD delayMs)
    : body_(std::move(body)), delayMs_(delayMs), ending_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    WSADATA wsa;
    started_ = ::WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    listener_ = listener;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    listening_ = ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                 ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
                 ::listen(listener, 4) == 0;
    char previous[1024] = {};
    hadPrevious_ = ::GetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", previous, sizeof(previous)) > 0;
    previous_ = previous;
    std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", url.c_str());
    if (listening_)
        thread_ = std::thread([this] { serve(); });
}

SlowRepository::~SlowRepository() {
    ::SetEnvironmentVariableA("ORVANTO_REPOSITORY_URL", hadPrevious_ ? previous_.c_str() : nullptr);
    ::SetEvent(ending_.get());
    ::closesocket(static_cast<SOCKET>(listener_)); // ends the accept
    if (thread_.joinable())
        thread_.join();
    if (started_)
        ::WSACleanup();
}

void SlowRepository::serve() {
    for (;;) {
        SOCKET client = ::accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        requests_ = requests_ + 1;
        char request[4096];
        ::recv(client, request, sizeof(request), 0);
        bool ending = ::WaitForSingleObject(ending_.get(), delayMs_) == WAIT_OBJECT_0;
        std::string answer = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body_.size()) +
                             "\r\nConnection: close\r\n\r\n" + body_;
        if (!ending)
            ::send(client, answer.data(), static_cast<int>(answer.size()), 0);
        ::closesocket(client);
        if (ending)
            return;
    }
}
