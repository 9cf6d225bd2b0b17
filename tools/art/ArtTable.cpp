#include "ArtTable.h"

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
// The article view's pane buttons and its ground (stretched over the view).
constexpr Size kPaneButton = {50, 15};
constexpr Size kGround = {160, 120};

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
    case 349: case 350: return "Cancel";
    case 351: case 352: case 550: case 551: case 355: case 356: return "OK";
    case 342: case 344: return "Delete";
    case 345: case 346: return "Place";
    case 347: case 348: return "List";
    case 353: case 354: return "Delete All";
    case 448: case 449: return "Go";
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
    // Content kinds: the list icons and the printed pictures share a letter.
    case 4030: case 199: return "A";  // animation
    case 4031: case 215: return "V";  // video
    case 4032: case 201: return "P";  // picture
    case 187: case 205: return "S";   // sound
    case 4033: case 204: return "X";  // simulation
    case 143: case 200: return "M";   // map
    case 4035: case 202: return "Q";  // panorama
    case 238: return "#";             // a table of the article
    case 236: return "T";             // a timeline of the article
    default: return "";
    }
}

const std::vector<Row>& ProgramArt()
{
    static const std::vector<Row> rows = {
        // The sound button beside a sound's text thumbnail: 27 by 17 pixels, both states.
        {237, Kind::Bitmap, Look::SoundButton, {{27, 17}, {27, 17}, {27, 17}}},
        // The icons before the article page's table and timeline lines: 26 by 17 pixels.
        {238, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
        {236, Kind::Bitmap, Look::KindPicture, {{26, 17}, {26, 17}, {26, 17}}},
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
    };
    return rows;
}

const std::vector<Row>& LibraryArt()
{
    static const std::vector<Row> rows = {
        // The close box of the floating panels' 27-pixel caption band, growing with the class.
        {7556, Kind::Bitmap, Look::CloseBox, {{16, 14}, {18, 16}, {21, 19}}},
        {7557, Kind::Bitmap, Look::CloseBoxPressed, {{16, 14}, {18, 16}, {21, 19}}},
        // The article view's three pane buttons (normal, pressed, hover, disabled, latched).
        {7223, Kind::Bitmap, Look::TextButton, {kPaneButton, kPaneButton, kPaneButton}},
        {7220, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7221, Kind::Bitmap, Look::TextButton, {kPaneButton, kPaneButton, kPaneButton}},
        {7224, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7222, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7238, Kind::Bitmap, Look::TextButton, {kPaneButton, kPaneButton, kPaneButton}},
        {7235, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7236, Kind::Bitmap, Look::TextButton, {kPaneButton, kPaneButton, kPaneButton}},
        {7239, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7237, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7253, Kind::Bitmap, Look::TextButton, {kPaneButton, kPaneButton, kPaneButton}},
        {7250, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7251, Kind::Bitmap, Look::TextButton, {kPaneButton, kPaneButton, kPaneButton}},
        {7254, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
        {7252, Kind::Bitmap, Look::TextButtonPressed, {kPaneButton, kPaneButton, kPaneButton}},
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
    };
    return rows;
}

}  // namespace art
