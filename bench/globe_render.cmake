# The globe benchmark renders the program's own map (bitmap 240).
vl_add_resources(bench_globe_render ${CMAKE_SOURCE_DIR}/resources/vl00i1se/vl00i1se.rc
                 INCLUDE ${CMAKE_SOURCE_DIR}/resources/vl00i1se)
