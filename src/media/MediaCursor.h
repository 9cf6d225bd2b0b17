// The media browser's cursors: a cursor resource of the screen-class library, else of the program,
// else the system's arrow.
#pragma once

#include <afxwin.h>

HCURSOR LoadMediaCursor(UINT nId);
