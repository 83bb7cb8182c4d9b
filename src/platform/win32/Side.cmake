# What the Windows side asks of the whole build: the few POSIX names the
# portable code opens files with, in every file.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${CMAKE_CURRENT_LIST_DIR}/PosixCompat.h>")
