# Where pixman is installed (scripts/install-deps bench), the blit benchmark measures it too.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(VL_PIXMAN QUIET IMPORTED_TARGET pixman-1)
  if(VL_PIXMAN_FOUND)
    target_link_libraries(bench_blit_ratios PRIVATE PkgConfig::VL_PIXMAN)
    target_compile_definitions(bench_blit_ratios PRIVATE VL_HAVE_PIXMAN=1)
  endif()
endif()
