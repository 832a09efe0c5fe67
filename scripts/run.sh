#!/usr/bin/env bash
# Builds the program and opens one tool:  scripts/run.sh [regclean|backup|sysclean]
# (default regclean). On an X display the window opens there, in the
# project-local Wine prefix build/run-prefix; without a display the tool is
# opened under Xvfb and a PNG of it is written to build/screenshots/<tool>.png.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
# TOOLHOST_BUILD picks another x86_64 build folder (its parent then holds the
# prefix and the screenshots).
build="${TOOLHOST_BUILD:-$root/build/x86_64}"

tool=${1:-regclean}
case "$tool" in
  regclean|backup|sysclean) ;;
  *) echo "usage: scripts/run.sh [regclean|backup|sysclean]" >&2; exit 2 ;;
esac

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" >/dev/null
# The program and the libraries beside it; the tests are scripts/test.sh's.
cmake --build "$build" -j2 --target toolhost

if [ -z "${DISPLAY:-}" ] || ! xwininfo -root >/dev/null 2>&1; then
  exec "$root/scripts/screenshot.sh" --no-build "$tool"
fi

TOOLHOST_PREFIX="$(dirname "$build")/run-prefix"
"$root/scripts/make-test-prefix.sh" "$TOOLHOST_PREFIX" "$build/bin" </dev/null
export TOOLHOST_PREFIX
source "$root/scripts/wine-env.sh"
cd "$WINEPREFIX/drive_c/toolhost"
"$WINE64" 'C:\toolhost\toolhost.exe' "$tool" </dev/null
