// Resource identifiers of the installation and removal dialogs.
#pragma once

#define IDD_UNINSTALL_COMPONENT 141
#define IDD_OPC_SCOUT_WAIT 181

#define IDC_UNINSTALL_PROGRESS 1101
#define IDC_UNINSTALL_TEXT 1103
#define IDC_OPC_SCOUT_WAIT_TEXT 1001
