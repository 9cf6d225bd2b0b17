// The table of the art that no artist drew: every bitmap, icon and sound the resource
// scripts name, with its size for each screen class and its look. The generator draws each row
// with the platform's GDI; the scripts include the list it writes (art.rci).
#pragma once

#include <string>
#include <vector>

namespace art {

// Icons are drawn at 16 and 32 pixels; cursors at their size, with the hot spot in sizes[1].
enum class Kind { Bitmap, Icon, Wave, Cursor };

enum class Look {
    SoundButton,      // a speaker on a raised button face
    CloseBox,         // a raised box with a cross
    CloseBoxPressed,  // the same, sunken, the cross one pixel down and right
    ProgramIcon,      // the program's icon: an open book on a globe
    Tone,             // a short sine tone
    // The start-up main menu's pictures, all written as 8-bit bitmaps over one shared colour
    // table (IndexedBmpFile), so that the menu copies faces into its background pixel by pixel
    // and draws every picture through the background's palette.
    MenuBackground,   // the whole menu: title, group captions, the button faces at the class's layout
    MenuButton,       // a button lit under the mouse, with its label
    MenuFace,         // a button's face as the background shows it, with its label
    MenuCaption,      // a group caption lit while one of its buttons is
    // The wizard selection window's pictures.
    WizardTile,         // a raised tile in the wizard's own colour, with its label
    WizardTilePressed,  // the same tile sunken and darker, the label one pixel down and right
    WizardBanner,       // the window's heading picture
    // The picture buttons of the tab dialogs (the popup box's OK, the History dialog's OK and
    // Cancel).
    TextButton,         // a raised button face with its label
    TextButtonPressed,  // the same face sunken, the label one pixel down and right
    TextButtonLit,      // the raised face with its label in dark blue (under the mouse)
    ComboArrow,         // the drop-down arrow of the program's combo boxes
    TextButtonDisabled,  // the raised face with its label in grey
    StickyMark,         // a small yellow note on a button face (an item has sticky notes)
    // The sample disc's pictures (drawn for the disc builder at the size its sources ask).
    PhotoMonoplane,  // a red monoplane climbing away from a grass field
    PhotoBiplane,    // a yellow biplane in level flight over fields
    PhotoLavaNight,  // lava fountains on a volcano's flank at night
    PhotoLeaves,     // leaves on a branch against the sun
    PhotoBand,       // a small band on a club's stage
    MapGreatLakes,   // the five lakes with their rivers and cities
    MapWorld,        // the continents with the plate edges and their volcanoes
    MapLegend,       // the key to the maps' signs
    // The atlas's pictures of the whole earth (AtlasArt.h), from the picture of the earth: 8-bit
    // bitmaps with a table of 256 colours.
    GlobeMap,        // the globe's map, twice as wide as high
    InsetMap,        // the distance calculator's small map of the earth
    // The list windows' row icons and marks, and the pictures beside printed search results.
    BookClosed,         // a heading's icon: a closed book
    BookOpen,           // an expanded heading's icon: an open book
    PageIcon,           // a leaf item's icon: a written page
    KindBadge,          // a content kind's icon: a rounded badge in the kind's colour with its letter
    KindPicture,        // the same badge as a bitmap on white
    MissingFileMark,    // a small download arrow on white (a file not yet downloaded)
    MissingFileMarkDark,  // the same on black, for a selected row
    // Thumbnails.
    TimelinePicture,    // a small timeline: a bar with year ticks and event flags
    MediaFrame,         // the media strip's thumbnail frame: a raised slate-blue frame
    MediaFramePressed,  // the same frame sunken and darker
    MediaFrameHover,    // the same frame lit, with a pointer arrow at its right
    TabIndicator,       // the instruction window's tab mark: an empty round radio
    TabIndicatorChosen, // the same with a dark dot
    Disc2Badge,         // a small "2" on a yellow tag: the item is on the second disc
    // The application toolbar's and the Tool Kit's picture buttons: a sign above the label.
    ToolButton,          // the raised face
    ToolButtonPressed,   // sunken while the mouse holds it down
    ToolButtonLit,       // lit while the cursor is over it
    ToolButtonLatched,   // the latched look (the view on screen, an open pane, a running tool)
    ToolButtonDisabled,  // greyed
    // The article page's cursors.
    LinkHand,      // a white hand pointing up: a link to an article, a picture or an icon line
    TimeLinkHand,  // the same hand with a small clock: a link into the Dido Dovov view
    // The picture window's cursors and its sound item's picture.
    ArticleLinkHand,   // the hand with a small written page: a hot spot that links to an article
    MapLinkHand,       // the hand with a small globe: a hot spot that links to a map
    SoundPlaying,      // a speaker sending out waves: a hot-spot sound plays (a click stops it)
    SoundItemPicture,  // a loudspeaker on a soft blue ground: the picture of a sound item
    // The article view's ground behind its panes and page (the label's first letter picks the
    // tint of the content's domain).
    ArticleGround,
    // The media browser's small arrow buttons (the label's first letter gives the direction:
    // U, D, L or R; none draws no arrow) and the sliding selector's track.
    ArrowButton,
    ArrowButtonPressed,
    ArrowButtonDisabled,
    SliderTrack,
    // The atlas's overlay control pad: its face (a panel with rounded corners, a heading and a
    // bevel) and the Map Search panel's caption picture (a magnifier over a small globe).
    ControlPadFace,
    MapSearchBadge,
    // The random browsing view: the ground at its top-left corner (a sky over rolling hills) and
    // its device (a rounded console with the wells its captions and buttons sit in).
    BrowseGround,
    BrowseDevice,
    // The plain-text editor's icon (a note pad with a pencil) and its toolbar's picture strip:
    // 16 by 15 pictures side by side on the button face, in the buttons' order (New, Open, Save,
    // Cut, Copy, Paste, Print, About).
    NotePadIcon,
    EditorToolStrip,
    // The VL Plus button's animation strips: frames side by side, three rows (normal,
    // highlighted, pressed). Connected: 3 frames of a globe sending out one to three waves;
    // downloading: 12 frames of an arrow turning round the globe.
    ConnectedStrip,
    DownloadingStrip,
    // The online view's Update Now button: four 54 x 54 cells side by side, an arrow coming down
    // into a tray one step further in each.
    UpdateNowCells,
    // The Dido Dovov: the time machine's panel (a brass-rimmed plate with its heading and the
    // sunken well of the year digits), the thumbnail grid's ground (a pale sky with a faint
    // timeline across its top), the status strip's field labels (a dark blue field with its
    // caption at the top left) and the panel's clock.
    TimeMachineFace,
    TimeGround,
    StatusFieldLabel,
    ClockPicture,
};

// Whether a look is written as an 8-bit bitmap over the menu's colour table.
bool IsIndexed(Look look);

struct Size {
    int width = 0, height = 0;
};

struct Row {
    int id;
    Kind kind;
    Look look;
    // Bitmaps: the size for screen classes 0, 1 and 2 (the program's own art uses class 0's).
    // Tones: width is the pitch in hertz, height the length in milliseconds.
    Size sizes[3];
};

// The program's own art (ids below 7000) and the screen-class libraries' (7000 and above).
const std::vector<Row>& ProgramArt();
const std::vector<Row>& LibraryArt();
// The plain-text editor's art (its own module).
const std::vector<Row>& NotepadArt();
// The text a row's picture carries (menu buttons and captions); empty for the others.
const char* Label(int id);

}  // namespace art
