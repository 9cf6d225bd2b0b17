// Reaches the platform's test-facing header.
#include <host/Drives.h>

int Nothing()
{
    return 0;
}
