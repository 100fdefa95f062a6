#pragma once
// First-run defaults of the Python selections: where no usable value is
// stored yet, the choice is taken from what is installed on the machine.

// OpenCV binding (installed runtime builds, then pip packages), CLR bridge
// (the active bridge build, then the pythonnet package) and 3D toolbox build
// of Python 2.7.
void ifRequiredSetSelectionForPy27Extensions();
// 3D toolbox build of Python 3.6.
void ifRequiredSetSelectionForPy36Extensions();
