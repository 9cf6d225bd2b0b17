# The word search benchmark builds its corpus with the disc builder and the FOLDOC reader, and
# compares with the tests' oracle.
target_link_libraries(bench_keyword_search PRIVATE discbuilder foldocsource)
target_include_directories(bench_keyword_search PRIVATE ${CMAKE_SOURCE_DIR}/tests/search/keyword)
