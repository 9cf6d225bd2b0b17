# Movie files are written through FFmpeg's libraries (MovieWriter.cpp).
find_package(PkgConfig REQUIRED)
pkg_check_modules(DISCBUILDER_FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libavutil)
target_link_libraries(discbuilder PRIVATE PkgConfig::DISCBUILDER_FFMPEG)
