# The start-up benchmark starts a built program through the scripts/start of the tree that build
# was configured from (its CMakeCache.txt says which); this tree is the fallback.
target_compile_definitions(bench_startup_main_menu PRIVATE VL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
