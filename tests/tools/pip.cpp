// Stand-in for an interpreter's pip, placed as "<interpreter>\Scripts\pip.exe".
// Its installed packages live in "packages.txt" beside it: records in the
// format of pip's "show" output, separated by lines "---":
//   Name: numpy
//   Version: 1.16.4
//   ...
// Commands:
//   pip show NAME            prints the record (names compare as pip compares
//                            them: letter case, '-', '_' and '.' alike)
//   pip list                 prints "Package Version" lines
//   pip install PATH         adds the record named by a wheel file name
//                            ("name-version-....whl")
//   pip uninstall NAME -y    removes the record
// Every call appends its arguments to "calls.txt" beside it. A file
// "delay.txt" holding milliseconds makes each call wait that long first;
// "delay-once.txt" does the same for the next call only.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::string ownFolder() {
    char buffer[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of("\\/") + 1);
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
    std::string folder = ownFolder();
    {
        std::ofstream calls(folder + "calls.txt", std::ios::app);
        for (int i = 1; i < argc; ++i)
            calls << (i > 1 ? " " : "") << argv[i];
        calls << "\n";
    }
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
    std::string command = argc > 1 ? argv[1] : "";

    if (command == "show" && argc > 2) {
        for (const Record& record : records) {
            if (canonical(record.name) == canonical(argv[2])) {
                std::fputs(record.text.c_str(), stdout);
                return 0;
            }
        }
        std::fprintf(stderr, "WARNING: Package(s) not found: %s\r\n", argv[2]);
        return 1;
    }
    if (command == "list") {
        std::printf("Package    Version\r\n---------- -------\r\n");
        for (const Record& record : records)
            std::printf("%s %s\r\n", record.name.c_str(), record.version.c_str());
        return 0;
    }
    if (command == "install" && argc > 2) {
        std::string path = argv[2];
        std::string file = path.substr(path.find_last_of("\\/") + 1);
        std::string::size_type dash = file.find('-');
        std::string::size_type next = file.find('-', dash + 1);
        if (dash == std::string::npos || next == std::string::npos) {
            std::fprintf(stderr, "ERROR: %s is not a valid wheel filename.\r\n", file.c_str());
            return 1;
        }
        Record record;
        record.name = file.substr(0, dash);
        record.version = file.substr(dash + 1, next - dash - 1);
        record.text = "Name: " + record.name + "\r\nVersion: " + record.version + "\r\n";
        std::vector<Record> kept;
        for (const Record& existing : records)
            if (canonical(existing.name) != canonical(record.name))
                kept.push_back(existing);
        kept.push_back(record);
        writeRecords(packages, kept);
        std::printf("Successfully installed %s-%s\r\n", record.name.c_str(), record.version.c_str());
        return 0;
    }
    if (command == "uninstall" && argc > 2) {
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
