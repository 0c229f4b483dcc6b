# Shared by both mingw-w64 toolchain files; SCOURLY_HOST names the target triplet.
set(CMAKE_C_COMPILER ${SCOURLY_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SCOURLY_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${SCOURLY_HOST}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SCOURLY_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Wine refuses an executable that needs libwinpthread-1.dll or the gcc runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
