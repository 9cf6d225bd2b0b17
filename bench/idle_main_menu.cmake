# The idle benchmark starts the built program through scripts/start.
target_compile_definitions(bench_idle_main_menu PRIVATE VL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
