# The online services speak the connection family's status codes (the engine's interface headers).
target_link_libraries(vl_online PUBLIC portix_status)
# The online manager drives the connection engine PORTIX.dll.
target_link_libraries(vl_online PUBLIC portix)
