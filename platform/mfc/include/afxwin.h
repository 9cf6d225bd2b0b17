// The class library's window classes: message maps, CWnd, CMenu, CWinApp, frames, views and
// documents. Product code includes it exactly as it would on the real platform.
#pragma once

#include <afx.h>
#include <afxres.h>

#include <mfc/CmdTarget.h>
#include <mfc/Menu.h>
#include <mfc/Wnd.h>
#include <mfc/WinApp.h>
#include <mfc/FrameWnd.h>
#include <mfc/View.h>
#include <mfc/Document.h>
#include <mfc/DocTemplate.h>
#include <mfc/WindowDC.h>
#if __has_include(<mfc/BasicControls.h>)
#include <mfc/BasicControls.h>
#endif
#if __has_include(<mfc/ListControls.h>)
#include <mfc/ListControls.h>
#endif
#if __has_include(<mfc/Dialog.h>)
#include <mfc/Dialog.h>
#endif
#include <mfc/EditView.h>
