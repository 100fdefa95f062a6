#pragma once
// The user's Python choices, kept in "PySel.ini" (section "PySelVersion") in
// "Orvanto 15.0\\Python" of the documents folder: interpreter, OpenCV binding,
// CLR bridge, toolbox build per interpreter and package set per page.
//
// Setters: 1 stored; -1 no value; -2 value not allowed; -3 documents folder
// unknown; -4 folder could not be created; -5 write failed.
// Getters: the default is put into the buffer first; 1 a known value was read;
// 0 the stored value is not allowed (default kept); -1 no buffer; -2 documents
// folder unknown; -3 no file; -4 key missing or empty.
// Values compare exactly and case-sensitively. A value must fit the callers'
// 512-character buffers: 512 characters or more is never allowed.
#include <cstddef>
#include <string>

#include "python/PythonIntegrationHook.h"

constexpr std::size_t kPySelValueCapacity = 512; // terminator included

extern const char* const kPython279;         // "Python 2.7.9"
extern const char* const kPython2713;        // "Python 2.7.13"
extern const char* const kPython366;         // "Python 3.6.6"
extern const char* const kSelectionNone;     // "None"
extern const char* const kPy27Clr40;         // "Python 2.7 CLR 4.0"
extern const char* const kDefaultPackageSet; // "Default"

int setPythonVersionSelection(const char* value);
int getPythonVersionSelection(std::string* value);
int setPy27OpenCVExtensionVersionSelection(const char* value);
int getPy27OpenCVExtensionVersionSelection(std::string* value);
int setPy27CLRExtensionVersionSelection(const char* value);
int getPy27CLRExtensionVersionSelection(std::string* value);
int setPy27DeepformVisionToolboxVersionSelection(const char* value);
int getPy27DeepformVisionToolboxVersionSelection(std::string* value);
int setPy36DeepformVisionToolboxVersionSelection(const char* value);
int getPy36DeepformVisionToolboxVersionSelection(std::string* value);
int setPy27ExtensionPackageSelection(const char* value);
int getPy27ExtensionPackageSelection(std::string* value);
int setPy36ExtensionPackageSelection(const char* value);
int getPy36ExtensionPackageSelection(std::string* value);

// "%s\\%s\\%s" of the documents folder, "Orvanto 15.0" and "Python", and the
// file in it; false when the documents folder is unknown.
bool pySelFolderPath(std::string& out);
bool pySelIniPath(std::string& out);

// The interpreter family of the stored choice ("Python 2.7.9" when nothing
// usable is stored).
hnPythonFamily selectedPythonFamily();

// Whether the runtime's Python integration matches the stored interpreter.
bool isSelectedPythonHelpFileOK();
bool isSelectedPythonDLLOK();
bool isSelectedPythonFolderOK();
bool isSelectedMatRelCTFilesOK();
bool isSelectedPluginFolderOK();
// All five, in that order, stopping at the first false one.
bool isSelectedPythonIntegrationOK();
bool isSelectedPythonIntegrationOK(const hnIntegrationCheckFn& check);
