#include "install/WheelCheck.h"

#include <initializer_list>
#include <vector>

#include "download/Unzipper.h"

namespace {

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

bool anyTagOf(const std::string& tags, std::initializer_list<const char*> accepted) {
    for (const std::string& tag : splitAt(tags, '.'))
        for (const char* fit : accepted)
            if (tag == fit)
                return true;
    return false;
}

} // namespace

bool wheelFitsInterpreter(const std::string& path, const std::string& wheelName, int python) {
    const std::string suffix = ".whl";
    if (wheelName.size() <= suffix.size() ||
        wheelName.compare(wheelName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    std::vector<std::string> parts = splitAt(wheelName.substr(0, wheelName.size() - suffix.size()), '-');
    if (parts.size() < 5 || parts.size() > 6)
        return false;
    const std::string& pythonTags = parts[parts.size() - 3];
    const std::string& platformTags = parts[parts.size() - 1];
    bool pythonFits = python == 36 ? anyTagOf(pythonTags, {"cp36", "py36", "py3"})
                                   : anyTagOf(pythonTags, {"cp27", "py27", "py2"});
    if (!pythonFits || !anyTagOf(platformTags, {"win32", "any"}))
        return false;
    CUnzipper archive;
    return archive.openArchive(path.c_str());
}
