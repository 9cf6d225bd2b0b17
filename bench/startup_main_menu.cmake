# The start-up benchmark starts the built program through scripts/start.
target_compile_definitions(bench_startup_main_menu PRIVATE VL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
