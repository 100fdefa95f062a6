// Stand-in for an interpreter's pip, placed as "<interpreter>\Scripts\pip.exe"
// and, for "python.exe -m pip ...", as "<interpreter>\python.exe". Each
// interpreter's installed packages live in its "Scripts\packages.txt":
// records in the format of pip's "show" output, separated by lines "---":
//   Name: numpy
//   Version: 1.16.4
//   ...
// Commands:
//   pip show NAME            prints the record (names compare as pip compares
//                            them: letter case, '-', '_' and '.' alike), or
//                            pip's warning and exit code 1
//   pip list [--format=F]    prints the packages as pip does: columns under
//                            "Package" and "Version" headings, or with
//                            "--format=freeze" "name==version" lines
//   pip install PATH         adds the record named by a wheel file name
//                            ("name-version-....whl", '_' in the name read
//                            as '-', as pip shows project names) or a source
//                            archive ("paho-mqtt-1.4.0.tar.gz"), replacing
//                            any version there; a missing file, a name that
//                            does not parse or a file whose content begins
//                            with "invalid" exits 1 and records nothing
//   pip uninstall NAME -y    removes the record
//   python -m pip install --upgrade pip    says pip is up to date
// Every call appends its arguments to "Scripts\calls.txt". Test switches in
// "Scripts": "delay.txt" holding milliseconds makes each call wait that long
// first, "delay-once.txt" only the next call, "delay-show.txt" every "show"
// call; "hold.txt" makes each call wait while it exists (two minutes at
// most), so that a test decides when pip answers; "uninstall-refused.txt"
// makes "uninstall" fail with exit code 1 and remove nothing;
// "show-output.txt" is printed as it is instead of any record;
// "long-output.txt" holding a count appends a file list of that many
// characters to every record shown; while either of these two is present
// "list" fails as pip does on a bad option (exit code 2), so that callers
// fall back to "show".
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string ownPath() {
    char buffer[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The interpreter's "Scripts" folder, with its separator, whether this runs
// as pip.exe there or as python.exe in the interpreter folder.
std::string scriptsFolder() {
    std::string path = ownPath();
    std::string folder = path.substr(0, path.find_last_of("\\/") + 1);
    std::string name = lower(path.substr(folder.size()));
    return name == "python.exe" ? folder + "Scripts\\" : folder;
}

std::string readWhole(const std::string& file, bool& present) {
    std::ifstream in(file, std::ios::binary);
    present = static_cast<bool>(in);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Name and version from a wheel ("scikit_learn-0.20.3-cp27-cp27m-win32.whl")
// or a source archive ("paho-mqtt-1.4.0.tar.gz").
bool parseFileName(const std::string& file, std::string& name, std::string& version) {
    const std::string wheel = ".whl", archive = ".tar.gz";
    auto endsWith = [&](const std::string& suffix) {
        return file.size() > suffix.size() && lower(file.substr(file.size() - suffix.size())) == suffix;
    };
    if (endsWith(wheel)) {
        std::string::size_type dash = file.find('-');
        std::string::size_type next = dash == std::string::npos ? dash : file.find('-', dash + 1);
        if (dash == std::string::npos || next == std::string::npos)
            return false;
        name = file.substr(0, dash);
        for (char& c : name)
            c = c == '_' ? '-' : c;
        version = file.substr(dash + 1, next - dash - 1);
    } else if (endsWith(archive)) {
        std::string stem = file.substr(0, file.size() - archive.size());
        std::string::size_type dash = stem.find_last_of('-');
        if (dash == std::string::npos || dash + 1 >= stem.size() ||
            !std::isdigit(static_cast<unsigned char>(stem[dash + 1])))
            return false;
        name = stem.substr(0, dash);
        version = stem.substr(dash + 1);
    } else {
        return false;
    }
    return !name.empty() && !version.empty();
}

std::string canonical(const std::string& name) {
    std::string out;
    for (char c : name)
        out += (c == '_' || c == '.') ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct Record {
    std::string name;
    std::string version;
    std::string text;
};

std::vector<Record> readRecords(const std::string& file) {
    std::ifstream in(file);
    std::vector<Record> records;
    Record current;
    std::string line;
    auto flush = [&] {
        if (!current.name.empty())
            records.push_back(current);
        current = Record();
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "---") {
            flush();
            continue;
        }
        if (line.compare(0, 6, "Name: ") == 0)
            current.name = line.substr(6);
        if (line.compare(0, 9, "Version: ") == 0)
            current.version = line.substr(9);
        current.text += line + "\r\n";
    }
    flush();
    return records;
}

void writeRecords(const std::string& file, const std::vector<Record>& records) {
    std::ofstream out(file, std::ios::trunc);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i)
            out << "---\n";
        std::string text = records[i].text;
        std::string::size_type at;
        while ((at = text.find("\r\n")) != std::string::npos)
            text.erase(at, 1);
        out << text;
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = scriptsFolder();
    {
        std::ofstream calls(folder + "calls.txt", std::ios::app);
        for (int i = 1; i < argc; ++i)
            calls << (i > 1 ? " " : "") << argv[i];
        calls << "\n";
    }
    for (int waited = 0;
         waited < 120000 && ::GetFileAttributesA((folder + "hold.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
         waited += 20)
        ::Sleep(20);
    for (const char* name : {"delay.txt", "delay-once.txt"}) {
        std::string file = folder + name;
        unsigned long ms = 0;
        {
            std::ifstream delay(file);
            if (!(delay >> ms))
                continue;
        }
        if (std::string(name) == "delay-once.txt")
            ::DeleteFileA(file.c_str());
        ::Sleep(ms);
    }
    std::string packages = folder + "packages.txt";
    std::vector<Record> records = readRecords(packages);
    if (argc > 2 && std::string(argv[1]) == "-m" && std::string(argv[2]) == "pip") {
        argc -= 2;
        argv += 2;
        if (argc > 3 && std::string(argv[1]) == "install" && std::string(argv[2]) == "--upgrade" &&
            std::string(argv[3]) == "pip") {
            std::printf("Requirement already up-to-date: pip in %sLib\\site-packages\r\n", folder.c_str());
            return 0;
        }
    }
    std::string command = argc > 1 ? argv[1] : "";

    if (command == "show" && argc > 2) {
        bool present = false;
        unsigned long showDelay =
            std::strtoul(readWhole(folder + "delay-show.txt", present).c_str(), nullptr, 10);
        if (present)
            ::Sleep(showDelay);
        std::string fixed = readWhole(folder + "show-output.txt", present);
        if (present) {
            std::fwrite(fixed.data(), 1, fixed.size(), stdout);
            return 0;
        }
        unsigned long filesLength =
            std::strtoul(readWhole(folder + "long-output.txt", present).c_str(), nullptr, 10);
        for (const Record& record : records) {
            if (canonical(record.name) == canonical(argv[2])) {
                std::fputs(record.text.c_str(), stdout);
                if (filesLength) {
                    std::string files = "Files:\r\n";
                    for (int i = 0; files.size() < filesLength; ++i)
                        files += "  " + lower(record.name) + "\\module" + std::to_string(i) + ".py\r\n";
                    std::fputs(files.substr(0, filesLength).c_str(), stdout);
                }
                return 0;
            }
        }
        std::fprintf(stderr, "WARNING: Package(s) not found: %s\r\n", argv[2]);
        return 1;
    }
    if (command == "list") {
        bool present = false;
        readWhole(folder + "show-output.txt", present);
        bool longOutput = false;
        readWhole(folder + "long-output.txt", longOutput);
        std::string format = argc > 2 ? argv[2] : "";
        if (present || longOutput ||
            (!format.empty() && format != "--format=freeze" && format != "--format=columns")) {
            std::fprintf(stderr, "\r\nUsage:   \r\n  pip list [options]\r\n\r\nno such option: %s\r\n",
                         format.c_str());
            return 2;
        }
        if (format == "--format=freeze") {
            for (const Record& record : records)
                std::printf("%s==%s\r\n", record.name.c_str(), record.version.c_str());
            return 0;
        }
        std::size_t nameWidth = 7, versionWidth = 7; // the headings
        for (const Record& record : records) {
            nameWidth = record.name.size() > nameWidth ? record.name.size() : nameWidth;
            versionWidth = record.version.size() > versionWidth ? record.version.size() : versionWidth;
        }
        int width = static_cast<int>(nameWidth);
        std::printf("%-*s %s\r\n%s %s\r\n", width, "Package", "Version", std::string(nameWidth, '-').c_str(),
                    std::string(versionWidth, '-').c_str());
        for (const Record& record : records)
            std::printf("%-*s %s\r\n", width, record.name.c_str(), record.version.c_str());
        return 0;
    }
    if (command == "install" && argc > 2) {
        std::string path = argv[2];
        std::string file = path.substr(path.find_last_of("\\/") + 1);
        Record record;
        bool present = false;
        std::string content = readWhole(path, present);
        if (!present) {
            std::fprintf(stderr,
                         "ERROR: Could not install packages due to an EnvironmentError: No such file "
                         "or directory: '%s'\r\n",
                         path.c_str());
            return 1;
        }
        if (!parseFileName(file, record.name, record.version) || content.compare(0, 7, "invalid") == 0) {
            std::fprintf(stderr, "ERROR: %s is not a valid wheel filename.\r\n", file.c_str());
            return 1;
        }
        record.text = "Name: " + record.name + "\r\nVersion: " + record.version +
                      "\r\nSummary: stand-in package\r\nRequires: \r\nRequired-by: \r\n";
        std::vector<Record> kept;
        for (const Record& existing : records) {
            if (canonical(existing.name) != canonical(record.name))
                kept.push_back(existing);
            else
                std::printf("  Found existing installation: %s %s\r\n  Successfully uninstalled %s-%s\r\n",
                            existing.name.c_str(), existing.version.c_str(), existing.name.c_str(),
                            existing.version.c_str());
        }
        kept.push_back(record);
        writeRecords(packages, kept);
        std::printf("Successfully installed %s-%s\r\n", record.name.c_str(), record.version.c_str());
        return 0;
    }
    if (command == "uninstall" && argc > 2) {
        bool refuses = false;
        readWhole(folder + "uninstall-refused.txt", refuses);
        if (refuses) {
            std::fprintf(stderr, "ERROR: Cannot uninstall %s: access denied\r\n", argv[2]);
            return 1;
        }
        std::vector<Record> kept;
        bool removed = false;
        for (const Record& record : records) {
            if (canonical(record.name) == canonical(argv[2])) {
                std::printf("Successfully uninstalled %s-%s\r\n", record.name.c_str(),
                            record.version.c_str());
                removed = true;
            } else {
                kept.push_back(record);
            }
        }
        writeRecords(packages, kept);
        if (!removed)
            std::fprintf(stderr, "WARNING: Skipping %s as it is not installed.\r\n", argv[2]);
        return 0;
    }
    std::fprintf(stderr, "ERROR: unknown command \"%s\"\r\n", command.c_str());
    return 1;
}
