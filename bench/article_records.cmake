# The article-record benchmark builds the sample disc with the disc builder.
target_link_libraries(bench_article_records PRIVATE discbuilder al21)
target_compile_definitions(bench_article_records PRIVATE VL_SAMPLE_DIR="${CMAKE_SOURCE_DIR}/sample")
# Where libzim is installed (scripts/install-deps bench), the benchmark also measures a ZIM archive.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(VL_LIBZIM QUIET IMPORTED_TARGET libzim)
  if(VL_LIBZIM_FOUND)
    target_link_libraries(bench_article_records PRIVATE PkgConfig::VL_LIBZIM)
    target_compile_definitions(bench_article_records PRIVATE VL_HAVE_LIBZIM=1)
  endif()
endif()
find_package(ZLIB REQUIRED)
target_link_libraries(bench_article_records PRIVATE ZLIB::ZLIB)
