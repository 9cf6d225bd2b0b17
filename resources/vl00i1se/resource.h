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

// The main frame's menu bar
#define IDR_MAIN_MENU 264

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

// The wizard selection window: its template, its controls and its pictures.
#define IDD_WIZARD_SELECT 255
#define IDC_WIZARD_CANCEL 1044
#define IDC_WIZARD_RESEARCH_HEADING 1041
#define IDC_WIZARD_RESEARCH_TEXT 1045
#define IDC_WIZARD_CHART_HEADING 1043
#define IDC_WIZARD_CHART_TEXT 1046
#define IDC_WIZARD_TIMELINE_HEADING 1042
#define IDC_WIZARD_TIMELINE_TEXT 1047
#define IDC_WIZARD_WEB_HEADING 1067
#define IDC_WIZARD_WEB_TEXT 1068
#define IDC_WIZARD_QUIZ_HEADING 1069
#define IDC_WIZARD_QUIZ_TEXT 1070
#define IDC_WIZARD_RESEARCH 1048
#define IDC_WIZARD_CHART 1050
#define IDC_WIZARD_TIMELINE 1049
#define IDC_WIZARD_WEB 1052
#define IDC_WIZARD_QUIZ 1071
#define IDB_WIZARD_BANNER 594

// The media instruction window's pages.
#define IDS_INSTRUCT_MULTIPLE_VIEWS 118
#define IDS_INSTRUCT_SOUNDS 119
#define IDS_INSTRUCT_VIDEO 120
#define IDS_INSTRUCT_BUBBLES 121
#define IDS_INSTRUCT_PICTURES 123
// The online configuration dialog and the Delete Downloaded Files dialog.
#define IDD_ONLINE_CONFIG 175
#define IDC_ONLINE_FOLDER 182
#define IDC_ONLINE_CONFIGURE 183
#define IDD_DELETE_DOWNLOADS 192
#define IDC_DELETE_SESSION 1037
#define IDC_DELETE_ALL 1038

// The atlas's introduction above the flat world map.
#define IDS_ATLAS_INTRO 117
// The preferences dialog and the disc-location dialog it opens: their templates and controls.
#define IDD_PREFERENCES 619
#define IDD_LOCATE_DISC 621
#define IDC_PREF_DRIVE 1080
#define IDC_PREF_DISC_LOCATION 1081
#define IDC_PREF_NOTES 1082
#define IDC_PREF_NOTES_BROWSE 1083
#define IDC_PREF_PAGING 1084
#define IDC_PREF_PAGING_BROWSE 1085
#define IDC_PREF_EDITOR 1086
#define IDC_PREF_EDITOR_BROWSE 1087
#define IDC_PREF_PRINT_PICTURES 1088
#define IDC_PREF_LIMIT_PAGING 1061
#define IDC_PREF_PAGING_LIMIT 1062
#define IDC_PREF_PAGING_UNIT 1066
#define IDC_PREF_VIDEO 1089
#define IDC_PREF_SOUND 1090
#define IDC_PREF_ANIMATE 1091
#define IDC_LOCATE_ANY_DRIVE 1100
#define IDC_LOCATE_FOLDER 1101
#define IDC_LOCATE_PATH 1102
#define IDC_LOCATE_BROWSE 1103

#endif
