// The media windows' cursors: a cursor resource of the screen-class resource library, else of the
// program, else the system cursor given.
#pragma once

#include <windows.h>

HCURSOR LoadMediaCursor(UINT nId, LPCSTR lpszSystemCursor);
