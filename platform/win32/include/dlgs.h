// The control ids of the common dialogs, for callers that drive them, hook them or give them
// templates of their own.
#pragma once

// Push buttons
#define psh1 0x0400
#define psh2 0x0401
#define psh3 0x0402
#define psh4 0x0403
#define pshHelp 0x040e
// Check boxes
#define chx1 0x0410
#define chx2 0x0411
// Radio buttons
#define rad1 0x0420
#define rad2 0x0421
// Group boxes
#define grp1 0x0430
// Static texts
#define stc1 0x0440
#define stc2 0x0441
// List boxes
#define lst1 0x0460
#define lst2 0x0461
// Combo boxes
#define cmb1 0x0470
#define cmb2 0x0471
// Edits
#define edt1 0x0480
#define edt2 0x0481
