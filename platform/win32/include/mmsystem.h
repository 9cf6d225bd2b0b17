// Multimedia part of the platform's C interface: time, timers, sound, MCI.
#pragma once

#include <windows.h>
#if __has_include(<timeapi.h>)
#include <timeapi.h>
#endif
#if __has_include(<mmtimer.h>)
#include <mmtimer.h>
#endif
#if __has_include(<mmsound.h>)
#include <mmsound.h>
#endif
#if __has_include(<mci.h>)
#include <mci.h>
#endif

// Sent to the window that asked for notification when an MCI command ends.
#ifndef MM_MCINOTIFY
#define MM_MCINOTIFY 0x3B9
#endif

// MM_MCINOTIFY's wParam: how the command ended.
#ifndef MCI_NOTIFY_SUCCESSFUL
#define MCI_NOTIFY_SUCCESSFUL 0x0001
#define MCI_NOTIFY_SUPERSEDED 0x0002
#define MCI_NOTIFY_ABORTED 0x0004
#define MCI_NOTIFY_FAILURE 0x0008
#endif
