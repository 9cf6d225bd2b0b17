// The class library's standard dialogs.
#pragma once

#include <afxwin.h>
#include <mfc/CommonDialogs.h>
