// Closing kernel handles (files, and the other areas' events, processes ...).
#pragma once

#include <windef.h>

BOOL WINAPI CloseHandle(HANDLE hObject);
