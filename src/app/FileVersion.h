#pragma once
// Version resources of executables: the installer lists its kept versions by
// them and compares an offered upgrade with itself.
#include <string>

// Reads the fixed file version as "a.b.c.d" and, when the file is flagged as a
// private build, its "PrivateBuild" text. 1, or -1 (outputs empty) when the
// version resource or the flagged text cannot be read.
int readFileVersionAndPrivateBuild(const std::string& path, std::string& version, std::string& privateBuild);

// Parses exactly four dot-separated numbers of 0..65535; false otherwise.
bool parseFourPartVersion(const std::string& text, unsigned parts[4]);

// Full path of the running executable ("" when it cannot be had).
std::string runningExecutablePath();

// True when `fileName` names the running executable (ignoring case).
bool isRunningExecutableName(const std::string& fileName);
