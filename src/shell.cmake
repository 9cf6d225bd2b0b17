# The program's resource ids (resource.h of the program's resource script): the shell reads them,
# and so do the data folders and the resource library of the base.
target_include_directories(vl_base PUBLIC ${CMAKE_SOURCE_DIR}/resources/vl00i1se)
