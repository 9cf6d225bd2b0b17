// Opens a file through the C library instead of CFile.
#include <afx.h>

bool Opens()
{
    FILE* file = fopen("x", "rb");
    return file != nullptr;
}
