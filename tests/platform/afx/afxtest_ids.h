// Identifiers of the test program's own templates and strings, and of the two
// extension libraries the resource-chain tests load.
#pragma once

#define IDD_ROUTING 100
#define IDD_HOST 101
#define IDD_PAGE 102
#define IDD_LIBRARY_ONLY 103

#define IDC_GO 1001
#define IDC_OTHER 1002
#define IDC_LIST 1003
#define IDC_LABEL 1004
#define IDC_OWNERDRAW 1005
#define IDC_NAME 1006
#define IDC_COUNT 1007
#define IDC_FLAG 1008
#define IDC_RANGE_FIRST 1010
#define IDC_RANGE_LAST 1012
#define IDC_HOST_BUTTON 1101
#define IDC_PAGE_EDIT 1201
#define IDC_PAGE_BUTTON 1202

// Strings: the program has 300-302, 310 and 500; library 1 has 310, 500, 501, 600, 700;
// library 2 has 500, 700, 800 and bitmap 900.
#define IDS_PROGRAM_ONLY 300
#define IDS_LONG 301
#define IDS_CHINESE 302
#define IDS_PROGRAM_AND_LIB1 310
#define IDS_EVERYWHERE 500
#define IDS_NEIGHBOUR 501
#define IDS_LIB1_ONLY 600
#define IDS_BOTH_LIBS 700
#define IDS_LIB2_ONLY 800
#define IDS_MISSING 4321
#define IDB_LIB2 900

// Library 3 holds resources in two languages: 1100 and dialog 104 and bitmap
// 901 in Chinese and English, 1101 and dialog 105 in Chinese only, and a
// Chinese copy of 500.
#define IDD_LANG_BOTH 104
#define IDD_LANG_CHINESE_ONLY 105
#define IDS_LANG_BOTH 1100
#define IDS_LANG_CHINESE_ONLY 1101
#define IDB_LANG 901
