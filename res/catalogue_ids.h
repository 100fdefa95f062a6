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

// Tutorials, resources, readme and help documents.
#define IDD_TAB_RESOURCES 160
#define IDD_TAB_RESOURCES_NOT_AVAILABLE 161
#define IDD_TAB_TUTORIALS 166
#define IDD_TAB_TUTORIALS_NOT_AVAILABLE 167
#define IDD_HELP 197
#define IDC_RESOURCES_REFRESH 1133
#define IDC_README_REFRESH 1134
#define IDC_README_TEXT 1135
#define IDC_RESOURCES_TAB 1137
#define IDC_HELP_REFRESH 1148
#define IDC_TUTORIALS_TAB 1154
#define IDC_TUTORIALS_REFRESH 1155
#define IDC_HELP_TEXT 1274
