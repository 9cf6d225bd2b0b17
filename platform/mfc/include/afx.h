// The class library's core header. Product code includes it exactly as it would on the real
// platform; the parts that exist so far are pulled in here.
#pragma once

#include <windows.h>

#include <mfc/Debug.h>
#if __has_include(<mfc/Object.h>)
#include <mfc/Object.h>
#endif
#if __has_include(<mfc/Exception.h>)
#include <mfc/Exception.h>
#endif
#if __has_include(<mfc/String.h>)
#include <mfc/String.h>
#endif
#if __has_include(<mfc/Geometry.h>)
#include <mfc/Geometry.h>
#endif
#if __has_include(<mfc/Time.h>)
#include <mfc/Time.h>
#endif
#if __has_include(<mfc/File.h>)
#include <mfc/File.h>
#endif
#if __has_include(<mfc/Archive.h>)
#include <mfc/Archive.h>
#endif
#if __has_include(<mfc/Collections.h>)
#include <mfc/Collections.h>
#endif
#if __has_include(<mfc/Dc.h>)
#include <mfc/Dc.h>
#endif
#if __has_include(<mfc/Module.h>)
#include <mfc/Module.h>
#endif
