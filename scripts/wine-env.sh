# Sourced by the scripts that run Windows programs: one place for the Wine
# environment. Callers set TOOLHOST_PREFIX first (the prefix folder).
export WINEPREFIX="$TOOLHOST_PREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 936: the program's Chinese texts need it. TOOLHOST_LANG picks
# another locale (en_US.UTF-8 for the English tests); a prefix keeps the
# locale it was made under, so each locale has a prefix of its own.
export LANG="${TOOLHOST_LANG:-zh_CN.UTF-8}"
export LC_ALL="$LANG"
# A home of the prefix's own, so the user folders and the trash never touch the real one.
export HOME="$TOOLHOST_PREFIX.home"
export XDG_DATA_HOME="$HOME/.local/share"
# The wineserver's socket lives under TMPDIR: keep it fixed for one prefix.
export TMPDIR="$TOOLHOST_PREFIX.tmp"
mkdir -p "$HOME" "$TMPDIR"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
