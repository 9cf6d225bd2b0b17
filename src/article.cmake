# The article reader inflates archive records through the archive library.
target_link_libraries(vl_article PUBLIC al21)
