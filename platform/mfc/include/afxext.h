// The class library's extensions: control bars (toolbar, status bar).
#pragma once

#include <afxwin.h>
#include <mfc/ControlBars.h>
