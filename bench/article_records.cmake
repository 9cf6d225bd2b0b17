# The article-record benchmark builds the sample disc with the disc builder.
target_link_libraries(bench_article_records PRIVATE discbuilder al21)
target_compile_definitions(bench_article_records PRIVATE VL_SAMPLE_DIR="${CMAKE_SOURCE_DIR}/sample")
