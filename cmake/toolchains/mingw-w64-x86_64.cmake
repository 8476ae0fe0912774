# Cross build for 64-bit Windows with MinGW-w64 (posix threads, for std::thread
# and std::mutex). The compiler's runtime (libgcc, libstdc++, winpthread) is
# linked statically, so the plug-in and the tests need no DLL beyond the
# system's. Dependencies built by scripts/windows-deps.sh live in
# build/deps/mingw64 and are found there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KEST_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(CMAKE_C_COMPILER ${KEST_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${KEST_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${KEST_MINGW_TRIPLE}-windres REQUIRED)

get_filename_component(_kest_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(KEST_MINGW_DEPS "${_kest_root}/build/deps/mingw64" CACHE PATH
    "Prefix of the dependencies cross-built by scripts/windows-deps.sh")
set(CMAKE_FIND_ROOT_PATH /usr/${KEST_MINGW_TRIPLE} ${KEST_MINGW_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib's static library, not the import library of zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# pkg-config must not hand out the Linux system's libraries.
set(ENV{PKG_CONFIG_LIBDIR} "${KEST_MINGW_DEPS}/lib/pkgconfig:/usr/${KEST_MINGW_TRIPLE}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
