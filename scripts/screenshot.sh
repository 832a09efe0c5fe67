#!/usr/bin/env bash
# Opens tool windows under Xvfb, in Wine's virtual desktop (which draws the
# captions), and writes one PNG per tool:
#   scripts/screenshot.sh [--no-build] [--english] [regclean|backup|sysclean ...]
# Without tools it takes all three. PNGs land in build/screenshots/<tool>.png
# (<tool>-en.png with --english); their paths are printed. The program runs
# from build/x86_64/bin in the project-local prefix build/run-prefix, or, with
# --english, under an English locale in build/run-prefix-en.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
# TOOLHOST_BUILD picks another x86_64 build folder (its parent then holds the
# prefix and the screenshots).
build="${TOOLHOST_BUILD:-$root/build/x86_64}"

do_build=1
english=0
while [ $# -gt 0 ]; do
  case "$1" in
    --no-build) do_build=0; shift ;;
    --english) english=1; shift ;;
    *) break ;;
  esac
done
tools=("$@")
[ ${#tools[@]} -gt 0 ] || tools=(regclean backup sysclean)

# The caption each tool's main window carries (its instance name).
title_of() {
  if [ $english -eq 1 ]; then
    case "$1" in
      regclean) echo "Registry Cleanup and Repair"; return ;;
      backup) echo "Registry Backup"; return ;;
      sysclean) echo "Remove Junk Files"; return ;;
    esac
  fi
  case "$1" in
    regclean) echo "注册表清理和修复" ;;
    backup) echo "注册表备份" ;;
    sysclean) echo "移除废弃文件" ;;
    *) echo "screenshot: unknown tool '$1' (regclean, backup, sysclean)" >&2; return 1 ;;
  esac
}
for t in "${tools[@]}"; do title_of "$t" >/dev/null; done

if [ $do_build -eq 1 ]; then
  "$root/scripts/setup.sh"
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" >/dev/null
  cmake --build "$build" -j2 --target toolhost
fi
[ -f "$build/bin/toolhost.exe" ] || { echo "screenshot: $build/bin/toolhost.exe is missing" >&2; exit 1; }

TOOLHOST_PREFIX="$(dirname "$build")/run-prefix"
suffix=""
if [ $english -eq 1 ]; then
  export TOOLHOST_LANG=en_US.UTF-8
  TOOLHOST_PREFIX="$TOOLHOST_PREFIX-en"
  suffix="-en"
fi
"$root/scripts/make-test-prefix.sh" "$TOOLHOST_PREFIX" "$build/bin" </dev/null
export TOOLHOST_PREFIX
source "$root/scripts/wine-env.sh"
shots="$(dirname "$build")/screenshots"
mkdir -p "$shots"

# An X server of our own on the first free display.
xvfb_pid=""
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for n in $(seq 150 199); do
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  break
done
[ -n "$xvfb_pid" ] || { echo "screenshot: no free X display" >&2; exit 1; }

# Polls (every 0.2 s, up to $2 seconds) until the command succeeds.
wait_until() {
  local seconds=$1; shift
  local i
  for i in $(seq $((seconds * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

window_is_up() {
  xwininfo -root -tree 2>/dev/null | grep -qF "\"$1\""
}

# The picture is ready once two captures in a row are the same and differ
# from the first one, taken when the window was announced (on a busy machine
# that is often the empty desktop, which is just as steady).
settled() {
  import -window root -depth 8 rgb:"$TMPDIR/shot.now" 2>/dev/null || return 1
  if [ ! -f "$TMPDIR/shot.first" ]; then cp "$TMPDIR/shot.now" "$TMPDIR/shot.first"; fi
  if [ -f "$TMPDIR/shot.last" ] && cmp -s "$TMPDIR/shot.now" "$TMPDIR/shot.last" &&
     ! cmp -s "$TMPDIR/shot.now" "$TMPDIR/shot.first"; then return 0; fi
  mv "$TMPDIR/shot.now" "$TMPDIR/shot.last"
  return 1
}

status=0
for tool in "${tools[@]}"; do
  title=$(title_of "$tool")
  log="$TMPDIR/screenshot-$tool.log"
  ( cd "$WINEPREFIX/drive_c/toolhost" &&
    exec "$WINE64" explorer /desktop=toolhost,1024x768 'C:\toolhost\toolhost.exe' "$tool" ) >"$log" 2>&1 </dev/null &
  desktop_pid=$!
  if ! wait_until 60 window_is_up "$title"; then
    echo "screenshot: the $tool window did not appear (see $log)" >&2
    status=1
  else
    rm -f "$TMPDIR/shot.last" "$TMPDIR/shot.now" "$TMPDIR/shot.first"
    wait_until 30 settled || true
    import -window root "$shots/$tool$suffix.png"
    echo "$shots/$tool$suffix.png"
  fi
  # Ends the desktop and the program with it; the next tool starts afresh.
  "$WINESERVER" -k 2>/dev/null || true
  wait "$desktop_pid" 2>/dev/null || true
done
rm -f "$TMPDIR/shot.last" "$TMPDIR/shot.now" "$TMPDIR/shot.first"
exit $status
