// The seam between the window system's LoadIcon / LoadCursor and the resource loader: icons and
// cursors of a module's resources, at the system size, shared (as LoadIcon's are).
//
// Not part of the platform's interface.
#pragma once

#include <windows.h>

namespace host {

// The icon (fIcon) or cursor resource `name` of `module` as a shared icon object; NULL with the
// last error set when the module has no such resource.
HICON LoadIconResource(HINSTANCE module, LPCSTR name, BOOL fIcon);

}  // namespace host
