# What both MinGW-w64 targets share: the compilers of the triple, the search
# roots, and fully static runtimes (no libstdc++/libgcc/libwinpthread DLLs).
set(CMAKE_C_COMPILER ${VLMR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VLMR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VLMR_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VLMR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# zlib from libz-mingw-w64-dev, linked statically like the rest.
set(ZLIB_USE_STATIC_LIBS ON)
