# The program's own resources, compiled from resources/vl00i1se and embedded in the program.
if(TARGET vl00i1se)
  vl_add_resources(vl00i1se ${CMAKE_SOURCE_DIR}/resources/vl00i1se/vl00i1se.rc ART program)
endif()
