// Resource ids of the plain-text editor (resources/notepad/notepad.rc). The menu, accelerators,
// icon, toolbar bitmap and document string share the frame's id; the commands are the class
// library's standard ones.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 512
