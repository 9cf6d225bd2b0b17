# The keyword index is written with the word search's own term rules (a header of the product's
# search folder that uses nothing but the language).
target_include_directories(discbuilder PRIVATE ${CMAKE_SOURCE_DIR}/src)
