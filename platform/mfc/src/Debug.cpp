#include <afx.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void DefaultSink(LPCSTR text)
{
    static const bool enabled = std::getenv("VL_TRACE") != nullptr;
    if (enabled)
        std::fputs(text, stderr);
}

std::atomic<AFX_TRACE_SINK> g_sink{&DefaultSink};

}  // namespace

AFX_TRACE_SINK AFXAPI AfxSetTraceSink(AFX_TRACE_SINK pfnSink)
{
    return g_sink.exchange(pfnSink ? pfnSink : &DefaultSink);
}

void AFX_CDECL AfxTrace(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, lpszFormat, copy);
    va_end(copy);
    std::string text(needed > 0 ? static_cast<size_t>(needed) : 0, '\0');
    if (needed > 0)
        std::vsnprintf(text.data(), text.size() + 1, lpszFormat, args);
    va_end(args);
    g_sink.load()(text.c_str());
}

BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine)
{
    std::fprintf(stderr, "Assertion failed: %s(%d)\n", lpszFileName, nLine);
    std::fflush(stderr);
    std::abort();
}
