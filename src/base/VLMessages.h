// The private messages through which panes, views, the toolbar, the status window and the main
// frame talk. wParam of the opening messages names the target view by window id; lParam carries
// a heap object that the sender gives up (see CBaseWindow).
#pragma once

#include <windows.h>

// Window ids of the main views, the two side panes and the clear window.
#define IDW_ARTICLE 8001
#define IDW_JUSTLOOKING 8002
#define IDW_ATLAS 8003
#define IDW_TABLE 8004
#define IDW_MEDIA 8005
#define IDW_TIMEFRAME 8006
#define IDW_SEARCHPANE 8007
#define IDW_DICTIONARYPANE 8008
#define IDW_VLPLUS 8009
#define IDW_CLEAR 8015

#define VLM_OPEN_WINDOW 0x401        // (view id, CReference*): open the reference
#define VLM_POST_TO_WINDOW 0x402     // (view id, CMediaDisplayRef* or 0): open media
#define VLM_THUMB_PRESS 0x403        // (0, CReference* clone): a thumbnail was pressed
#define VLM_IGNORED 0x404            // accepted by the frame, no effect
#define VLM_TOOLBAR_VIEW 0x405       // (view id, 0): the toolbar latches the view's button
#define VLM_RESTORE_STATE 0x407      // (view id or 0, CVLStateObj*): restore a saved state
#define VLM_STICKY_SHOW 0x408        // to a note window: as VLM_STICKY_DISPLAY
#define VLM_DATA_LOCATION 0x409      // (0, object or 0): MAKELONG(disc, data-folder kind)
#define VLM_PUSH_STATE 0x40B         // (0x407 or other, CVLStateObj*): push on the back list
#define VLM_STATUS_TEXT 0x40C        // (0, CString* or 0): new text of the status window
#define VLM_RESTORE_SAVED 0x40D      // (view id, CVLStateObj*): restore a state from the history
#define VLM_START_PAGE 0x40E         // (view id, value): open the view's start page
#define VLM_PANE_OVER_ARTICLE 0x40F  // (0, 1 search or 2 dictionary)
#define VLM_SHOW_LINKED_SELECTION 0x410  // (view id, new CString*): show what a link selects
#define VLM_PANE_DOWN 0x411          // (0, 1 search or 2 dictionary): the pane's button released
#define VLM_PANE_UP 0x412            // (0, 1 or 2): the pane's button pressed
#define VLM_PRINT_ARTICLE 0x413      // (0, scope 0x200/0x100/0x80/0x40): the article page prints
#define VLM_PRINT_RESULTS 0x418      // (0, 0): a pane prints what it shows (search: its results; dictionary: its tab)
#define VLM_OPEN_FOUND_ITEM 0x41A    // (view id, CReference*): open a search result
#define VLM_SHOW_SEARCH_PANE 0x41B   // (0, 0): show the search pane
#define VLM_HAS_RESULTS 0x41C        // (0, 0): TRUE when the search pane has results to print
#define VLM_CLEAR_HIGHLIGHTS 0x41D
#define VLM_FIND_NEXT 0x41E
#define VLM_CLEAR_ALL_HIGHLIGHTS 0x420
#define VLM_HIGHLIGHTER 0x42C
#define VLM_STICKY_NOTE 0x42D
#define VLM_MAIN_MENU_CHOICE 0x42E   // (code, parameter): the start-up main menu's choice
#define VLM_WIZARD_SELECTION 0x431  // (any, any): the wizard selection window
#define VLM_FONT_SIZE 0x434          // (0, 0-2): article font size small, medium, large
#define VLM_SAVE_AS 0x435
#define VLM_SELECT_ALL 0x436
#define VLM_REFRESH_TOOLS 0x437      // (1 or other, 0): settings changed; the view refreshes its tools
#define VLM_STOP 0x438
#define VLM_RECENT_ARTICLES 0x439    // (count, CStringArray*): the frame owns the array
#define VLM_OPEN_RECENT 0x43A        // (0, 0-4)
#define VLM_CAPTION_SHOWN 0x43B    // (1 shown, 0 hidden, -1 one line under the media; caption panel)
#define VLM_THUMB_RELEASE 0x43C
#define VLM_COMPANION_FIRST 0x4E6    // 0x4E6, 0x4E7, 0x4E8: companion programs
#define VLM_COMPANION_SECOND 0x4E7
#define VLM_COMPANION_THIRD 0x4E8
#define VLM_TIMELINE_VIEWER 0x4E9    // (any, TimelineRequest* or 0): start or drive the timeline viewer
#define VLM_JUBILEE 0x4EE            // start the jubilee companion
#define VLM_STOP_OFF 0x4EF           // (0, 0): the toolbar's Stop button off
#define VLM_COMPANION_FOURTH 0x4F0   // 0x4F0, 0x4F1: companion programs
#define VLM_COMPANION_FIFTH 0x4F1
#define VLM_OPEN_NOTED_ITEM 0x4F4    // (view id, CReference*): open a sticky note's item
#define VLM_CONTRIBUTORS 0x4F5
#define VLM_PASS_TO_VIEW 0x4F6       // (view id, any): passed on to the view
#define VLM_SUITE_MENU_STARTED 0x4FA // (0, 0): the suite's menu program was chosen; no effect
#define VLM_MEDIA_TICK 0x4FB         // (system time in ms, caller's value): a media timer's tick
#define VLM_RESULT_CHOSEN 0x7EA      // (0, CReference* borrowed): a result was double-clicked

