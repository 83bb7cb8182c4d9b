#pragma once
// Identifiers of the program's resources and of the controls in its dialogs.

#define IDI_QUORL 128  // the program's icon
#define IDS_DESCRIPTION 1  // the saver's name, where the system lists savers

#define IDD_CONFIG 131
#define IDD_ABOUTBOX 134
#define IDD_MORESTUFF 137
#define IDD_GIFLIST 139

#define IDC_DELAY 1000
#define IDC_GIFDELAY 1001
#define IDC_ABOUT 1021
#define IDC_FONT 1024
#define IDC_GIFBACKGROUNDS 1025
#define IDC_SETUPINFO 1027
#define IDC_FILLCOLOR 1028
#define IDC_GIFLIST 1030
#define IDC_BROWSE 1031
#define IDC_REMOVE 1032
#define IDC_BACKCOLOR 1033
#define IDC_ADDFOLDER 1034
#define IDC_LINEFILES 1040
