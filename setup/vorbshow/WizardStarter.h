// vorbshow: the registration wizard starter. It opens the outside wizard ("vorb.dll", mode 0) for a
// product folder that has no registration record yet and runs until the wizard's window closes.
#pragma once

#include <windows.h>

// The starter's whole run for the text of its command line after the program's name; returns the
// exit code (the wParam of the last message the loop got). Only one runs at a time, and not
// beside the registration status tool (mutex "VORBREG"): another one makes this one end at once
// with 0.
int RunWizardStarter(HINSTANCE instance, LPCSTR commandLine);
