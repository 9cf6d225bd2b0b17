// The entry points of the movie library, in one list: the client interface forwards each call
// to the entry of the same name that the loaded library exports (with C names), and the library
// defines them. QT_ENTRY(result, name, parameters, arguments, result when not started);
// QT_VOID(name, parameters, arguments) for calls without a result. QT_OWN_ENTRY and QT_OWN_VOID
// mark the calls that the client interface does more for than forwarding (it defines them
// itself); a user of the list that does not care defines them as QT_ENTRY and QT_VOID.
#ifndef QT_OWN_ENTRY
#define QT_OWN_ENTRY QT_ENTRY
#define QT_OWN_VOID QT_VOID
#define QT_OWN_DEFINED_HERE
#endif
QT_OWN_ENTRY(OSErr, InitializeQTML, (long flags), (flags), qtmlUninitialized)
QT_OWN_VOID(TerminateQTML, (), ())
QT_ENTRY(GrafPtr, CreatePortAssociation, (void* nativeWindow, Ptr storage, long flags), (nativeWindow, storage, flags), nullptr)
QT_VOID(DestroyPortAssociation, (CGrafPtr port), (port))
QT_ENTRY(GrafPtr, GetNativeWindowPort, (void* nativeWindow), (nativeWindow), nullptr)
QT_VOID(SetGWorld, (CGrafPtr port, GDHandle device), (port, device))
QT_VOID(WinEventToMacEvent, (void* nativeMessage, EventRecord* event), (nativeMessage, event))
QT_ENTRY(OSErr, EnterMovies, (), (), qtmlUninitialized)
QT_VOID(ExitMovies, (), ())
QT_ENTRY(OSErr, GetMoviesError, (), (), qtmlUninitialized)
QT_ENTRY(OSErr, FSMakeFSSpec, (short vRefNum, long dirID, ConstStr255Param fileName, FSSpec* spec), (vRefNum, dirID, fileName, spec), qtmlUninitialized)
QT_ENTRY(OSErr, OpenMovieFile, (const FSSpec* spec, short* refNum, signed char permission), (spec, refNum, permission), qtmlUninitialized)
QT_ENTRY(OSErr, CloseMovieFile, (short refNum), (refNum), qtmlUninitialized)
QT_ENTRY(OSErr, NewMovieFromFile, (Movie* movie, short refNum, short* resId, StringPtr resName, short flags, Boolean* dataRefWasChanged), (movie, refNum, resId, resName, flags, dataRefWasChanged), qtmlUninitialized)
QT_VOID(DisposeMovie, (Movie movie), (movie))
QT_VOID(GetMovieBox, (Movie movie, Rect* box), (movie, box))
QT_VOID(SetMovieActive, (Movie movie, Boolean active), (movie, active))
QT_ENTRY(long, GetMovieDuration, (Movie movie), (movie), 0)
QT_ENTRY(long, GetMovieTime, (Movie movie), (movie), 0)
QT_ENTRY(MovieController, NewMovieController, (Movie movie, const Rect* box, long flags), (movie, box, flags), nullptr)
QT_VOID(DisposeMovieController, (MovieController controller), (controller))
QT_OWN_ENTRY(ComponentResult, MCDoAction, (MovieController controller, short action, void* parameter), (controller, action, parameter), qtmlUninitialized)
QT_ENTRY(ComponentResult, MCGetControllerBoundsRect, (MovieController controller, Rect* bounds), (controller, bounds), qtmlUninitialized)
QT_ENTRY(ComponentResult, MCGetControllerInfo, (MovieController controller, long* flags), (controller, flags), qtmlUninitialized)
QT_ENTRY(ComponentResult, MCIsPlayerEvent, (MovieController controller, const EventRecord* event), (controller, event), 0)
#ifdef QT_OWN_DEFINED_HERE
#undef QT_OWN_ENTRY
#undef QT_OWN_VOID
#undef QT_OWN_DEFINED_HERE
#endif
