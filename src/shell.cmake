# The shell reads the program's resource ids (resource.h of the program's resource script).
target_include_directories(vlprogram PUBLIC ${CMAKE_SOURCE_DIR}/resources/vl00i1se)
