#pragma once
// The repository's own files by their server path. Every file the installer
// fetches from the repository lies below "/orvanto/"; the server's lists name
// absolute addresses, so a mirror that serves the same paths can stand in for
// the repository only when those addresses are sent to it. One routine reads
// such an address (untrusted server data) and tells where it is fetched from.
#include <string>

extern const char* const kRepositoryServerRoot; // "/orvanto/"

struct hnListedAddress {
    // Repository: below the repository's own server paths; Elsewhere: a
    // well-formed http(s) address outside them (another site's page or file);
    // Untrusted: anything that does not read as a plain web address.
    enum class Kind { Repository, Elsewhere, Untrusted };
    Kind kind = Kind::Untrusted;
    // Repository only: the path as the list spells it (no query, no
    // fragment), always beginning with the root above, and its query ("?..."
    // or empty).
    std::string path;
    std::string query;
};

// Where the authority ("host[:port]", up to the first '/', '?' or '#') of an
// "http://" or "https://" address (scheme in any case) begins and ends; false
// for any other scheme.
bool hnWebAddressAuthority(const std::string& url, std::size_t& start, std::size_t& end);

// Reads an address a list names. A repository address has the scheme http or
// https (any case), an optional port, no user part, and a path below
// "/orvanto/" (the root compared without regard to case) whose segments are
// neither "." nor ".." nor empty, plain or %-encoded, and hold no backslash,
// control character or encoded separator. Blanks are allowed below the host:
// the repository's own file names hold some ("vc2005sp1 - redist_x86.exe").
hnListedAddress hnReadListedAddress(const std::string& url);

// The address to fetch for `url` when `repository` ("http://host[:port]")
// serves the repository for this run: a repository address becomes that
// server with the same path and query, whatever host and port the list
// named; anything else is returned unchanged.
std::string hnRepositoryAddressOf(const std::string& url, const std::string& repository);

// Where a repository path lies below a local folder: the path's segments with
// their %-escapes decoded, joined with '\\' below `folder`. False when a
// decoded segment is not a plain local name.
bool hnLocalPathOfServerPath(const std::string& folder, const std::string& serverPath, std::string& local);
