# The sample disc's photo bubbles (zlib's CRC-32 closes each file) and the simulation libraries
find_package(ZLIB REQUIRED)
# it copies from the build.
target_link_libraries(discbuilder PRIVATE ZLIB::ZLIB)
target_compile_definitions(discbuilder PRIVATE VL_SIMS_DIR="${VL_SIMS_DIR}")
add_dependencies(discbuilder vl_sims)
