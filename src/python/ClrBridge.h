#pragma once
// Which .NET bridge the runtime's Python 2.7 uses. A bridge build is active
// when its "clr.pyd" and "Python.Runtime.dll" from "Python\\Python27\\clr_2_0"
// or "clr_4_0" sit, identical, both in the runtime folder and in
// "Python\\Python27". These checks need no page object.

// Both bridge files exist in `folder` and in `reference` (folders with their
// trailing separator) with equal size and write time.
bool areClrFilesIdentical(const char* folder, const char* reference);
bool isPY27CLR2Active(const char* runtimeFolder);
bool isPY27CLR4Active(const char* runtimeFolder);
// The 3D toolbox needs CLR 4.0 or the pythonnet 2.3.0 package; CLR 2.0 does
// not serve it.
bool isDeepformVisionDependencyCLRActive(const char* runtimeFolder);
