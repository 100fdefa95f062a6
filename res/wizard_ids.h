// Identifiers of the wizard frame: page areas and the sheet's navigation row.
#pragma once

#define IDC_STATUS_AREA 1098 // hint line of every page
#define IDC_STATUS_RULE 1099 // the rule above it
#define IDC_PAGE_HEADER 9702
#define IDC_SIDE_PANEL 9703

// Navigation buttons of the sheet.
#define ID_NAV_DEMO_PROFILES 40201
#define ID_NAV_HOME 40203
#define ID_NAV_OTC 40208
#define ID_NAV_TUTORIALS 40209
#define ID_NAV_CAMERA_DRIVERS 40210
#define ID_NAV_UTILITY_SOFTWARE 40211
#define ID_NAV_CORE 40212
#define ID_NAV_WEB_HELP 40213
