// Shared by the dialog manager's sources and the common dialogs. Not installed.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace host {
struct DialogTemplate;
}

namespace dialog {

// Creates a modeless dialog from a parsed template.
HWND Create(HINSTANCE instance, const host::DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param);
// Runs a modal dialog from a parsed template and returns what EndDialog passed (-1 on failure).
INT_PTR RunModal(HINSTANCE instance, const host::DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param);
// The dialog's base units; (0, 0) for windows that are no dialogs.
SIZE BaseUnits(HWND dlg);

}  // namespace dialog
