// The platform's C interface. Product code includes this header exactly as it would on the
// real platform; the parts that exist so far are pulled in here.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <winbase.h>
#if __has_include(<wingdi.h>)
#include <wingdi.h>
#endif
#if __has_include(<winuser.h>)
#include <winuser.h>
#endif
#if __has_include(<winresapi.h>)
#include <winresapi.h>
#endif
#if __has_include(<winver.h>)
#include <winver.h>
#endif
#if __has_include(<winctl.h>)
#include <winctl.h>
#endif
#if __has_include(<winscroll.h>)
#include <winscroll.h>
#endif
#if __has_include(<windlg.h>)
#include <windlg.h>
#endif
#if __has_include(<winnls.h>)
#include <winnls.h>
#endif
#if __has_include(<winreg.h>)
#include <winreg.h>
#endif
#if __has_include(<mmsystem.h>)
#include <mmsystem.h>
#endif
#if __has_include(<commdlg.h>)
#include <commdlg.h>
#endif
#if __has_include(<shellapi.h>)
#include <shellapi.h>
#endif
#if __has_include(<winspool.h>)
#include <winspool.h>
#endif
#if __has_include(<ole2.h>)
#include <ole2.h>
#endif
