# A CString handed to a C variadic function (sprintf, TRACE, wsprintf ...) reaches it as a
# pointer to a temporary copy on this compiler, not as its characters; code that uses the class
# library must cast such arguments to LPCSTR. CString::Format takes CString arguments as text.
target_compile_options(mfc PUBLIC -Wconditionally-supported)
