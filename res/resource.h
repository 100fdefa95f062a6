// Resource identifiers shared by the resource scripts and the code.
#pragma once

#define IDR_MAINFRAME 128

#define IDD_PLEASE_WAIT 153
#define IDC_PLEASE_WAIT_TEXT 1001
