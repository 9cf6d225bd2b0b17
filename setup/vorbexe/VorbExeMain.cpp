// vorbexe's entry.
#include "vorbexe/Launcher.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR lpCmdLine, int)
{
    return RunRegistrationLauncher(lpCmdLine);
}