// The sticky-note window of a view (CStickyNoteWnd) and its parent.
#define VLM_STICKY_DISPLAY 0x982     // to the window (-1, WORD[4] position or 0): show a note
#define VLM_STICKY_DISPLAY_AT 0x983  // to the window (0, WORD[4] position): a new note there, later
#define VLM_STICKY_OPEN 0x984        // to the window (index in its item's notes, 0): open that note
#define VLM_STICKY_NEW 0x986         // to the window (0, 0): a new note at the stored position
#define VLM_STICKY_PRESENT 0x985     // to the parent (count or flag, new WORD[4 * count] or 0)
#define VLM_STICKY_DELETED 0x987     // to the parent (0, RIN): a note of that article was deleted

// The article view's panes and its page window tell the view (posted to it).
#define VLM_PANE_ITEM 20010     // (what: 0 section, 1 media, 2 update, 3 table, 4 sound, 5 extra; index)
#define VLM_PANE_SECTION 20011  // (0, section index): the section now current while the page scrolls
#define VLM_PANE_TABLE 20012    // (open flag, table index): show that table of the article
#define VLM_PANE_SOUND 20013    // (0, RIN of a sound): the page plays it
#define VLM_PANE_EXTRA 20014    // (0, extra-item index): the page opens it
#define VLM_PAGE_FOCUS 20015    // (1 took, 0 lost): the page's focus changed; the view brings its panes forward

// The start-up main menu's choice codes, as the frame reads them (VLM_MAIN_MENU_CHOICE).
enum : int {
    kChoiceNone = 0,
    kChoiceWizards = 201,
    kChoiceJubilee = 202,
    kChoiceSuiteMenu = 203,
    kChoiceBrowse = IDW_JUSTLOOKING,
    kChoiceAtlas = IDW_ATLAS,
    kChoiceMedia = IDW_MEDIA,
    kChoiceDidoDovov = IDW_TIMEFRAME,
    kChoiceTopicSearch = IDW_SEARCHPANE,
    kChoiceDictionary = IDW_DICTIONARYPANE,
    kChoiceOnline = IDW_VLPLUS,
    kChoiceBlankView = IDW_CLEAR,
    kChoiceExit = 9004,
    kChoiceMonthlySpotlight = 9040,
};

// The data-location reply every view gives unless it knows better: data kind 1 on disc 1.
#define VL_DEFAULT_DATA_LOCATION 0x10001

// Commands of the frame that this family reaches.
#define ID_VIEW_ARTICLE 40007
#define ID_VIEW_JUSTLOOKING 40008
#define ID_VIEW_ATLAS 40009
#define ID_VIEW_TIMEFRAME 40010
#define ID_VIEW_VLPLUS 40011
#define ID_VIEW_MEDIA 40013
#define ID_SHOW_SEARCH 40014
#define ID_SHOW_DICTIONARY 40015
#define ID_GO_BACK 40016
#define ID_GO_FORWARD 40017
#define ID_HISTORY 9015
#define ID_WORD_PROCESSOR 40047
#define ID_NOTEPAD 40036
#define ID_WIZARDS 40044
#define ID_SURF_JUBILEE 40048
#define ID_OPTIONS 40038
#define ID_ABOUT_VELTRA 9021
#define ID_FILE_SAVE_AS_ARTICLE 9001
#define ID_FILE_PRINT_VIEW 9002
#define ID_FILE_PRINT_SETUP_APP 9003
#define ID_FILE_EXIT 9004
#define ID_STICKY_LIST 9017
#define ID_CLEAR_ALL_HIGHLIGHTS 9018
#define ID_MONTHLY_SPOTLIGHT 9024
#define ID_CONTRIBUTORS_FIRST 9046   // 9046-9049: contributors A-F, G-L, M-S, T-Z
#define ID_CONTRIBUTORS_LAST 9049
#define ID_EDIT_COPY_VIEW 9005
#define ID_EDIT_SELECT_ALL_ARTICLE 9007
#define ID_FIND_IN_ARTICLE 9008
#define ID_FIND_NEXT 9009
#define ID_ONLINE_CONNECT 9011
#define ID_ONLINE_DISCONNECT 9012
#define ID_ONLINE_ENABLE 9013
#define ID_ONLINE_CONFIGURE 9014
#define ID_ABOUT 9021
#define ID_MESSAGE_CENTRE 9050
#define ID_DOWNLOAD_DIRECTORY 40022
#define ID_CLEAR_ARTICLE_HIGHLIGHTS 40037
#define ID_FONT_SMALL 9036
#define ID_FONT_MEDIUM 9037
#define ID_FONT_LARGE 9038
#define ID_RECENT_FIRST 9041         // 9041-9045: the recent articles
#define ID_RECENT_LAST 9045
// The article view's pane buttons.
#define ID_TOGGLE_OUTLINE 20001
#define ID_TOGGLE_RELATED 20002
#define ID_TOGGLE_ONLINE_EXTRAS 20004
#define ID_HELP_TOPICS 57671

#ifndef HELP_CONTEXT
#define HELP_CONTEXT 0x0001
#endif
#ifndef HELP_FINDER
#define HELP_FINDER 0x000B
#endif
