// vorbreg's entry.
#include "vorbreg/StatusTool.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    return RunStatusTool(hInstance, lpCmdLine);
}
