// Shared by the dialog manager's sources and the common dialogs. Not installed.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace host {
struct DialogTemplate;
}

// The button and edit messages the dialog manager sends to its controls (the controls' header
// declares them too).
#ifndef BM_GETCHECK
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5
#endif
#ifndef BST_UNCHECKED
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#endif
#ifndef BS_PUSHBUTTON
#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_AUTORADIOBUTTON 0x00000009L
#endif
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#ifndef EM_SETSEL
#define EM_SETSEL 0x00B1
#endif

namespace dialog {

// Creates a modeless dialog from a parsed template.
HWND Create(HINSTANCE instance, const host::DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param);
// Runs a modal dialog from a parsed template and returns what EndDialog passed (-1 on failure).
INT_PTR RunModal(HINSTANCE instance, const host::DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param);
// The dialog's base units; (0, 0) for windows that are no dialogs.
SIZE BaseUnits(HWND dlg);

}  // namespace dialog
