// The program's entry: the one application object, and the class library's WinMain with the
// program's arguments.
#include "shell/VLApp.h"

CVLApp theApp;

int main(int argc, char** argv)
{
    return AfxMain(argc, argv);
}
