#!/usr/bin/env bash
# Takes the pictures of the help: each tool's window, cut to the window and
# reduced to 256 colours, into help/shared/images/<tool>.png; and the help
# viewer that F1 opens from the registry cleaner's window, into
# docs/screenshots/help-f1.png. With --english the windows are taken in
# English into help/en/images/<tool>.png (the English help uses those).
#   help/screenshots.sh [--no-build] [--english]
# The program runs from build/x86_64/bin in the prefix build/run-prefix
# (build/run-prefix-en, made under an English locale, with --english), in
# Wine's virtual desktop under xvfb-run.
set -euo pipefail
root=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
build="$root/build/x86_64"
do_build=1
english=0
for arg in "$@"; do
  case "$arg" in
    --no-build) do_build=0 ;;
    --english) english=1 ;;
    *) echo "screenshots: unknown argument '$arg'" >&2; exit 2 ;;
  esac
done
if [ $do_build -eq 1 ]; then
  "$root/scripts/setup.sh"
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" >/dev/null
  cmake --build "$build" -j2 --target toolhost help_chm
fi

# The pictures are taken on an X server of their own.
if [ -z "${TOOLHOST_HELP_SHOTS:-}" ]; then
  export TOOLHOST_HELP_SHOTS=1
  exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@" --no-build
fi

TOOLHOST_PREFIX="$build/../run-prefix"
images="$root/help/shared/images"
# Each tool and the caption of its window.
windows=("regclean:注册表清理和修复" "backup:注册表备份" "sysclean:移除废弃文件")
help_title="Vantor 2 系统维护工具帮助"
if [ $english -eq 1 ]; then
  # A prefix keeps the locale it was made under: English has its own.
  export TOOLHOST_LANG=en_US.UTF-8
  TOOLHOST_PREFIX="$TOOLHOST_PREFIX-en"
  images="$root/help/en/images"
  windows=("regclean:Registry Cleanup and Repair" "backup:Registry Backup" "sysclean:Remove Junk Files")
  help_title=""
fi
"$root/scripts/make-test-prefix.sh" "$TOOLHOST_PREFIX" "$build/bin" </dev/null
export TOOLHOST_PREFIX
source "$root/scripts/wine-env.sh"
mkdir -p "$images" "$root/docs/screenshots"
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT

# Runs the command (every 0.2 s, for up to $1 seconds) until it succeeds.
wait_until() {
  local tries=$(($1 * 5)); shift
  until "$@"; do
    tries=$((tries - 1))
    [ $tries -gt 0 ] || return 1
    sleep 0.2
  done
}
window_id() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }
window_is_up() { [ -n "$(window_id "$1")" ]; }
# A picture is ready once the screen has not changed for two seconds (the
# help viewer fills its contents a moment after its window appears).
settled() {
  import -window root -depth 8 rgb:"$TMPDIR/shot.now" 2>/dev/null || return 1
  if [ -f "$TMPDIR/shot.last" ] && cmp -s "$TMPDIR/shot.now" "$TMPDIR/shot.last"; then
    stable=$((stable + 1))
    [ $stable -ge 10 ] && return 0
  else
    stable=0
  fi
  mv "$TMPDIR/shot.now" "$TMPDIR/shot.last"
  return 1
}
capture() { # window-id-or-root output
  rm -f "$TMPDIR/shot.last" "$TMPDIR/shot.now"
  stable=0
  wait_until 20 settled || true
  import -window root "$TMPDIR/shot.png"
  # Wine draws a window's contents into the desktop: cut the window out of the screen.
  local crop=()
  if [ "$1" != root ]; then
    local info x y w h
    info=$(xwininfo -id "$1")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/Width:/ {print $2}' <<<"$info")
    h=$(awk '/Height:/ {print $2}' <<<"$info")
    crop=(-crop "${w}x${h}+${x}+${y}" +repage)
  fi
  convert "$TMPDIR/shot.png" "${crop[@]}" -strip -colors 256 PNG8:"$2"
  echo "$2"
}
start_tool() {
  ( cd "$WINEPREFIX/drive_c/toolhost" &&
    exec "$WINE64" explorer /desktop=toolhost,1024x768 'C:\toolhost\toolhost.exe' "$1" ) \
    >"$TMPDIR/screenshots-$1.log" 2>&1 </dev/null &
  desktop_pid=$!
}
stop_tool() {
  "$WINESERVER" -k 2>/dev/null || true
  wait "$desktop_pid" 2>/dev/null || true
}

status=0
for entry in "${windows[@]}"; do
  tool=${entry%%:*} title=${entry#*:}
  start_tool "$tool"
  if wait_until 60 window_is_up "$title"; then
    capture "$(window_id "$title")" "$images/$tool.png"
    # The viewer's picture is the Chinese one only.
    if [ "$tool" = regclean ] && [ -n "$help_title" ]; then
      xdotool key F1
      if wait_until 30 window_is_up "$help_title"; then
        capture root "$root/docs/screenshots/help-f1.png"
      else
        echo "screenshots: F1 opened no help window" >&2; status=1
      fi
    fi
  else
    echo "screenshots: the $tool window did not appear" >&2; status=1
  fi
  stop_tool
done
exit $status
