// Lists a folder through the host instead of FindFirstFile.
#include <dirent.h>

int Nothing()
{
    return 0;
}
