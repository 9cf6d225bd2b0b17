# GetProcAddress returns FARPROC, a pointer to a function without parameters that returns
# INT_PTR, and programs call what it found after an ordinary cast to the function's real type,
# `(PFN)GetProcAddress(module, "Name")`. g++ warns about every such cast (-Wcast-function-type,
# part of -Wextra), which -Werror turns into an error; the meaning of FARPROC stays as it is on
# the platform and every user of the C interface has this one warning switched off instead.
target_compile_options(win32 INTERFACE $<$<CXX_COMPILER_ID:GNU>:-Wno-cast-function-type>)
