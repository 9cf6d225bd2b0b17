// Diagnostics of the class library: ASSERT, VERIFY, TRACE.
// ASSERT and TRACE are active in debug builds (_DEBUG); VERIFY always evaluates its argument.
#pragma once

#include <windef.h>

#define AFXAPI
#define AFX_CDECL
#define AFX_EXT_CLASS
#define AFX_EXT_API
#define AFX_EXT_DATA
#define AFX_INLINE inline
#define AFX_STATIC static
#define AFX_STATIC_DATA static
#define AFX_NOVTABLE
#define AFX_DATA
#define AFX_CORE_DATA
#define AFX_COMDAT
#define AFX_CLASS_EXPORT
#define AFX_API_EXPORT

// Reports a failed assertion (file and line) through the trace sink and stops the program.
BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
// Writes a printf-style trace line to the trace sink.
void AFX_CDECL AfxTrace(LPCSTR lpszFormat, ...) __attribute__((format(printf, 1, 2)));

// Where trace text goes. By default it is written to the standard error stream when the
// environment variable VL_TRACE is set, and dropped otherwise; tests install their own sink.
typedef void (*AFX_TRACE_SINK)(LPCSTR lpszText);
AFX_TRACE_SINK AFXAPI AfxSetTraceSink(AFX_TRACE_SINK pfnSink);

#ifdef _DEBUG
#define ASSERT(f) ((void)((f) || AfxAssertFailedLine(__FILE__, __LINE__)))
#define VERIFY(f) ASSERT(f)
#define TRACE(...) AfxTrace(__VA_ARGS__)
#define DEBUG_ONLY(f) (f)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define TRACE(...) ((void)0)
#define DEBUG_ONLY(f) ((void)0)
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
#define ASSERT_POINTER(p, type) ASSERT((p) != NULL)
#define ASSERT_NULL_OR_POINTER(p, type) ((void)0)
#define UNUSED(x) ((void)(x))
#define UNUSED_ALWAYS(x) ((void)(x))
