# The interactive presenter and the audio device: SDL2 (Debian's libsdl2-dev). The library is
# linked, but no SDL subsystem starts until the presenter or the first device sound needs it,
# so headless programs never touch a display or an audio device.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VL_SDL2 REQUIRED IMPORTED_TARGET sdl2)
target_link_libraries(win32 PRIVATE PkgConfig::VL_SDL2)
