#include "app/RepositoryAddress.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/FileHelpers.h"
#include "app/Text.h"

const char* const kRepositoryServerRoot = "/orvanto/";

namespace {

bool beginsNoCase(const std::string& text, const char* prefix) {
    std::size_t length = std::strlen(prefix);
    return text.size() >= length && hnEqualsNoCase(text.substr(0, length), prefix);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One path segment with its %-escapes decoded; false for a malformed escape,
// an encoded separator or control character, and for "", "." and "..".
bool decodeSegment(const std::string& segment, std::string& decoded) {
    decoded.clear();
    for (std::size_t i = 0; i < segment.size(); ++i) {
        char c = segment[i];
        if (c == '%') {
            if (i + 2 >= segment.size())
                return false;
            int high = hexValue(segment[i + 1]), low = hexValue(segment[i + 2]);
            if (high < 0 || low < 0)
                return false;
            c = static_cast<char>(high * 16 + low);
            if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32 || c == 127)
                return false;
            i += 2;
        }
        decoded += c;
    }
    return !decoded.empty() && decoded != "." && decoded != "..";
}

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> segments;
    std::size_t start = 1; // after the leading '/'
    while (true) {
        std::size_t slash = path.find('/', start);
        segments.push_back(
            path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos)
            return segments;
        start = slash + 1;
    }
}

bool isHost(const std::string& host) {
    if (host.empty())
        return false;
    if (host.front() == '[') // an IPv6 literal
        return host.size() > 2 && host.back() == ']' &&
               host.find_first_not_of("0123456789abcdefABCDEF:.", 1) == host.size() - 1;
    for (char c : host)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_')
            return false;
    return true;
}

bool isPort(const std::string& port) {
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    long number = std::strtol(port.c_str(), nullptr, 10);
    return number >= 1 && number <= 65535;
}

} // namespace

bool hnWebAddressAuthority(const std::string& url, std::size_t& start, std::size_t& end) {
    if (beginsNoCase(url, "http://"))
        start = std::strlen("http://");
    else if (beginsNoCase(url, "https://"))
        start = std::strlen("https://");
    else
        return false;
    end = url.find_first_of("/?#", start);
    if (end == std::string::npos)
        end = url.size();
    return true;
}

hnListedAddress hnReadListedAddress(const std::string& url) {
    hnListedAddress address;
    for (char c : url) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < ' ' || u >= 127 || c == '\\')
            return address;
    }
    std::size_t hostStart, hostEnd;
    if (!hnWebAddressAuthority(url, hostStart, hostEnd))
        return address;
    std::string authority = url.substr(hostStart, hostEnd - hostStart);
    if (authority.find('@') != std::string::npos)
        return address;
    std::string host = authority;
    std::size_t colon = authority.rfind(':');
    if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
        if (!isPort(authority.substr(colon + 1)))
            return address;
        host = authority.substr(0, colon);
    }
    if (!isHost(host))
        return address;

    std::size_t fragment = url.find('#', hostEnd);
    std::string rest =
        url.substr(hostEnd, fragment == std::string::npos ? std::string::npos : fragment - hostEnd);
    std::size_t queryStart = rest.find('?');
    std::string path = rest.substr(0, queryStart);
    std::string query = queryStart == std::string::npos ? std::string() : rest.substr(queryStart);
    address.kind = hnListedAddress::Kind::Elsewhere;
    if (!beginsNoCase(path, kRepositoryServerRoot))
        return address;
    std::string decoded;
    for (const std::string& segment : splitPath(path))
        if (!decodeSegment(segment, decoded)) {
            address.kind = hnListedAddress::Kind::Untrusted;
            return address;
        }
    address.kind = hnListedAddress::Kind::Repository;
    address.path = path;
    address.query = query;
    return address;
}

std::string hnRepositoryAddressOf(const std::string& url, const std::string& repository) {
    hnListedAddress address = hnReadListedAddress(url);
    if (address.kind != hnListedAddress::Kind::Repository || repository.empty())
        return url;
    return repository + address.path + address.query;
}

bool hnLocalPathOfServerPath(const std::string& folder, const std::string& serverPath, std::string& local) {
    local.clear();
    if (folder.empty() || serverPath.empty() || serverPath[0] != '/')
        return false;
    std::string path = folder;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    std::string decoded;
    for (const std::string& segment : splitPath(serverPath)) {
        if (!decodeSegment(segment, decoded) || !isPlainLocalFileName(decoded))
            return false;
        path += "\\" + decoded;
    }
    local = path;
    return true;
}
