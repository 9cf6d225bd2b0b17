// vluninst's entry.
#include "vluninst/UninstallFrontEnd.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR lpCmdLine, int)
{
    return RunUninstallFrontEnd(instance, lpCmdLine);
}
