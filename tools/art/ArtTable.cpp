#include "ArtTable.h"

namespace art {

const std::vector<Row>& ProgramArt()
{
    static const std::vector<Row> rows = {
        // The sound button beside a sound's text thumbnail: 27 by 17 pixels, both states.
        {237, Kind::Bitmap, Look::SoundButton, {{27, 17}, {27, 17}, {27, 17}}},
        // The main frame's icon.
        {147, Kind::Icon, Look::ProgramIcon, {{32, 32}, {32, 32}, {32, 32}}},
        // The interface sounds the sound player preloads.
        {9026, Kind::Wave, Look::Tone, {{660, 90}, {}, {}}},
        {9027, Kind::Wave, Look::Tone, {{880, 90}, {}, {}}},
        {9028, Kind::Wave, Look::Tone, {{520, 120}, {}, {}}},
        {9029, Kind::Wave, Look::Tone, {{990, 60}, {}, {}}},
        {9030, Kind::Wave, Look::Tone, {{440, 150}, {}, {}}},
    };
    return rows;
}

const std::vector<Row>& LibraryArt()
{
    static const std::vector<Row> rows = {
        // The close box of the floating panels' 27-pixel caption band, growing with the class.
        {7556, Kind::Bitmap, Look::CloseBox, {{16, 14}, {18, 16}, {21, 19}}},
        {7557, Kind::Bitmap, Look::CloseBoxPressed, {{16, 14}, {18, 16}, {21, 19}}},
    };
    return rows;
}

}  // namespace art
