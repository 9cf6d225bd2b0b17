#include "ArtTable.h"

#include <utility>

namespace art {

namespace {

// The menu's buttons and group captions per screen class (the Exit button is smaller).
constexpr Size kMenuButton[3] = {{150, 32}, {140, 40}, {240, 50}};
constexpr Size kMenuCaption[3] = {{120, 30}, {150, 38}, {190, 48}};
// The wizard buttons: the first one's size and the others'.
constexpr Size kWizardFirst = {90, 57};
constexpr Size kWizardTile = {88, 56};
// The tab dialogs' picture buttons.
constexpr Size kTextButton = {64, 24};
// The sticky-note dialog's row of buttons (Cancel and OK are shared with the History dialog).
constexpr Size kNoteButton = {48, 20};
constexpr Size kNoteWideButton = {56, 20};
constexpr Size kNoteNarrowButton = {40, 20};
// The dictionary pane's Go button and its two tab buttons.
constexpr Size kGoButton = {36, 20};
constexpr Size kTabButton = {90, 24};
// The search pane's two mode buttons.
constexpr Size kModeButton = {100, 24};
constexpr Size kSearchHeading = {199, 20};
// The application toolbar per screen class: the Search and Dictionary buttons, the Tool Kit
// button, and the nine view and history buttons; the Tool Kit panel's four tools.
constexpr Size kPaneButton[3] = {{90, 44}, {130, 50}, {160, 64}};
constexpr Size kToolKitButton[3] = {{36, 44}, {40, 50}, {48, 64}};
constexpr Size kViewButton[3] = {{44, 44}, {44, 50}, {47, 64}};
constexpr Size kToolButton[3] = {{36, 36}, {40, 40}, {48, 48}};

// One toolbar or Tool Kit button's pictures: normal, pressed, latched, lit and (when not 0)
// disabled, all of one size.
struct ToolButtonIds {
    int normal, pressed, latched, lit, disabled;
    const Size* sizes;
};
const ToolButtonIds kToolButtons[] = {
    {7947, 7944, 7945, 7946, 0, kPaneButton},     // Search
    {7854, 7851, 7852, 7853, 0, kPaneButton},     // Dictionary
    {7840, 7837, 0, 7839, 0, kViewButton},        // Go Back
    {8264, 8262, 0, 8263, 0, kViewButton},        // Go Forward
    {7816, 7813, 7814, 7815, 0, kViewButton},     // Article
    {7982, 7979, 7980, 7981, 0, kViewButton},     // Dido Dovov
    {7828, 7825, 7826, 7827, 0, kViewButton},     // Atlas
    {7897, 7894, 7895, 7896, 0, kViewButton},     // Dada Vaveroz
    {8030, 8027, 8028, 8029, 0, kViewButton},     // VL Plus
    {7997, 7994, 7995, 7996, 0, kToolKitButton},  // VL ToolKit
    {7909, 7906, 7907, 7908, 0, kViewButton},     // Home
    {7967, 7964, 7965, 7966, 7968, kViewButton},  // Stop
    {7754, 7751, 7752, 7753, 7755, kToolButton},  // Tool Kit: Print
    {7781, 7778, 7779, 7780, 7782, kToolButton},  // Tool Kit: Sticky Note
    {7739, 7736, 7737, 7738, 7740, kToolButton},  // Tool Kit: Highlighter
    {7799, 7796, 7797, 7798, 7800, kToolButton},  // Tool Kit: Homework Wizards
};
// The About window's buttons (189 gives their size) and the find window's.
constexpr Size kAboutButton = {120, 26};
constexpr Size kFindButton = {72, 24};
// The print-selection window's Cancel and Print: each as wide as half its option frame.
constexpr Size kPrintSelectButton = {100, 26};
// The tables view's strip buttons by screen class.
constexpr Size kTableButton[3] = {{112, 26}, {124, 28}, {140, 28}};
// The article view's pane buttons and its ground (stretched over the view).
constexpr Size kArticlePaneButton = {50, 15};
constexpr Size kGround = {160, 120};
// The media view's row of buttons per screen class: normal, pressed, disabled, latched and
// roll-over pictures, each button at its class's width and the row's height.
struct MediaButtonIds {
    int normal, pressed, disabled, latched, hover;
    Size sizes[3];
};
const MediaButtonIds kMediaButtons[] = {
    {7468, 7465, 7469, 7466, 7467, {{89, 16}, {122, 20}, {162, 26}}},  // Instructions
    {7427, 7424, 7428, 7425, 7426, {{64, 16}, {87, 20}, {119, 26}}},   // Caption
    {7453, 7450, 7454, 7451, 7452, {{90, 16}, {119, 20}, {152, 26}}},  // Go to Article
    {7412, 7409, 7413, 7410, 7411, {{92, 16}, {104, 20}, {131, 26}}},  // Browse Media
    {7484, 7481, 7485, 7482, 7483, {{66, 16}, {100, 20}, {126, 26}}},  // Overlays
    {8281, 8278, 8282, 8279, 8280, {{110, 16}, {110, 20}, {149, 26}}},  // Enlarge
    {8286, 8283, 8287, 8284, 8285, {{110, 16}, {110, 20}, {149, 26}}},  // Reduce
    // The atlas's row of buttons, pictured the same way.
    {7276, 7273, 7277, 7274, 7275, {{118, 16}, {150, 20}, {190, 26}}},  // Distance Calculator
    {7311, 7308, 7312, 7309, 7310, {{82, 16}, {104, 20}, {131, 26}}},   // Map Search
    {7291, 7288, 7292, 7289, 7290, {{60, 16}, {76, 20}, {96, 26}}},     // Article
    {7326, 7323, 7327, 7324, 7325, {{66, 16}, {84, 20}, {106, 26}}},    // Overlays
    {8196, 8193, 8197, 8194, 8195, {{70, 16}, {88, 20}, {111, 26}}},    // Zoom Out
};
// The film strip's buttons: the roll-top button, the scroll arrows and the media list's roll
// button.
constexpr Size kRollTop = {44, 20};
constexpr Size kScrollArrow = {20, 14};
// The Dido Dovov's time machine: its panel, its mode and era buttons, its arrows, the category
// drop button and the search button; the status strip's button.
constexpr Size kTimePanel = {152, 200};
constexpr Size kTimeMode = {34, 18};
constexpr Size kTimeArrow = {22, 13};
constexpr Size kTimeDrop = {20, 30};
constexpr Size kTimeSearch = {80, 22};
constexpr Size kTimeClock = {26, 22};
constexpr Size kTimeStripButton = {100, 26};
constexpr Size kRollButton = {44, 14};
// The random browsing view's buttons: Random fits between its device's caption wells, Clear
// (and the FIND panel's Close) below it.
constexpr Size kBrowseRandom = {72, 26};
constexpr Size kBrowseClear = {64, 22};

}  // namespace

bool IsIndexed(Look look)
{
    return look == Look::MenuBackground || look == Look::MenuButton || look == Look::MenuFace ||
           look == Look::MenuCaption;
}

const char* Label(int id)
{
    switch (id) {
    case 7877: return "Browse Veltra";
    case 7924: return "Browse Media";
    case 8015: return "Monthly Spotlight";
    case 8006: return "Topics";
    case 7918: return "Maps";
    case 7863: return "Dictionary";
    case 7976: return "Dido Dovov";
    case 8021: return "What's Online";
    case 8012: case 8189: return "Update Now";
    case 8210: return "Surf Jubilee";
    case 7891: case 8180: return "Homework Wizards";
    case 8256: return "Family Tomeset";
    case 7930: return "Exit";
    case 8277: return "BROWSE";
    case 8274: return "SEARCH";
    case 503: case 502: return "Research";
    case 488: case 487: return "Chart";
    case 506: case 505: return "Timeline";
    case 324: case 328: return "Web Page";
    case 326: case 329: return "Quiz";
    case 594: return "Homework Wizards";
    case 349: case 350: case 522: case 523: case 510: case 511: return "Cancel";
    case 351: case 352: case 550: case 551: case 355: case 356: case 520: case 521: return "OK";
    case 342: case 344: return "Delete";
    case 345: case 346: return "Place";
    case 347: case 348: return "List";
    case 353: case 354: return "Delete All";
    case 448: case 449: case 512: case 513: return "Go";
    case 514: case 515: return "Search";
    case 516: case 517: return "Word Search";
    case 518: case 519: return "Topic Search";
    case 525: return "SEARCH BY TOPIC";
    case 526: return "SEARCH BY WORD";
    case 481: case 482: case 483: case 484: return "Acknowledgments";
    case 494: case 495: case 496: case 497: return "Credits";
    case 490: case 491: case 492: case 493: return "Close";
    case 498: case 499: case 500: case 501: return "Back";
    case 485: case 486: return "Cancel";
    case 592: case 593: return "Find";
    case 552: case 553: return "Cancel";
    case 554: case 555: return "Print";
    // The article view's pane buttons and the outline's table and extra-item lines.
    case 7220: case 7221: case 7222: case 7223: case 7224: return "Outline";
    case 7235: case 7236: case 7237: case 7238: case 7239: return "Related";
    case 7250: case 7251: case 7252: case 7253: case 7254: return "Online";
    case 4034: case 203: return "T";  // table
    case 330: return "E";             // extra item
    // The article view's grounds by the content's domain.
    case 224: return "0";
    case 221: return "1";
    case 225: return "2";
    case 226: return "3";
    case 231: return "4";
    case 232: return "5";
    case 233: return "6";
    case 228: return "7";
    case 450: case 451: return "Word List";
    case 446: case 447: return "Definitions";
    // The toolbar's and the Tool Kit's buttons.
    case 7947: case 7944: case 7945: case 7946: return "Search";
    case 7854: case 7851: case 7852: case 7853: return "Dictionary";
    case 7840: case 7837: case 7839: return "Back";
    case 8264: case 8262: case 8263: return "Forward";
    case 7816: case 7813: case 7814: case 7815: return "Article";
    case 7982: case 7979: case 7980: case 7981: return "Dido Dovov";
    case 7828: case 7825: case 7826: case 7827: return "Atlas";
    case 7897: case 7894: case 7895: case 7896: return "Dada Vaveroz";
    case 8030: case 8027: case 8028: case 8029: case 8107: case 8091: return "VL Plus";
    case 7997: case 7994: case 7995: case 7996: return "Tool Kit";
    case 7909: case 7906: case 7907: case 7908: return "Home";
    case 7967: case 7964: case 7965: case 7966: case 7968: return "Stop";
    case 7754: case 7751: case 7752: case 7753: case 7755: return "Print";
    case 7781: case 7778: case 7779: case 7780: case 7782: return "Note";
    case 7739: case 7736: case 7737: case 7738: case 7740: return "Marker";
    case 7799: case 7796: case 7797: case 7798: case 7800: return "Wizards";
    case 7680: case 7677: case 7678: case 7679: case 7675: case 7672: case 7673: case 7674:
    case 7670: case 7667: case 7668: case 7669: return "Back to Article";
    case 7665: case 7662: case 7666: case 7664: case 7660: case 7657: case 7661: case 7659:
    case 7655: case 7652: case 7656: case 7654: return "Show Footnotes";
    case 7648: case 7647: case 7649: case 7643: case 7642: case 7644:
    case 7638: case 7637: case 7639: return "Hide Footnotes";
    // Content kinds: the list icons and the printed pictures share a letter.
    case 4030: case 199: return "A";  // animation
    case 4031: case 215: return "V";  // video
    case 4032: case 201: return "P";  // picture
    case 187: case 205: return "S";   // sound
    case 4033: case 204: return "X";  // simulation
    case 143: case 200: return "M";   // map
    case 4035: case 202: return "Q";  // panorama
    case 238: return "#";             // a table of the article
    // The article page's icons before media items, one per kind (sounds have the sound button).
    case 6940: return "P";
    case 6941: return "M";
    case 6942: return "A";
    case 6943: return "V";
    case 6944: return "X";
    case 6945: return "Q";
    case 6946: return "T";
    // The media view's buttons.
    case 7468: case 7465: case 7469: case 7466: case 7467: return "Instructions";
    case 7427: case 7424: case 7428: case 7425: case 7426: return "Caption";
    case 7453: case 7450: case 7454: case 7451: case 7452: return "Go to Article";
    case 7412: case 7409: case 7413: case 7410: case 7411: return "Browse Media";
    case 7484: case 7481: case 7485: case 7482: case 7483: return "Overlays";
    case 8281: case 8278: case 8282: case 8279: case 8280: return "Enlarge";
    case 8286: case 8283: case 8287: case 8284: case 8285: return "Reduce";
    // The random browsing view's buttons.
    case 458: case 456: case 457: return "Random";
    case 455: case 453: case 454: return "Clear";
    case 595: return "Close";
    // The atlas's buttons.
    case 7276: case 7273: case 7277: case 7274: case 7275: return "Distance Calculator";
    case 7311: case 7308: case 7312: case 7309: case 7310: return "Map Search";
    case 7291: case 7288: case 7292: case 7289: case 7290: return "Article";
    case 7326: case 7323: case 7327: case 7324: case 7325: return "Overlays";
    case 8196: case 8193: case 8197: case 8194: case 8195: return "Zoom Out";
    // The film strip's buttons: the roll-top button and the arrows' directions.
    case 608: case 603: case 607: case 340: return "Roll";
    case 613: case 611: case 336: case 610: case 609: return "U";
    case 612: case 602: case 335: case 334: case 337: return "D";
    // The Dido Dovov: the time machine's buttons and the status strip's labels and button.
    case 6970: case 6971: return "1000";
    case 6972: case 6973: return "100";
    case 6974: case 6975: return "10";
    case 6976: case 6977: return "1";
    case 6978: case 6979: return "Era";
    case 6980: case 6981: case 6982: return "A.D.";
    case 6983: case 6984: case 6985: return "B.C.";
    case 6986: case 6987: return "U";
    case 6988: case 6989: case 6993: case 6994: return "D";
    case 6990: case 6991: return "Search";
    case 542: return "TIME SPAN";
    case 543: return "PERIOD";
    case 540: return "CATEGORY";
    case 534: case 535: return "Time Machine";
    default: return "";
    }
}

const std::vector<Row>& NotepadArt()
{
    static const std::vector<Row> rows = {
        {128, Kind::Icon, Look::NotePadIcon, {{32, 32}, {32, 32}, {32, 32}}},
        {128, Kind::Bitmap, Look::EditorToolStrip, {{128, 15}, {128, 15}, {128, 15}}},
    };
    return rows;
}

const std::vector<Row>& ProgramArt()
{
    static const std::vector<Row> rows = {
        // The sound button beside a sound's text thumbnail: 27 by 17 pixels, both states.
        {237, Kind::Bitmap, Look::SoundButton, {{27, 17}, {27, 17}, {27, 17}}},
        // The online view's Update Now button: four 54 by 54 cells side by side.
        {579, Kind::Bitmap, Look::UpdateNowCells, {{4 * 54, 54}, {4 * 54, 54}, {4 * 54, 54}}},
        // The icon before the article page's table lines: 26 by 17 pixels.
        {238, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        // The icons before the article page's media lines by the item's kind: picture, map,
        // animation, video, simulation, panorama or photo bubble, timeline (26 by 17 pixels).
        {6940, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        {6941, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        {6942, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        {6943, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        {6944, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        {6945, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        {6946, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        // The article page's link cursors, 32 by 32 with the finger tip as the hot spot.
        {262, Kind::Cursor, Look::LinkHand, {{32, 32}, {11, 1}, {}}},
        {257, Kind::Cursor, Look::TimeLinkHand, {{32, 32}, {11, 1}, {}}},
        // The picture window's cursors over a hot spot linking to an article (259) or a map
        // (318), and while a hot-spot sound plays (261, hot spot at the speaker's centre); the
        // picture it shows for a sound item (582).
        {259, Kind::Cursor, Look::ArticleLinkHand, {{32, 32}, {11, 1}, {}}},
        {318, Kind::Cursor, Look::MapLinkHand, {{32, 32}, {11, 1}, {}}},
        {261, Kind::Cursor, Look::SoundPlaying, {{32, 32}, {12, 16}, {}}},
        {582, Kind::Bitmap, Look::SoundItemPicture, {{240, 160}, {240, 160}, {240, 160}}},
        // The atlas: the globe's map of the earth (720 by 360, 256 colours) and the distance
        // calculator's small map of the earth under the globe.
        {240, Kind::Bitmap, Look::GlobeMap, {{720, 360}, {720, 360}, {720, 360}}},
        {445, Kind::Bitmap, Look::InsetMap, {{180, 90}, {180, 90}, {180, 90}}},
        // The overlay control pad: its face (the pad's size), its close button (normal 429,
        // pressed 428), the drop-down mark beside an overlay name (440, also the arrow of the
        // browsing view's drop-down captions); the Map Search panel's caption picture (443).
        {315, Kind::Bitmap, Look::ControlPadFace, {{202, 222}, {202, 222}, {202, 222}}},
        {429, Kind::Bitmap, Look::CloseBox, {{16, 14}, {16, 14}, {16, 14}}},
        {428, Kind::Bitmap, Look::CloseBoxPressed, {{16, 14}, {16, 14}, {16, 14}}},
        {440, Kind::Bitmap, Look::ComboArrow, {{16, 12}, {16, 12}, {16, 12}}},
        {443, Kind::Bitmap, Look::MapSearchBadge, {{24, 20}, {24, 20}, {24, 20}}},
        // The Distance Calculator's caption picture (442) shares the Map Search badge.
        {442, Kind::Bitmap, Look::MapSearchBadge, {{24, 20}, {24, 20}, {24, 20}}},
        // The random browsing view: its ground (drawn at its top-left corner), its device (310 by
        // 118), Random (normal 458, pressed 456, roll-over 457), Clear (455, 453, 454) and the
        // FIND panel's Close (595).
        {227, Kind::Bitmap, Look::BrowseGround, {{600, 96}, {600, 96}, {600, 96}}},
        {459, Kind::Bitmap, Look::BrowseDevice, {{310, 118}, {310, 118}, {310, 118}}},
        {458, Kind::Bitmap, Look::TextButton, {kBrowseRandom, kBrowseRandom, kBrowseRandom}},
        {456, Kind::Bitmap, Look::TextButtonPressed, {kBrowseRandom, kBrowseRandom, kBrowseRandom}},
        {457, Kind::Bitmap, Look::TextButtonLit, {kBrowseRandom, kBrowseRandom, kBrowseRandom}},
        {455, Kind::Bitmap, Look::TextButton, {kBrowseClear, kBrowseClear, kBrowseClear}},
        {453, Kind::Bitmap, Look::TextButtonPressed, {kBrowseClear, kBrowseClear, kBrowseClear}},
        {454, Kind::Bitmap, Look::TextButtonLit, {kBrowseClear, kBrowseClear, kBrowseClear}},
        {595, Kind::Bitmap, Look::TextButton, {kBrowseClear, kBrowseClear, kBrowseClear}},
        // The Dido Dovov: the time machine's panel (541), its mode buttons (Millennium 6970,
        // Century 6972, Decade 6974, Year 6976, Era 6978; each pressed one id up), A.D. and B.C.
        // (6980, 6983; pressed one up, disabled two up), the arrows (6986, 6988), the search
        // button (6990), the clock (6992) and the category drop button (6993); the drop-down
        // mark of its choice faces (313); the thumbnail grid's ground (234); the status strip's
        // field labels (542 span, 543 period, drawn 9 pixels up, 540 category) and its button
        // that brings the panel back (534, pressed 535).
        {541, Kind::Bitmap, Look::TimeMachineFace, {kTimePanel, kTimePanel, kTimePanel}},
        {6970, Kind::Bitmap, Look::TextButton, {kTimeMode, kTimeMode, kTimeMode}},
        {6971, Kind::Bitmap, Look::TextButtonPressed, {kTimeMode, kTimeMode, kTimeMode}},
        {6972, Kind::Bitmap, Look::TextButton, {kTimeMode, kTimeMode, kTimeMode}},
        {6973, Kind::Bitmap, Look::TextButtonPressed, {kTimeMode, kTimeMode, kTimeMode}},
        {6974, Kind::Bitmap, Look::TextButton, {kTimeMode, kTimeMode, kTimeMode}},
        {6975, Kind::Bitmap, Look::TextButtonPressed, {kTimeMode, kTimeMode, kTimeMode}},
        {6976, Kind::Bitmap, Look::TextButton, {kTimeMode, kTimeMode, kTimeMode}},
        {6977, Kind::Bitmap, Look::TextButtonPressed, {kTimeMode, kTimeMode, kTimeMode}},
        {6978, Kind::Bitmap, Look::TextButton, {kTimeMode, kTimeMode, kTimeMode}},
        {6979, Kind::Bitmap, Look::TextButtonPressed, {kTimeMode, kTimeMode, kTimeMode}},
        {6980, Kind::Bitmap, Look::TextButton, {kTimeMode, kTimeMode, kTimeMode}},
        {6981, Kind::Bitmap, Look::TextButtonPressed, {kTimeMode, kTimeMode, kTimeMode}},
        {6982, Kind::Bitmap, Look::TextButtonDisabled, {kTimeMode, kTimeMode, kTimeMode}},
        {6983, Kind::Bitmap, Look::TextButton, {kTimeMode, kTimeMode, kTimeMode}},
        {6984, Kind::Bitmap, Look::TextButtonPressed, {kTimeMode, kTimeMode, kTimeMode}},
        {6985, Kind::Bitmap, Look::TextButtonDisabled, {kTimeMode, kTimeMode, kTimeMode}},
        {6986, Kind::Bitmap, Look::ArrowButton, {kTimeArrow, kTimeArrow, kTimeArrow}},
        {6987, Kind::Bitmap, Look::ArrowButtonPressed, {kTimeArrow, kTimeArrow, kTimeArrow}},
        {6988, Kind::Bitmap, Look::ArrowButton, {kTimeArrow, kTimeArrow, kTimeArrow}},
        {6989, Kind::Bitmap, Look::ArrowButtonPressed, {kTimeArrow, kTimeArrow, kTimeArrow}},
        {6990, Kind::Bitmap, Look::TextButton, {kTimeSearch, kTimeSearch, kTimeSearch}},
        {6991, Kind::Bitmap, Look::TextButtonPressed, {kTimeSearch, kTimeSearch, kTimeSearch}},
        {6992, Kind::Bitmap, Look::ClockPicture, {kTimeClock, kTimeClock, kTimeClock}},
        {6993, Kind::Bitmap, Look::ArrowButton, {kTimeDrop, kTimeDrop, kTimeDrop}},
        {6994, Kind::Bitmap, Look::ArrowButtonPressed, {kTimeDrop, kTimeDrop, kTimeDrop}},
        {313, Kind::Bitmap, Look::ComboArrow, {{16, 12}, {16, 12}, {16, 12}}},
        {234, Kind::Bitmap, Look::TimeGround, {{640, 360}, {640, 360}, {640, 360}}},
        {542, Kind::Bitmap, Look::StatusFieldLabel, {{130, 40}, {130, 40}, {130, 40}}},
        {543, Kind::Bitmap, Look::StatusFieldLabel, {{230, 49}, {230, 49}, {230, 49}}},
        {540, Kind::Bitmap, Look::StatusFieldLabel, {{150, 40}, {150, 40}, {150, 40}}},
        {534, Kind::Bitmap, Look::TextButton, {kTimeStripButton, kTimeStripButton, kTimeStripButton}},
        {535, Kind::Bitmap, Look::TextButtonPressed, {kTimeStripButton, kTimeStripButton, kTimeStripButton}},
        // The sticky-note button of the tables view: 27 by 17 pixels.
        {239, Kind::Bitmap, Look::StickyMark, {{27, 17}, {27, 17}, {27, 17}}},
        // The main frame's icon.
        {147, Kind::Icon, Look::ProgramIcon, {{32, 32}, {32, 32}, {32, 32}}},
        // The interface sounds the sound player preloads.
        {9026, Kind::Wave, Look::Tone, {{660, 90}, {}, {}}},
        {9027, Kind::Wave, Look::Tone, {{880, 90}, {}, {}}},
        {9028, Kind::Wave, Look::Tone, {{520, 120}, {}, {}}},
        {9029, Kind::Wave, Look::Tone, {{990, 60}, {}, {}}},
        {9030, Kind::Wave, Look::Tone, {{440, 150}, {}, {}}},
        // The wizard selection window: five wizard buttons (normal and pressed) and the heading
        // picture. The buttons take their size from 503 rounded down to a multiple of 4, so 503
        // and 502 are a little larger than the rest.
        {503, Kind::Bitmap, Look::WizardTile, {kWizardFirst, kWizardFirst, kWizardFirst}},
        {502, Kind::Bitmap, Look::WizardTilePressed, {kWizardFirst, kWizardFirst, kWizardFirst}},
        {488, Kind::Bitmap, Look::WizardTile, {kWizardTile, kWizardTile, kWizardTile}},
        {487, Kind::Bitmap, Look::WizardTilePressed, {kWizardTile, kWizardTile, kWizardTile}},
        {506, Kind::Bitmap, Look::WizardTile, {kWizardTile, kWizardTile, kWizardTile}},
        {505, Kind::Bitmap, Look::WizardTilePressed, {kWizardTile, kWizardTile, kWizardTile}},
        {324, Kind::Bitmap, Look::WizardTile, {kWizardTile, kWizardTile, kWizardTile}},
        {328, Kind::Bitmap, Look::WizardTilePressed, {kWizardTile, kWizardTile, kWizardTile}},
        {326, Kind::Bitmap, Look::WizardTile, {kWizardTile, kWizardTile, kWizardTile}},
        {329, Kind::Bitmap, Look::WizardTilePressed, {kWizardTile, kWizardTile, kWizardTile}},
        {594, Kind::Bitmap, Look::WizardBanner, {{400, 56}, {400, 56}, {400, 56}}},
        // The tab dialogs' picture buttons: the popup box's OK (551, pressed 550), the History
        // dialog's Cancel (350, pressed 349) and OK (352, pressed 351), and the sticky-note
        // dialog's Delete (344, 342), Place (346, 345), List (348, 347), Delete All (354, 353),
        // OK (356, 355) and the shared Cancel, which stand side by side in a 208-pixel row.
        {551, Kind::Bitmap, Look::TextButton, {kTextButton, kTextButton, kTextButton}},
        {550, Kind::Bitmap, Look::TextButtonPressed, {kTextButton, kTextButton, kTextButton}},
        {350, Kind::Bitmap, Look::TextButton, {kNoteButton, kNoteButton, kNoteButton}},
        {349, Kind::Bitmap, Look::TextButtonPressed, {kNoteButton, kNoteButton, kNoteButton}},
        {352, Kind::Bitmap, Look::TextButton, {kNoteButton, kNoteButton, kNoteButton}},
        {351, Kind::Bitmap, Look::TextButtonPressed, {kNoteButton, kNoteButton, kNoteButton}},
        {344, Kind::Bitmap, Look::TextButton, {kNoteButton, kNoteButton, kNoteButton}},
        {342, Kind::Bitmap, Look::TextButtonPressed, {kNoteButton, kNoteButton, kNoteButton}},
        {346, Kind::Bitmap, Look::TextButton, {kNoteButton, kNoteButton, kNoteButton}},
        {345, Kind::Bitmap, Look::TextButtonPressed, {kNoteButton, kNoteButton, kNoteButton}},
        {348, Kind::Bitmap, Look::TextButton, {kNoteButton, kNoteButton, kNoteButton}},
        {347, Kind::Bitmap, Look::TextButtonPressed, {kNoteButton, kNoteButton, kNoteButton}},
        {354, Kind::Bitmap, Look::TextButton, {kNoteWideButton, kNoteWideButton, kNoteWideButton}},
        {353, Kind::Bitmap, Look::TextButtonPressed, {kNoteWideButton, kNoteWideButton, kNoteWideButton}},
        {356, Kind::Bitmap, Look::TextButton, {kNoteNarrowButton, kNoteNarrowButton, kNoteNarrowButton}},
        {355, Kind::Bitmap, Look::TextButtonPressed, {kNoteNarrowButton, kNoteNarrowButton, kNoteNarrowButton}},
        // The dictionary pane's buttons: Go (449, pressed 448), Word List (451, pressed 450) and
        // Definitions (447, pressed 446).
        {449, Kind::Bitmap, Look::TextButton, {kGoButton, kGoButton, kGoButton}},
        {448, Kind::Bitmap, Look::TextButtonPressed, {kGoButton, kGoButton, kGoButton}},
        {451, Kind::Bitmap, Look::TextButton, {kTabButton, kTabButton, kTabButton}},
        {450, Kind::Bitmap, Look::TextButtonPressed, {kTabButton, kTabButton, kTabButton}},
        {447, Kind::Bitmap, Look::TextButton, {kTabButton, kTabButton, kTabButton}},
        {446, Kind::Bitmap, Look::TextButtonPressed, {kTabButton, kTabButton, kTabButton}},
        // The About window's buttons: normal, pressed, focused and lit under the mouse for
        // Acknowledgments (484, 481, 482, 483), Credits (497, 494, 495, 496), Close (493, 490, 491,
        // 492) and Back (501, 498, 499, 500); 189 gives their size.
        {189, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {484, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {481, Kind::Bitmap, Look::TextButtonPressed, {kAboutButton, kAboutButton, kAboutButton}},
        {482, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {483, Kind::Bitmap, Look::TextButtonLit, {kAboutButton, kAboutButton, kAboutButton}},
        {497, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {494, Kind::Bitmap, Look::TextButtonPressed, {kAboutButton, kAboutButton, kAboutButton}},
        {495, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {496, Kind::Bitmap, Look::TextButtonLit, {kAboutButton, kAboutButton, kAboutButton}},
        {493, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {490, Kind::Bitmap, Look::TextButtonPressed, {kAboutButton, kAboutButton, kAboutButton}},
        {491, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {492, Kind::Bitmap, Look::TextButtonLit, {kAboutButton, kAboutButton, kAboutButton}},
        {501, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {498, Kind::Bitmap, Look::TextButtonPressed, {kAboutButton, kAboutButton, kAboutButton}},
        {499, Kind::Bitmap, Look::TextButton, {kAboutButton, kAboutButton, kAboutButton}},
        {500, Kind::Bitmap, Look::TextButtonLit, {kAboutButton, kAboutButton, kAboutButton}},
        // The find window's Cancel (486, pressed 485) and Find (592, pressed 593), and the
        // combo boxes' drop-down arrow.
        {486, Kind::Bitmap, Look::TextButton, {kFindButton, kFindButton, kFindButton}},
        {485, Kind::Bitmap, Look::TextButtonPressed, {kFindButton, kFindButton, kFindButton}},
        {592, Kind::Bitmap, Look::TextButton, {kFindButton, kFindButton, kFindButton}},
        {593, Kind::Bitmap, Look::TextButtonPressed, {kFindButton, kFindButton, kFindButton}},
        // The print-selection window's Cancel (553, pressed 552) and Print (555, pressed 554).
        {553, Kind::Bitmap, Look::TextButton, {kPrintSelectButton, kPrintSelectButton, kPrintSelectButton}},
        {552, Kind::Bitmap, Look::TextButtonPressed, {kPrintSelectButton, kPrintSelectButton, kPrintSelectButton}},
        {555, Kind::Bitmap, Look::TextButton, {kPrintSelectButton, kPrintSelectButton, kPrintSelectButton}},
        {554, Kind::Bitmap, Look::TextButtonPressed, {kPrintSelectButton, kPrintSelectButton, kPrintSelectButton}},
        {452, Kind::Bitmap, Look::ComboArrow, {{18, 20}, {18, 20}, {18, 20}}},
        // The wildcard word list dialog's OK (521, pressed 520) and Cancel (523, pressed 522), and
        // the spelling pop-up's Go (513, pressed 512) and Cancel (511, pressed 510).
        {521, Kind::Bitmap, Look::TextButton, {kTextButton, kTextButton, kTextButton}},
        {520, Kind::Bitmap, Look::TextButtonPressed, {kTextButton, kTextButton, kTextButton}},
        {523, Kind::Bitmap, Look::TextButton, {kTextButton, kTextButton, kTextButton}},
        {522, Kind::Bitmap, Look::TextButtonPressed, {kTextButton, kTextButton, kTextButton}},
        {513, Kind::Bitmap, Look::TextButton, {kTextButton, kTextButton, kTextButton}},
        {512, Kind::Bitmap, Look::TextButtonPressed, {kTextButton, kTextButton, kTextButton}},
        {511, Kind::Bitmap, Look::TextButton, {kTextButton, kTextButton, kTextButton}},
        {510, Kind::Bitmap, Look::TextButtonPressed, {kTextButton, kTextButton, kTextButton}},
        // The search pane's Search button (515, pressed 514) and its mode buttons: to the word
        // search (517, pressed 516) and to the topic search (519, pressed 518).
        {515, Kind::Bitmap, Look::TextButton, {kTextButton, kTextButton, kTextButton}},
        {514, Kind::Bitmap, Look::TextButtonPressed, {kTextButton, kTextButton, kTextButton}},
        {517, Kind::Bitmap, Look::TextButton, {kModeButton, kModeButton, kModeButton}},
        {516, Kind::Bitmap, Look::TextButtonPressed, {kModeButton, kModeButton, kModeButton}},
        {519, Kind::Bitmap, Look::TextButton, {kModeButton, kModeButton, kModeButton}},
        {518, Kind::Bitmap, Look::TextButtonPressed, {kModeButton, kModeButton, kModeButton}},
        // The search pane's heading pictures, one per mode: the topic search (525) and the word
        // search (526).
        {525, Kind::Bitmap, Look::WizardBanner, {kSearchHeading, kSearchHeading, kSearchHeading}},
        {526, Kind::Bitmap, Look::WizardBanner, {kSearchHeading, kSearchHeading, kSearchHeading}},
        // The tree-shaped lists' icons: headings closed and open, leaf items, and the content
        // kinds of search results.
        {138, Kind::Icon, Look::BookClosed, {{32, 32}, {32, 32}, {32, 32}}},
        {322, Kind::Icon, Look::BookOpen, {{32, 32}, {32, 32}, {32, 32}}},
        {323, Kind::Icon, Look::PageIcon, {{32, 32}, {32, 32}, {32, 32}}},
        {4030, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {4031, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {4032, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {187, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {4033, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {143, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {4035, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        // The mark after a list item whose downloaded file is missing (617; 618 on a selected
        // row).
        {617, Kind::Bitmap, Look::MissingFileMark, {{11, 12}, {11, 12}, {11, 12}}},
        {618, Kind::Bitmap, Look::MissingFileMarkDark, {{11, 12}, {11, 12}, {11, 12}}},
        // The article view: the outline's table and extra-item icons and its grounds by domain.
        {4034, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {330, Kind::Icon, Look::KindBadge, {{32, 32}, {32, 32}, {32, 32}}},
        {203, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        {224, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        {221, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        {225, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        {226, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        {231, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        {232, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        {233, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        {228, Kind::Bitmap, Look::ArticleGround, {kGround, kGround, kGround}},
        // The pictures beside printed search results, by content kind.
        {199, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        {215, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        {201, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        {205, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        {204, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        {200, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        {202, Kind::Bitmap, Look::KindPicture, {{32, 32}, {32, 32}, {32, 32}}},
        // Thumbnails: the timeline card's picture, the media strip's thumbnail frames (normal,
        // taller, pressed, under the pointer), the instruction window's tab marks and the
        // picture thumbnail's second-disc badge.
        {236, Kind::Bitmap, Look::TimelinePicture, {{26, 17}, {26, 17}, {26, 17}}},
        {605, Kind::Bitmap, Look::MediaFrame, {{45, 33}, {45, 33}, {45, 33}}},
        {606, Kind::Bitmap, Look::MediaFrame, {{45, 34}, {45, 34}, {45, 34}}},
        {604, Kind::Bitmap, Look::MediaFramePressed, {{45, 33}, {45, 33}, {45, 33}}},
        {339, Kind::Bitmap, Look::MediaFrameHover, {{55, 33}, {55, 33}, {55, 33}}},
        {580, Kind::Bitmap, Look::TabIndicator, {{13, 13}, {13, 13}, {13, 13}}},
        {581, Kind::Bitmap, Look::TabIndicatorChosen, {{13, 13}, {13, 13}, {13, 13}}},
        {427, Kind::Bitmap, Look::Disc2Badge, {{14, 12}, {14, 12}, {14, 12}}},
        // The article view's film strip: the roll-top button (normal, pressed, disabled, under
        // the pointer), the scroll-up and scroll-down arrows (normal, pressed, disabled), the
        // media list's roll button (roll up, roll down, each normal and pressed; disabled) and
        // the picture of a sound's thumbnail; the release sound of a roll.
        {608, Kind::Bitmap, Look::TextButton, {kRollTop, kRollTop, kRollTop}},
        {603, Kind::Bitmap, Look::TextButtonPressed, {kRollTop, kRollTop, kRollTop}},
        {607, Kind::Bitmap, Look::TextButtonDisabled, {kRollTop, kRollTop, kRollTop}},
        {340, Kind::Bitmap, Look::TextButtonLit, {kRollTop, kRollTop, kRollTop}},
        {613, Kind::Bitmap, Look::ArrowButton, {kScrollArrow, kScrollArrow, kScrollArrow}},
        {611, Kind::Bitmap, Look::ArrowButtonPressed, {kScrollArrow, kScrollArrow, kScrollArrow}},
        {336, Kind::Bitmap, Look::ArrowButtonDisabled, {kScrollArrow, kScrollArrow, kScrollArrow}},
        {612, Kind::Bitmap, Look::ArrowButton, {kScrollArrow, kScrollArrow, kScrollArrow}},
        {602, Kind::Bitmap, Look::ArrowButtonPressed, {kScrollArrow, kScrollArrow, kScrollArrow}},
        {335, Kind::Bitmap, Look::ArrowButtonDisabled, {kScrollArrow, kScrollArrow, kScrollArrow}},
        {610, Kind::Bitmap, Look::ArrowButton, {kRollButton, kRollButton, kRollButton}},
        {609, Kind::Bitmap, Look::ArrowButtonPressed, {kRollButton, kRollButton, kRollButton}},
        {334, Kind::Bitmap, Look::ArrowButton, {kRollButton, kRollButton, kRollButton}},
        {337, Kind::Bitmap, Look::ArrowButtonPressed, {kRollButton, kRollButton, kRollButton}},
        {338, Kind::Bitmap, Look::ArrowButtonDisabled, {kRollButton, kRollButton, kRollButton}},
        {583, Kind::Bitmap, Look::SoundButton, {{40, 28}, {40, 28}, {40, 28}}},
        {9031, Kind::Wave, Look::Tone, {{330, 80}, {}, {}}},
        // The media view: the sliding selector's track, the sticky-note icon of its hidden
        // control (the cursor while a sound plays is the picture window's 261).
        {480, Kind::Bitmap, Look::SliderTrack, {{188, 24}, {188, 24}, {188, 24}}},
        {290, Kind::Icon, Look::StickyMark, {{32, 32}, {32, 32}, {32, 32}}},
    };
    return rows;
}

const std::vector<Row>& LibraryArt()
{
    static const std::vector<Row> rows = [] {
        std::vector<Row> all = {
        // The close box of the floating panels' 27-pixel caption band, growing with the class.
        {7556, Kind::Bitmap, Look::CloseBox, {{16, 14}, {18, 16}, {21, 19}}},
        {7557, Kind::Bitmap, Look::CloseBoxPressed, {{16, 14}, {18, 16}, {21, 19}}},
        // The article view's three pane buttons (normal, pressed, hover, disabled, latched).
        {7223, Kind::Bitmap, Look::TextButton, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7220, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7221, Kind::Bitmap, Look::TextButton, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7224, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7222, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7238, Kind::Bitmap, Look::TextButton, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7235, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7236, Kind::Bitmap, Look::TextButton, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7239, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7237, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7253, Kind::Bitmap, Look::TextButton, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7250, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7251, Kind::Bitmap, Look::TextButton, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7254, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        {7252, Kind::Bitmap, Look::TextButtonPressed, {kArticlePaneButton, kArticlePaneButton, kArticlePaneButton}},
        // The start-up main menu: its full-window background, the thirteen buttons lit under the
        // mouse, the Update Now and Homework Wizards faces copied into the background, and the
        // two group captions.
        {8048, Kind::Bitmap, Look::MenuBackground, {{640, 480}, {800, 600}, {1024, 768}}},
        {7877, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {7924, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8015, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8006, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {7918, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {7863, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {7976, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8021, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8012, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8210, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {7891, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8256, Kind::Bitmap, Look::MenuButton, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {7930, Kind::Bitmap, Look::MenuButton, {{100, 32}, {125, 40}, {160, 50}}},
        {8189, Kind::Bitmap, Look::MenuFace, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8180, Kind::Bitmap, Look::MenuFace, {kMenuButton[0], kMenuButton[1], kMenuButton[2]}},
        {8277, Kind::Bitmap, Look::MenuCaption, {kMenuCaption[0], kMenuCaption[1], kMenuCaption[2]}},
        {8274, Kind::Bitmap, Look::MenuCaption, {kMenuCaption[0], kMenuCaption[1], kMenuCaption[2]}},
        // The VL Plus button's connected (8107) and downloading (8091) pictures.
        // Each a strip of frames (26 x 28, 29 x 31 and 36 x 39 by screen class) side by side, in
        // three rows: normal, highlighted and pressed.
        {8107, Kind::Bitmap, Look::ConnectedStrip, {{3 * 26, 3 * 28}, {3 * 29, 3 * 31}, {3 * 36, 3 * 39}}},
        {8091, Kind::Bitmap, Look::DownloadingStrip, {{12 * 26, 3 * 28}, {12 * 29, 3 * 31}, {12 * 36, 3 * 39}}},
        // The tables view's strip: Back to Article, Show Footnotes and Hide Footnotes for each
        // screen class (normal, pressed, focused, disabled and roll-over pictures), each set at
        // that class's size.
        {7680, Kind::Bitmap, Look::TextButton, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7677, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7678, Kind::Bitmap, Look::TextButton, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7679, Kind::Bitmap, Look::TextButtonLit, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7675, Kind::Bitmap, Look::TextButton, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7672, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7673, Kind::Bitmap, Look::TextButton, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7674, Kind::Bitmap, Look::TextButtonLit, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7670, Kind::Bitmap, Look::TextButton, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7667, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7668, Kind::Bitmap, Look::TextButton, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7669, Kind::Bitmap, Look::TextButtonLit, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7665, Kind::Bitmap, Look::TextButton, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7662, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7666, Kind::Bitmap, Look::TextButtonDisabled, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7664, Kind::Bitmap, Look::TextButtonLit, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7660, Kind::Bitmap, Look::TextButton, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7657, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7661, Kind::Bitmap, Look::TextButtonDisabled, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7659, Kind::Bitmap, Look::TextButtonLit, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7655, Kind::Bitmap, Look::TextButton, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7652, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7656, Kind::Bitmap, Look::TextButtonDisabled, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7654, Kind::Bitmap, Look::TextButtonLit, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7648, Kind::Bitmap, Look::TextButton, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7647, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7649, Kind::Bitmap, Look::TextButtonLit, {kTableButton[0], kTableButton[0], kTableButton[0]}},
        {7643, Kind::Bitmap, Look::TextButton, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7642, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7644, Kind::Bitmap, Look::TextButtonLit, {kTableButton[1], kTableButton[1], kTableButton[1]}},
        {7638, Kind::Bitmap, Look::TextButton, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7637, Kind::Bitmap, Look::TextButtonPressed, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        {7639, Kind::Bitmap, Look::TextButtonLit, {kTableButton[2], kTableButton[2], kTableButton[2]}},
        };
        for (const MediaButtonIds& button : kMediaButtons) {
            const std::pair<int, Look> pictures[] = {{button.normal, Look::TextButton},
                                                     {button.pressed, Look::TextButtonPressed},
                                                     {button.disabled, Look::TextButtonDisabled},
                                                     {button.latched, Look::TextButtonLit},
                                                     {button.hover, Look::TextButtonLit}};
            for (const auto& [id, look] : pictures)
                all.push_back({id, Kind::Bitmap, look, {button.sizes[0], button.sizes[1], button.sizes[2]}});
        }
        for (const ToolButtonIds& button : kToolButtons) {
            const Size* s = button.sizes;
            const std::pair<int, Look> pictures[] = {{button.normal, Look::ToolButton},
                                                     {button.pressed, Look::ToolButtonPressed},
                                                     {button.latched, Look::ToolButtonLatched},
                                                     {button.lit, Look::ToolButtonLit},
                                                     {button.disabled, Look::ToolButtonDisabled}};
            for (const auto& [id, look] : pictures)
                if (id != 0)
                    all.push_back({id, Kind::Bitmap, look, {s[0], s[1], s[2]}});
        }
        return all;
    }();
    return rows;
}

}  // namespace art
