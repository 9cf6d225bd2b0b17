# The dictionary benchmark converts GCIDE with the dictionary tool and writes it with the disc
# builder.
target_link_libraries(bench_dictionary_lookup PRIVATE discbuilder gcidesource)
