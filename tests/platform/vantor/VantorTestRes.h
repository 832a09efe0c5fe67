// Resources of the vantor test programs.
#pragma once

#define IDB_TEST_STRIP   2001
#define IDB_TEST_SINGLE  2002
#define IDB_TEST_CELL    2003
#define IDB_TEST_QUAD    2004
#define IDB_TEST_BACK    2005
#define IDB_TEST_MISSING 2099

#define IDD_TEST_MAIN    3001
#define IDC_TEST_BUTTON  3002

#define IDS_TEST_ASCII   3101
#define IDS_TEST_CHINESE 3102
#define IDS_TEST_MISSING 3199
