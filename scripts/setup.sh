#!/usr/bin/env bash
# Installs the Debian packages a build needs (only those missing), then
# configures BUILD with the CMake options given and builds it.
#
#   scripts/setup.sh play|test BUILD [CMAKE_OPTION...]
#
# play: what building and running the game needs; builds the game and its data
#       files only (target tq_play).
# test: that and what the tests, benchmarks, fuzzers and install checks need;
#       builds everything.
set -euo pipefail
cd "$(dirname "$0")/.."

# xfonts-base: SDL's message boxes on X11 need the X core fonts.
play_packages=(cmake g++ make pkg-config libsdl2-dev libfreetype-dev libinih-dev libpng-dev zlib1g-dev
               fonts-dejavu-core wbritish-large xfonts-base)
# The Windows build: the MinGW-w64 cross compiler with posix threads, zlib for
# it, GoogleTest's sources to build with it, and Wine to run what it makes.
test_packages=(libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils imagemagick python3-xlib
               clang-14 libclang-rt-14-dev desktop-file-utils appstream dpkg-dev groff-base
               g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev googletest
               wine wine64)

if [ $# -lt 2 ] || { [ "$1" != play ] && [ "$1" != test ]; }; then
  echo "usage: scripts/setup.sh play|test BUILD [CMAKE_OPTION...]" >&2
  exit 2
fi
mode=$1
build=$2
shift 2

packages=("${play_packages[@]}")
[ "$mode" = test ] && packages+=("${test_packages[@]}")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo -n)
  # apt's and dpkg's chatter goes to a log that is shown only when the install fails.
  log=$(mktemp -t tq-apt.XXXXXX.log)
  echo "Installing Debian packages: ${missing[*]}"
  apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -y -o DPkg::Lock::Timeout=600
       -o Dpkg::Use-Pty=0 -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold)
  if ! { "${apt[@]}" update && "${apt[@]}" install --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "Installing ${missing[*]} failed; the output above is kept in $log" >&2
    exit 1
  fi
  rm -f "$log"
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
if [ "$mode" = play ]; then
  cmake --build "$build" -j"$(nproc)" --target tq_play
else
  cmake --build "$build" -j"$(nproc)"
fi
