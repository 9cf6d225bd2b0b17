# vl_include_fragments(): includes every *.cmake file beside the calling CMakeLists.txt.
# Each area of a library keeps its extra settings (link libraries, generated sources) in a
# fragment of its own, so areas never edit one shared list.
macro(vl_include_fragments)
  file(GLOB _vl_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  foreach(_vl_fragment ${_vl_fragments})
    include(${_vl_fragment})
  endforeach()
endmacro()

# vl_add_gtest(NAME name SOURCES ... LIBS ... [LOCK resource]): one test program, its cases
# registered with CTest. Every test program keeps to a shared namespace of its own
# (tests/support/TestNamespace.cpp). Cases of programs that name the same LOCK never run at the
# same time (for what the host shares between processes, such as the list of running processes).
function(vl_add_gtest)
  cmake_parse_arguments(T "" "NAME;LOCK" "SOURCES;LIBS" ${ARGN})
  set(_vl_lock)
  if(T_LOCK)
    set(_vl_lock RESOURCE_LOCK ${T_LOCK})
  endif()
  add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/TestNamespace.cpp)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  gtest_discover_tests(${T_NAME}
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300 ${_vl_lock}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
