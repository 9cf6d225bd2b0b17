// vorbshow's entry.
#include "vorbshow/WizardStarter.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    return RunWizardStarter(hInstance, lpCmdLine);
}
