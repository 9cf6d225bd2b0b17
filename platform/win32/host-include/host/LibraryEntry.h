// The entry of a code library: what runs after LoadLibrary has loaded a library (its static
// objects constructed) and before FreeLibrary unloads it. The class library installs these to
// run a library's own application object (InitInstance, ExitInstance). Not part of the
// platform's interface.
#pragma once

#include <windef.h>

namespace host {

// attach: the library's first load; FALSE makes the load fail (the library is unloaded again and
// LoadLibrary answers NULL with ERROR_DLL_INIT_FAILED). detach: its last reference goes.
using LibraryAttach = BOOL (*)(HMODULE module);
using LibraryDetach = void (*)(HMODULE module);
void SetLibraryEntryHooks(LibraryAttach attach, LibraryDetach detach);

// The hooks in force (null when none); the loader calls them without holding its lock.
LibraryAttach CurrentLibraryAttach();
LibraryDetach CurrentLibraryDetach();

}  // namespace host
