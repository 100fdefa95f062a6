#pragma once
#include <string>

// The installer's own check of a wheel, as far as it goes without pip: the
// file at `path` opens as a zip archive, and the tags of `wheelName`
// ("<name>-<version>[-<build>]-<python>-<abi>-<platform>.whl") fit the
// 32-bit interpreter `python` (27 or 36). A wheel that passes may still be
// rejected by pip; only one that fails this check is a bad file.
bool wheelFitsInterpreter(const std::string& path, const std::string& wheelName, int python);
