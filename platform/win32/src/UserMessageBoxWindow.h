// The message box window: the dialog MessageBox shows when a real user is at the screen.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace msgbox {

struct BoxLayoutRequest {
    std::string text;
    std::string caption;
    UINT type = 0;
    std::vector<int> buttons;  // in display order
    int defaultIndex = 0;      // into buttons
};

// Runs the modal box owned by `owner` (also the window it is centred over; null: the screen)
// and returns the id of the button pressed, or -1 when the dialog could not be created.
int ShowBoxWindow(HWND owner, const BoxLayoutRequest& request);

}  // namespace msgbox
