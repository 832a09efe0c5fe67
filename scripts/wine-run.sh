#!/usr/bin/env bash
# Runs a Windows program of the build inside the shared test prefix:
#   wine-run.sh BUILD/bin/program.exe [args...]
# CTest calls it for every test. The prefix is TOOLHOST_PREFIX, or
# BUILD/test-prefix, made on first use. Without a DISPLAY an Xvfb of its own
# is started for this one run.
set -uo pipefail
exe=$(realpath "$1"); shift
bindir=$(dirname "$exe")
here=$(dirname "$(readlink -f "$0")")
: "${TOOLHOST_PREFIX:=$(dirname "$bindir")/test-prefix}"
export TOOLHOST_PREFIX
(
  flock 9
  "$here/make-test-prefix.sh" "$TOOLHOST_PREFIX" "$bindir" 9>&- </dev/null
) 9>"$TOOLHOST_PREFIX.lock"
source "$here/wine-env.sh"

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    break
  done
fi

cd "$WINEPREFIX/drive_c/toolhost"
# Output goes through a file: Wine's services keep inherited pipes open.
out=$(mktemp "$TMPDIR/run.XXXXXX")
"$WINE64" "C:\\toolhost\\$(basename "$exe")" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"; rm -f "$out"
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $rc
