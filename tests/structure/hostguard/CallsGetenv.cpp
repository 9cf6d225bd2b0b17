// Reads the host's environment directly instead of through GetEnvironmentVariable.
#include <afx.h>

int Configured()
{
    return getenv("VMPATH") != nullptr;
}
