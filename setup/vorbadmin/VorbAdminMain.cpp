// vorbadmin's entry.
#include "vorbadmin/Bookkeeper.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    return RunRegistrationBookkeeper(lpCmdLine);
}
