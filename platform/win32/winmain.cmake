# win32_winmain: the start-up code of plain programs (a WinMain and no class library). A program
# links it beside win32 and defines WinMain; the host's main calls it with the command line.
add_library(win32_winmain STATIC ${CMAKE_CURRENT_SOURCE_DIR}/entry/WinMainEntry.cpp)
target_link_libraries(win32_winmain PUBLIC win32 PRIVATE win32_host)
