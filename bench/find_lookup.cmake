# The FIND benchmark builds the reference disc's FIND rows with the FOLDOC reader and writes them
# with the disc builder.
target_link_libraries(bench_find_lookup PRIVATE discbuilder foldocsource)
