# The media folder calls the movie library through its client interface; the library itself
# ("QuickTime.qts") is loaded at run time from the program's folder.
target_link_libraries(vl_media PUBLIC qtmlclient)
add_dependencies(vl_media qtml)
