// Dialog identifiers of the wizard pages and the controls they all share.
#pragma once

#include "wizard_ids.h"

#define IDD_WELCOME 144
#define IDD_RESOURCES 157
#define IDD_RELEASE_NOTES 158
#define IDD_PREREQUISITES 136
#define IDD_CORE_COMPONENTS 151
#define IDD_CORE_STATUS 139
#define IDD_PY27_EXTENSIONS_NEW 214
#define IDD_TOOLBOX 194
#define IDD_PY27_EXTENSIONS2 185
#define IDD_TEMPLATES 175
#define IDD_PY36_EXTENSIONS_NEW 215
#define IDD_TOOLBOX_PY36 199
#define IDD_PY36_EXTENSIONS2 213
#define IDD_PY36_TEMPLATES 200
#define IDD_SUMMARY 142
#define IDD_IMPORT_PROFILES 187
#define IDD_DEMO_PROFILES 155
#define IDD_PY36_DEMO_PROFILES 201
#define IDD_TUTORIALS 165
#define IDD_MODULES 162
#define IDD_MODULES2 191
#define IDD_THIRD_PARTY 179
#define IDD_THIRD_PARTY2 189
#define IDD_IO_SYSTEM 180
#define IDD_UTILITIES 140
#define IDD_UTILITIES2 182
#define IDD_HALVENOR_UTILITIES 190

// The page's "Download Installables" button (the prerequisites page has its own id).
#define IDC_DOWNLOAD_INSTALLABLES 1106
#define IDC_PREREQ_DOWNLOAD_INSTALLABLES 1036
#define IDC_PAGE_INTRO 1060 // the instruction line above the page's group
#define IDC_PAGE_GROUP 1061
#define IDC_PAGE_DESCRIPTION 1062
#define IDC_WELCOME_TITLE 1072
#define IDC_WELCOME_INTRO 1170
