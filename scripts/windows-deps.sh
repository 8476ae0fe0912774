#!/usr/bin/env bash
# Installs what the Windows build needs (the MinGW-w64 cross compiler, Wine,
# zlib for MinGW, GoogleTest's sources) and builds, from Debian's sources,
# what Debian ships no MinGW package of. Run as root it installs the missing
# Debian packages; otherwise it names them and stops.
#
# Built and cached here (rebuilt only when its inputs change):
#   build/deps/mingw64   GoogleTest, from /usr/src/googletest (libgtest-dev),
#                        static, built with the cross compiler.
# libpng is not built: nothing in the audio build decodes pictures yet. The
# Windows editor will need it (and FreeType); they will be built here the same
# way, from `apt-get source` of the main suite's version, against
# libz-mingw-w64-dev.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-tools libz-mingw-w64-dev
  wine wine64
  libgtest-dev libgmock-dev
)

# Without recommends: Wine's fonts, sound and media plug-ins are not needed
# by programs that open no window.
source scripts/debian-packages.sh
ensure_debian_packages "${packages[@]}"

# The posix-thread variant of the compiler: std::thread and std::mutex need it.
for alt in x86_64-w64-mingw32-gcc x86_64-w64-mingw32-g++; do
  [[ -x /usr/bin/$alt-posix ]] || { echo "$alt-posix not found" >&2; exit 1; }
done

prefix=$PWD/build/deps/mingw64
toolchain=$PWD/cmake/toolchains/mingw-w64-x86_64.cmake
jobs=$(nproc)

# GoogleTest: the stamp records what the cached build was made from.
gtest_stamp="gtest $(dpkg-query -W -f='${Version}' libgtest-dev) \
$(x86_64-w64-mingw32-g++-posix -dumpfullversion) $(sha256sum "$toolchain" | cut -c1-16)"
if [[ "$(cat "$prefix/.gtest-stamp" 2>/dev/null)" != "$gtest_stamp" ]]; then
  echo "Building GoogleTest for Windows into $prefix" >&2
  work=build/deps/gtest-build
  rm -rf "$work" "$prefix/include/gtest" "$prefix/include/gmock" "$prefix/lib/cmake/GTest"
  cmake -S /usr/src/googletest -B "$work" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -Dgtest_disable_pthreads=OFF -DBUILD_GMOCK=ON >/dev/null
  cmake --build "$work" -j "$jobs" >/dev/null
  cmake --install "$work" >/dev/null
  rm -rf "$work"
  echo "$gtest_stamp" >"$prefix/.gtest-stamp"
fi
