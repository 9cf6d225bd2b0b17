# The word search benchmark builds its corpus with the disc builder and the FOLDOC reader, and
# compares with the tests' oracle.
target_link_libraries(bench_keyword_search PRIVATE discbuilder foldocsource)
target_include_directories(bench_keyword_search PRIVATE ${CMAKE_SOURCE_DIR}/tests/search/keyword)
# The search pane's path runs on the sample disc with the program's resources and the screen-class
# library beside the program.
target_compile_definitions(bench_keyword_search PRIVATE VL_SAMPLE_DIR="${CMAKE_SOURCE_DIR}/sample"
                                                        VL_LIBRARY_DIR="${CMAKE_LIBRARY_OUTPUT_DIRECTORY}")
vl_add_resources(bench_keyword_search ${CMAKE_SOURCE_DIR}/resources/vl00i1se/vl00i1se.rc)
add_dependencies(bench_keyword_search vl_res0)
