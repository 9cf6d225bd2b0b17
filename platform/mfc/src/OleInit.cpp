// AfxOleInit: the object libraries initialised once for the application's thread.
#include <afxdisp.h>

namespace {

thread_local bool t_oleInitialised = false;

// Ends the thread's initialisation when the thread ends, as the class library does at exit.
struct OleTerm {
    ~OleTerm()
    {
        if (t_oleInitialised)
            OleUninitialize();
    }
};

}  // namespace

BOOL AFXAPI AfxOleInit()
{
    if (t_oleInitialised)
        return TRUE;
    HRESULT hr = OleInitialize(NULL);
    if (hr < 0)
        return FALSE;
    t_oleInitialised = true;
    thread_local OleTerm term;
    (void)term;
    return TRUE;
}
