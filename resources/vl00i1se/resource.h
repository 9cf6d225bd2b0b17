// Resource ids of the program vl00i1se. Ids below 7000 belong to the program itself; bitmaps of
// 7000 and above live in the screen-class resource libraries (vl_res0.dll ... vl_res2.dll).
#ifndef VL00I1SE_RESOURCE_H
#define VL00I1SE_RESOURCE_H

// Strings
#define IDS_SEARCH_INIT_FAILED 101
#define IDS_BAD_PALETTE 103
#define IDS_PRINT_NOT_IMPLEMENTED 104
#define IDS_INVALID_PATH 124
#define IDS_PATH_MISSING 125
#define IDS_PATH_NOT_CREATED 126
#define IDS_FILE_NOT_FOUND 127
#define IDS_DISC1_LABEL 363
#define IDS_DATABASE_FILE 620
#define IDS_APP_TITLE 0xE000

// Palettes (RCDATA): the page palette, the display palette and the third palette.
#define IDR_PAGE_PALETTE 130
#define IDR_DISPLAY_PALETTE 131
#define IDR_THIRD_PALETTE 135

// Dialogs
#define IDD_COPY_DLL 273
#define IDD_LICENSE_AGREEMENT 331
#define IDD_PROOF_OF_ENTITLEMENT 333

// Controls of the first run's agreements: the notice's Print button, its language radio buttons
// (English, French) and text, the licence agreement's text and note.
#define IDC_POE_PRINT 1074
#define IDC_LICENSE_TEXT 1075
#define IDC_POE_ENGLISH 1076
#define IDC_POE_FRENCH 1077
#define IDC_POE_TEXT 1078
#define IDC_LICENSE_NOTE 1079

#endif
