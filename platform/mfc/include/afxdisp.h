// The class library's OLE support as far as the program uses it: initialising the object
// libraries for the application (AfxOleInit), with the platform's object model (oleauto.h), and
// the class library's variant (COleVariant).
#pragma once

#include <afxwin.h>
#include <oleauto.h>
#include <mfc/OleVariant.h>

// Initialises the object libraries for the application's thread; FALSE when they cannot be
// initialised. The libraries stay initialised until the application object is destroyed.
BOOL AFXAPI AfxOleInit();
