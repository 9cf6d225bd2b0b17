# The article reader inflates archive records through the archive library.
target_link_libraries(vlprogram PUBLIC al21)
