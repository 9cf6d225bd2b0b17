// vorbexe: the registration launcher. For one product folder it hands over to the registration
// status tool "vorbreg.exe" (the folder has a registration record "reg.reg") or to the wizard
// starter "vorbshow.exe" (it has none) and waits until that program ends; with "-u" it runs the
// wizard's uninstall step instead.
#pragma once

#include <windows.h>

// The launcher's whole run for the text of its command line after the program's name; returns
// the exit code. Only one launcher runs at a time: another one (mutex "VORBREGEXE") makes this
// one end at once with 0.
int RunRegistrationLauncher(LPCSTR commandLine);
