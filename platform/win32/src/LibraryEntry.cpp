// The hooks run at a code library's load and unload (host/LibraryEntry.h).
#include <host/LibraryEntry.h>

#include <atomic>

namespace {

std::atomic<host::LibraryAttach> g_attach{nullptr};
std::atomic<host::LibraryDetach> g_detach{nullptr};

}  // namespace

namespace host {

void SetLibraryEntryHooks(LibraryAttach attach, LibraryDetach detach)
{
    g_attach = attach;
    g_detach = detach;
}

LibraryAttach CurrentLibraryAttach() { return g_attach; }
LibraryDetach CurrentLibraryDetach() { return g_detach; }

}  // namespace host
