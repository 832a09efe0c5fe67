#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test toolhost.
# Idempotent. Root and passwordless sudo (CI) run it unattended; a user whose
# sudo wants a password is asked for it once.
set -euo pipefail

# Build, run and test.
packages=(
  cmake make git python3
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine
  xvfb x11-utils xdotool imagemagick
  fonts-wqy-microhei
  locales
  googletest
  nlohmann-json3-dev
  wixl msitools
  fp-utils
  libchm-bin
)
# Locales the two languages of the program are tested under.
locales_wanted=(zh_CN.UTF-8 en_US.UTF-8)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
missing_locales=()
for l in "${locales_wanted[@]}"; do
  want=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf-\\?8/')
  locale -a 2>/dev/null | tr 'A-Z' 'a-z' | grep -q "^$want\$" || missing_locales+=("$l")
done

[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif sudo -n true 2>/dev/null; then
  SUDO=(sudo -n)
else
  echo "setup: installing with sudo: ${missing[*]} ${missing_locales[*]}"
  sudo -v   # asks for the password once; the calls below reuse it
  SUDO=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  # fp-utils recommends the whole Free Pascal source tree; the help compiler needs none of it.
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from LANG: 936 for Chinese, 1252 for English.
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "setup: generating ${missing_locales[*]}"
  for l in "${missing_locales[@]}"; do
    if [ -f /etc/locale.gen ] && grep -q "$l UTF-8" /etc/locale.gen; then
      "${SUDO[@]}" sed -i "s/^# *$l UTF-8/$l UTF-8/" /etc/locale.gen
    else
      echo "$l UTF-8" | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
    fi
  done
  "${SUDO[@]}" locale-gen >/dev/null
fi
