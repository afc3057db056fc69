# Cross-building for 64-bit Windows on Debian with MinGW-w64
# (g++-mingw-w64-x86-64-posix): the posix-threads compilers, whose C++
# runtime has std::thread and std::mutex.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAMARIN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAMARIN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAMARIN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAMARIN_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${TAMARIN_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${TAMARIN_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "Ranlib")

# Libraries, headers and CMake packages come from the MinGW tree and from the
# roots the build adds (-DCMAKE_FIND_ROOT_PATH=<cross-built Qt's prefix>),
# never from the build machine's /usr: its glibc headers and Linux libraries
# must not enter a Windows build. Programs (moc, windres) are the build
# machine's.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${TAMARIN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
