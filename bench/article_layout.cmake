# The page-layout benchmark builds its articles with the disc builder (and FOLDOC's largest from
# the reference corpus).
target_link_libraries(bench_article_layout PRIVATE discbuilder al21 foldocsource)
target_compile_definitions(bench_article_layout PRIVATE VL_SAMPLE_DIR="${CMAKE_SOURCE_DIR}/sample")
