// The interactive presenter: the virtual desktop shown in a real window of the host (SDL2),
// with the host's mouse and keyboard fed into the platform's input and sounds sent to the
// host's audio device. Not part of the platform's interface.
//
// Headless is the default: nothing here runs, and SDL is not even initialised, until a program
// calls StartPresenter (or StartPresenterIfRequested, which looks at VL_PRESENTER=sdl in the
// environment). The presenter then runs on a thread of its own that owns the SDL window: about
// sixty times a second it polls the host's events and shows the desktop surface again if its
// pixels changed since the last frame. So the window system's message loops need no hook.
//   - Mouse motion, buttons and wheel go to host::MouseMove/MouseDown/MouseUp/MouseWheel
//     (window coordinates are desktop coordinates); keys go to host::KeyDown/KeyUp as
//     virtual-key codes (VirtualKeyFromSdl); characters come from the platform's own key
//     translation (TranslateMessage, US layout).
//   - Resizing the window scales the desktop into it, whole (letterboxed when the shapes
//     differ); the desktop keeps its size, so no program window is cut off, and the pointer's
//     positions are desktop coordinates still. The other way round, when the program changes the
//     display size the window follows it.
//   - The host's mouse cursor follows the platform's: hidden while ShowCursor's count is below 0
//     or no cursor is set, otherwise the host's look-alike of a system cursor (a program's own
//     cursor shows as the arrow).
//   - The 8-bit palette display mode is shown through the system palette of the moment.
//   - Closing the window calls the close handler (SetPresenterCloseHandler); without one it
//     posts WM_CLOSE to the foreground window.
//   - Sound goes to the audio device while the presenter runs (host/Sound.h).
//   - While it runs the UI is interactive (host::SetInteractive): message boxes, dialogs and
//     menus wait for the reader rather than for a test script.
#pragma once

#include <host/Input.h>

#include <windef.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host {

// Brings the presenter's window to the front of the host's desktop (restored if the host had
// minimised it), on the presenter's thread soon after the call; nothing when no presenter runs.
// The window system calls it when another process brings one of this process's windows to the
// foreground (a second start of a program activating the first, for instance).
void RaisePresenterWindow();
// How many raises the presenter's thread has done (for tests).
std::uint64_t PresenterRaiseCount();
// Sizes the presenter's window as the user would by its frame (on the presenter's thread soon
// after the call); nothing when no presenter runs.
void ResizePresenterWindow(int width, int height);

// True when the environment asks for the interactive mode: VL_PRESENTER=sdl.
bool PresenterRequested();

// Opens the presenter's window (titled `title`, sized as the desktop) and starts its thread.
// False, with a reason in `error`, if SDL's video cannot start (no display); the program then
// simply stays headless. Starting twice is harmless.
bool StartPresenter(const std::string& title, std::string* error = nullptr);
// StartPresenter if PresenterRequested(); false otherwise or if it failed.
bool StartPresenterIfRequested(const std::string& title, std::string* error = nullptr);
// What a program tells its user when the presenter it was asked for could not start (`error`
// from StartPresenter): that no display is available (or that the display refused the window),
// how to run with one, and how to run headless. Several lines, each ending in a newline.
std::string PresenterStartFailure(const std::string& program, const std::string& error);
// Closes the window, stops the thread and releases SDL's video; sound goes back to the record.
void StopPresenter();
bool PresenterActive();

// Called on the presenter's thread when the user closes the window (replaces the default).
void SetPresenterCloseHandler(std::function<void()> handler);

// The frame the window shows now, as 0x00RRGGBB pixels, rows top first (for tests and
// screenshots of the real window). False if the presenter does not run.
bool ReadPresenterFrame(std::vector<std::uint32_t>& pixels, int& width, int& height);
// Number of frames shown so far (a new frame is shown whenever the desktop changed).
std::uint64_t PresenterFrameCount();
// Waits until the presenter's thread has shown the desktop as it is now (its next pass, at most
// a frame's time away); false at once when no presenter runs. DwmFlush is this.
bool WaitForPresenterFrame();

// The translation of host input, as pure functions of SDL's codes (SDL_Keycode, SDL's mouse
// button numbers). 0 / nothing for keys and buttons the platform has no code for.
UINT VirtualKeyFromSdl(std::int32_t sdlKeycode);
std::optional<MouseButton> MouseButtonFromSdl(int sdlButton);
// The SDL_SystemCursor that shows a system cursor of the platform (its IDC_ number; 0, a
// cursor of the program's own, shows as the arrow).
int SdlSystemCursorFromId(int idc);
// Wheel steps of SDL (positive away from the user) as the platform's wheel delta.
int WheelDeltaFromSdl(int sdlSteps);

} // namespace host
