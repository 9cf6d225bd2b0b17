// Numbers of the frame test resources (frame.rc).
#pragma once

#define IDR_ATLAS 128
#define IDR_BARE 129
#define IDR_MISSING 130
#define ID_ATLAS_PING 32801
#define ID_ATLAS_HELP 32802
