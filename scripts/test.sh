#!/usr/bin/env bash
# Builds both Windows targets and runs every test under Wine, in one fresh
# throwaway prefix for the whole run, under an Xvfb of its own.
#   scripts/test.sh [ctest arguments...]     e.g. scripts/test.sh -R regclean
# TOOLHOST_SKIP_I686=1 skips the 32-bit build (it is compiled and its imports
# checked against Windows XP SP3, never run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh

cmake -S . -B build/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/x86_64 -j2
if [ "${TOOLHOST_SKIP_I686:-0}" != 1 ]; then
  cmake -S . -B build/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release \
        -DTOOLHOST_TESTS=OFF >/dev/null
  cmake --build build/i686 -j2
fi

export TOOLHOST_PREFIX="$root/build/x86_64/test-prefix"
source scripts/wine-env.sh
"$WINESERVER" -k 2>/dev/null || true
rm -rf "$TOOLHOST_PREFIX" "$TOOLHOST_PREFIX.home" "$TOOLHOST_PREFIX.tmp"
scripts/make-test-prefix.sh "$TOOLHOST_PREFIX" "$root/build/x86_64/bin" </dev/null
source scripts/wine-env.sh

display=""
for n in $(seq 60 99); do
  [ -e "/tmp/.X$n-lock" ] || { display=$n; break; }
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  # The small drives of the prefixes (make-test-prefix.sh).
  for small in "$root"/build/x86_64/*.small; do
    umount "$small/locked" 2>/dev/null || true
    umount "$small" 2>/dev/null || true
  done
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
# One wineserver for the whole run, instead of one per test program.
"$WINESERVER" -p </dev/null >/dev/null 2>&1

ctest --test-dir build/x86_64 --output-on-failure "$@"
