// The desktop composition's flush: waiting for the screen's next frame.
#pragma once

#include <windef.h>
#include <winerror.h>

#ifndef DWM_E_COMPOSITIONDISABLED
#define DWM_E_COMPOSITIONDISABLED ((HRESULT)0x80263001L)
#endif

// Blocks until the drawing done so far has been shown on the screen: returns after the next
// frame the display presents (S_OK). Without a composed display (headless) it returns at once
// with DWM_E_COMPOSITIONDISABLED, so a caller that paces itself by frames runs on at the speed
// of the platform's clock.
HRESULT WINAPI DwmFlush(void);
