# The article-view benchmark builds its disc with the disc builder.
target_link_libraries(bench_article_view PRIVATE discbuilder al21)
target_compile_definitions(bench_article_view PRIVATE VL_SAMPLE_DIR="${CMAKE_SOURCE_DIR}/sample")
vl_add_resources(bench_article_view ${CMAKE_SOURCE_DIR}/resources/vl00i1se/vl00i1se.rc)
