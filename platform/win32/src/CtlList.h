// Internal interface between the list box ("LISTBOX") and the combo box ("COMBOBOX"), whose
// drop-down list is a list box ("ComboLBox") that reports to its combo box. Not installed.
#pragma once

#include <windows.h>

namespace ctl {

// Creation parameters of a combo box's list (lpCreateParams of the "ComboLBox" window).
struct ComboListParams {
    HWND combo = nullptr;
};

// What a combo box's list tells its combo box.
enum class ListEvent {
    SelChange,  // the user moved the selection (keyboard or mouse)
    Chosen,     // the user released the mouse on an item of the dropped list
    Cancelled,  // the user clicked outside the dropped list
    DblClk,     // double click on an item (simple combo boxes)
};
void ComboListEvent(HWND combo, ListEvent event);
// The combo box shows or hides its list: while dropped the list follows the mouse.
void SetListDropped(HWND list, bool dropped);

// Height of one line of text in a font (the default control font when null).
int FontLineHeight(HFONT font);
HFONT DefaultControlFont();

}  // namespace ctl
