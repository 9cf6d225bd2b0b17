// Runs a shell command instead of CreateProcess.
#include <afx.h>

int Runs()
{
    return system("true");
}
