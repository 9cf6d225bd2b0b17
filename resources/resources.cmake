# The resource scripts that become files of their own: the three screen-class resource
# libraries, written into the program folder. (Scripts embedded in a program or code library are
# compiled by that target's vl_add_resources call.)
foreach(_class 0 1 2)
  vl_add_resource_library(vl_res${_class} ${CMAKE_SOURCE_DIR}/resources/vl_res/vl_res${_class}.rc ART res${_class})
endforeach()
