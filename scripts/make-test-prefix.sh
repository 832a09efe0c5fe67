#!/usr/bin/env bash
# Makes a throwaway Wine prefix for the tests: usage make-test-prefix.sh PREFIX BINDIR
# Drives: C: fixed (no label), D: fixed labelled "DATA", F: CD, N: network,
# A: floppy, U: a small removable drive (see below); no Z: (it would be the
# Linux root). BINDIR appears as C:\toolhost.
set -euo pipefail
TOOLHOST_PREFIX=$(realpath -m "$1")
BINDIR=$(realpath -m "$2")
here=$(dirname "$(readlink -f "$0")")
source "$here/wine-env.sh"

if [ ! -f "$WINEPREFIX/.toolhost-ready" ]; then
  rm -rf "$WINEPREFIX" "$HOME"
  mkdir -p "$HOME" "$TMPDIR"
  "$WINE64" wineboot --init >/dev/null 2>&1 </dev/null
  "$WINESERVER" -w
  cd "$WINEPREFIX/drive_c"

  # A crash ends the process instead of waiting in a dialog.
  "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null </dev/null
  # The drives the tests rely on.
  drives="$WINEPREFIX/drives"
  mkdir -p "$drives/d" "$drives/f" "$drives/n" "$drives/a"
  echo "DATA" > "$drives/d/.windows-label"
  rm -f "$WINEPREFIX/dosdevices/z:"
  for l in d f n a; do ln -sfn "$drives/$l" "$WINEPREFIX/dosdevices/$l:"; done
  "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v 'c:' /t REG_SZ /d hd /f >/dev/null </dev/null
  "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v 'd:' /t REG_SZ /d hd /f >/dev/null </dev/null
  "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v 'f:' /t REG_SZ /d cdrom /f >/dev/null </dev/null
  "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v 'n:' /t REG_SZ /d network /f >/dev/null </dev/null
  "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v 'a:' /t REG_SZ /d floppy /f >/dev/null </dev/null
  ln -sfn "$WINEPREFIX.small" "$WINEPREFIX/dosdevices/u:"
  "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v 'u:' /t REG_SZ /d floppy /f >/dev/null </dev/null
  "$WINESERVER" -w

  # User folders as real folders inside the prefix, not links into a home.
  for dir in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$dir" ]; then rm -f "$dir"; mkdir -p "$dir"; fi
  done
  # This Wine does not load its own fonts: without them captions draw as "0 1 r".
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Wine links Tahoma and the Chinese faces to SimSun, which is not installed:
  # without a replacement every Chinese text draws as boxes.
  for face in SimSun NSimSun "宋体"; do
    "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null </dev/null
  done
  "$WINESERVER" -w
  # Windows live in one virtual desktop: without a window manager Wine would
  # wait about two seconds each time a window closes, and draw no captions.
  "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null </dev/null
  "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null </dev/null
  "$WINESERVER" -w
  touch "$WINEPREFIX/.toolhost-ready"
fi

ln -sfn "$BINDIR" "$WINEPREFIX/drive_c/toolhost"

# U: is a small removable drive that a test can fill up: a 2 MiB tmpfs, and
# U:\locked a read-only one, where mounting is permitted (as root). Mounted
# once per run (this script runs before every test program); scripts/test.sh
# unmounts them at its end. Elsewhere U: is a plain folder and the tests that
# need a full or locked drive say so.
small="$WINEPREFIX.small"
mkdir -p "$small"
if ! mountpoint -q "$small" 2>/dev/null; then
  if mount -t tmpfs -o size=2m,mode=0777 toolhost-small "$small" 2>/dev/null; then
    mkdir -p "$small/locked"
    mount -t tmpfs -o ro,size=64k,mode=0555 toolhost-locked "$small/locked" 2>/dev/null || true
  else
    mkdir -p "$small/locked"
    chmod 0555 "$small/locked"  # refuses writes to anyone but root
  fi
fi
