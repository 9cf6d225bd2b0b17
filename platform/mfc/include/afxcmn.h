// The class library's wrappers of the common controls: CImageList, CListCtrl, CProgressCtrl
// and CRichEditCtrl. Product code includes it exactly as it would on the real platform.
#pragma once

#include <afxwin.h>
#include <commctrl.h>
#include <richedit.h>

#include <mfc/ImageList.h>
#include <mfc/ListCtrl.h>
#include <mfc/ProgressCtrl.h>
#include <mfc/RichEditCtrl.h>
