# Article records are stored in the content archive as zlib streams.
find_package(ZLIB REQUIRED)
target_link_libraries(discbuilder PRIVATE ZLIB::ZLIB)

# The command-line builder of a sample disc folder.
add_executable(vldiscbuild ${CMAKE_CURRENT_SOURCE_DIR}/main/vldiscbuild.cpp)
target_link_libraries(vldiscbuild PRIVATE discbuilder)
