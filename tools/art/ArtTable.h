// The table of the art that no artist drew: every bitmap, icon and sound the resource
// scripts name, with its size for each screen class and its look. The generator draws each row
// with the platform's GDI; the scripts include the list it writes (art.rci). Cursors join the
// table when a script names one.
#pragma once

#include <string>
#include <vector>

namespace art {

enum class Kind { Bitmap, Icon, Wave };  // icons are drawn at 16 and 32 pixels

enum class Look {
    SoundButton,      // a speaker on a raised button face
    CloseBox,         // a raised box with a cross
    CloseBoxPressed,  // the same, sunken, the cross one pixel down and right
    ProgramIcon,      // the program's icon: an open book on a globe
    Tone,             // a short sine tone
};

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

}  // namespace art
