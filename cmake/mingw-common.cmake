# Shared part of the two mingw-w64 toolchain files; KELVANE_TRIPLET names the target.
set(CMAKE_C_COMPILER ${KELVANE_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVANE_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVANE_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KELVANE_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The executables must run without any DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
