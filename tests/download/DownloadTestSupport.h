#pragma once
// The local HTTP server of the download tests (tests/server), reached through
// ORVANTO_TEST_HTTP_URL, and the byte pattern it serves.
#include <string>
#include <vector>

// "http://127.0.0.1:PORT" + path; empty when the program runs without the server.
std::string testServerUrl(const std::string& path = "");
// The requests the server saw since the last clear, one line each.
std::vector<std::string> serverLog(bool clear = false);
// The first `size` bytes of the served pattern.
std::string servedPattern(std::size_t size);
