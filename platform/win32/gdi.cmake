# Graphics: PNG output, FreeType glyphs found through fontconfig, zlib for the printed PDF files.
find_package(PNG REQUIRED)
find_package(Freetype REQUIRED)
find_package(ZLIB REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(VL_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
target_link_libraries(win32 PRIVATE PNG::PNG Freetype::Freetype PkgConfig::VL_FONTCONFIG)
# Public: tests read the deflated streams of the printed PDF files.
target_link_libraries(win32 PUBLIC ZLIB::ZLIB)
