// The editor's entry: the one application object and the class library's WinMain.
#include "PadApp.h"

CPadApp theApp;

int main(int argc, char** argv)
{
    return AfxMain(argc, argv);
}
