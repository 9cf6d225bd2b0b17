// The QuickTime client interface of the media browser: started once at application start-up and
// ended at exit. Its ready flag is what every movie and sound window checks first, so with
// QuickTime missing every movie feature silently does nothing.
#pragma once

#include <windows.h>

// Unless already started: starts the QuickTime client interface (which loads the movie library
// "QuickTime.qts"), enters its movie toolbox, and marks it ready (flag 2). 0 when it started; 1
// when it was started already or cannot start (the library is missing or lacks entry points).
int StartQuickTime();
// When started: clears the mark, leaves the movie toolbox, ends the client library.
void StopQuickTime();
// The ready flag: 0 not started, 2 ready.
int QuickTimeReadyFlag();
