#pragma once
// Setting a control's text is a trip to the window server and a repaint;
// pages refresh many rows at once, most of them unchanged.
#include <string>
#include <windows.h>

// Sets the control's text only when it shows another; answers whether it did.
bool hnSetTextIfChanged(HWND control, const std::string& text);
