#!/usr/bin/env bash
# Installs what the Windows build needs (the MinGW-w64 cross compiler, Wine,
# zlib for MinGW, GoogleTest's sources) and builds, from Debian's sources,
# what Debian ships no MinGW package of. Run as root it installs the missing
# Debian packages (and adds a deb-src entry when none exists); otherwise it
# names what is missing and stops.
#
# Built and cached in build/deps/mingw64 (rebuilt only when the stamp of the
# source version, compiler and toolchain file changes):
#   GoogleTest  from /usr/src/googletest (libgtest-dev), static.
#   libpng      from `apt-get source libpng1.6` of the main suite, static,
#               against libz-mingw-w64-dev.
#   FreeType    from `apt-get source freetype`, static, minimal: no harfbuzz,
#               bzip2, brotli or png (the editor renders outline fonts); it
#               uses libpng's zlib rather than its own copy, whose symbols
#               would clash with zlib's in the same program.
# Why FreeType and libpng rather than GDI text and WIC: the Windows editor
# then draws text and pictures with the same engine and decoder as the Linux
# one, so both draw the same pixels and a screenshot of one can be compared
# with a screenshot of the other.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-tools libz-mingw-w64-dev
  wine wine64
  libgtest-dev libgmock-dev
  dpkg-dev
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

# The source packages: apt needs a deb-src entry for the archive the system
# installs from. As root one is added for the same archive and main suite;
# otherwise the missing entry is named.
source_available() { apt-cache showsrc "$1" 2>/dev/null | grep -q '^Package:'; }
add_deb_src() {
  local list=/etc/apt/sources.list.d/kestrelphon-deb-src.sources entry
  # The first Debian archive entry (a deb822 stanza or a one-line entry) as
  # "URI SUITE [SIGNED-BY]": the source entry must name the same key.
  entry=$(
    { awk '/^URIs:/{u=$2} /^Suites:/{s=$2} /^Signed-By:/{k=$2}
           /^$/{if(u&&s){print u, s, k; exit} u=s=k=""} END{if(u&&s) print u, s, k}' \
        /etc/apt/sources.list.d/*.sources 2>/dev/null
      sed -nE 's/^deb (\[[^]]*signed-by=([^] ]+)[^]]*\] )?([^ []+) ([^ ]+).*/\3 \4 \2/p' \
        /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
    } | grep -m1 'debian' || true)
  if [[ -z "$entry" ]]; then
    echo "No Debian archive found in apt's sources to add a deb-src entry for" >&2
    return 1
  fi
  local uri suite key
  read -r uri suite key <<<"$entry"
  echo "Adding a deb-src entry for $uri $suite (main) in $list" >&2
  {
    echo "Types: deb-src"
    echo "URIs: $uri"
    echo "Suites: $suite"
    echo "Components: main"
    [[ -n "$key" ]] && echo "Signed-By: $key"
  } >"$list"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
}
if ! source_available libpng1.6 || ! source_available freetype; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing: a deb-src entry in apt's sources (for libpng1.6 and freetype)" >&2
    echo "Add one for your Debian archive, run apt-get update, then run this again" >&2
    exit 1
  fi
  add_deb_src
fi

# Builds the source package $1 with CMake into $prefix unless the stamp
# $prefix/.$1-stamp already records the same inputs. Further arguments go to
# CMake's configure step.
build_source_package() {
  local pkg=$1 version stamp work src
  shift
  version=$(apt-cache showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -V | tail -1)
  stamp="$pkg $version $(x86_64-w64-mingw32-gcc-posix -dumpfullversion) \
$(sha256sum "$toolchain" | cut -c1-16) $*"
  [[ "$(cat "$prefix/.$pkg-stamp" 2>/dev/null)" == "$stamp" ]] && return 0
  echo "Building $pkg $version for Windows into $prefix" >&2
  work=$PWD/build/deps/$pkg-src
  rm -rf "$work"
  mkdir -p "$work"
  # As root apt would hand the download to its _apt user, who may not reach
  # this folder; the download is verified against the archive's key either way.
  local sandbox=()
  [[ $(id -u) -eq 0 ]] && sandbox=(-o APT::Sandbox::User=root)
  (cd "$work" && apt-get source -qq "${sandbox[@]}" "$pkg=$version" >/dev/null)
  src=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
  cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$work/build" -j "$jobs" >/dev/null
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
  echo "$stamp" >"$prefix/.$pkg-stamp"
}

build_source_package libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON
build_source_package freetype -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BZIP2=ON \
  -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON
