// Registration of the common controls' classes (the list view and the progress bar) and the
// initialisation calls that programs make before using them.
#include "ControlsInternal.h"
#include "UserInternal.h"

#include <commctrl.h>

namespace {

void RegisterCommonControlClasses()
{
    struct Class {
        const char* name;
        WNDPROC proc;
        UINT style;
    };
    const Class classes[] = {
        {WC_LISTVIEWA, controls::ListViewProc, CS_DBLCLKS},
        {PROGRESS_CLASSA, controls::ProgressProc, CS_HREDRAW | CS_VREDRAW},
    };
    for (const Class& c : classes) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = c.style | CS_GLOBALCLASS;
        wc.lpfnWndProc = c.proc;
        wc.cbWndExtra = sizeof(void*);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = c.name;
        user::RegisterSystemClass(wc);
    }
}

struct Registrar {
    Registrar() { user::AddSystemClassRegistrar(RegisterCommonControlClasses); }
} registrar;

}  // namespace

void WINAPI InitCommonControls(void) {}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    return picce && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}
