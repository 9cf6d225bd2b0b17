// Includes a host header.
#include <unistd.h>

int Nothing()
{
    return 0;
}
