// Resource identifiers of the catalogue pages' tab controls and tab dialogs.
#pragma once

#define IDD_TAB_PROFILES 156
#define IDD_TAB_PROFILES_NOT_AVAILABLE 159
#define IDD_TAB_TEMPLATES 176
#define IDD_TAB_TEMPLATES_NOT_AVAILABLE 177

#define IDC_TAB_TEXT 1096 // the one static of every tab and not-available dialog
#define IDC_PROFILES_REFRESH 1097
#define IDC_PROFILES_TAB 1129
#define IDC_CATALOGUE_HINT_INSTALL 1165
#define IDC_CATALOGUE_HINT_RUN 1166
#define IDC_TEMPLATES_TAB 1190
#define IDC_TEMPLATES_REFRESH 1191
#define IDC_TEMPLATES_INSTALL_ALL 1235

// The 3D toolbox's tab control: its not-available dialog and the readme display.
#define IDD_INFORMATION_DISPLAY 195
#define IDD_TOOLBOX_NOT_AVAILABLE 196
#define IDC_INFORMATION_TEXT 1274
