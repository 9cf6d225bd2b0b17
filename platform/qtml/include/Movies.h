// The movie library's movie toolbox: movie files, movies and their controllers (the client
// interface, see QTML.h).
//
// A controller plays its movie on the platform's clock, draws the movie's frames and its control
// bar into the port's window through the GDI, and plays the movie's sound through the
// platform's sound output. It works on the events its window passes it (MCIsPlayerEvent): its
// own timer while the movie plays, paints and mouse clicks on the bar.
#pragma once

#include "QTML.h"

OSErr EnterMovies();
void ExitMovies();
// The error of the last movie-toolbox call; noErr when it succeeded.
OSErr GetMoviesError();

// A file record (FSSpec) from a length-prefixed path (volume and folder 0: the path is whole).
OSErr FSMakeFSSpec(short vRefNum, long dirID, ConstStr255Param fileName, FSSpec* spec);
OSErr OpenMovieFile(const FSSpec* spec, short* refNum, signed char permission);
OSErr CloseMovieFile(short refNum);
// Reads the movie of an open movie file (its frames and sound are checked whole: a damaged or
// cut-short file is refused). The movie shows in the current port.
OSErr NewMovieFromFile(Movie* movie, short refNum, short* resId, StringPtr resName, short flags,
                       Boolean* dataRefWasChanged);
void DisposeMovie(Movie movie);
// The movie's natural box (a sound has an empty one).
void GetMovieBox(Movie movie, Rect* box);
void SetMovieActive(Movie movie, Boolean active);
// The movie's length and the time it stands at, in milliseconds.
long GetMovieDuration(Movie movie);
long GetMovieTime(Movie movie);

// A controller for the movie, showing it in the box with a control bar under it.
MovieController NewMovieController(Movie movie, const Rect* box, long flags);
void DisposeMovieController(MovieController controller);
ComponentResult MCDoAction(MovieController controller, short action, void* parameter);
// The rectangle the controller takes in its window: the movie and the bar.
ComponentResult MCGetControllerBoundsRect(MovieController controller, Rect* bounds);
ComponentResult MCGetControllerInfo(MovieController controller, long* flags);
// Non-zero when the controller took the event (its window's timer, paint, a click on it).
ComponentResult MCIsPlayerEvent(MovieController controller, const EventRecord* event);
