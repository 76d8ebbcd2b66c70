#!/usr/bin/env bash
# Installs what building, running and testing Vorlamy needs on Debian.
# Idempotent: when every tool is already there it returns at once without apt.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686 mingw-w64-tools)
have i686-w64-mingw32-windres   || need+=(binutils-mingw-w64-i686)
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64)
have wine                       || need+=(wine wine32:i386)
# 32-bit Wine for the product itself, 64-bit Wine for the x86_64 build of the tests.
[ -x /usr/lib/wine/wine ]       || need+=(wine32:i386)
[ -x /usr/lib/wine/wine64 ]     || need+=(wine64)
# Wine's own fonts: Marlett draws the caption buttons.
[ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
have Xvfb                       || need+=(xvfb)
have xdotool                    || need+=(xdotool)
have cmake                      || need+=(cmake)
have ninja                      || need+=(ninja-build)
have g++                        || need+=(g++)
have clang-format               || need+=(clang-format)
have git                        || need+=(git)
# The release's zip made the same whoever builds it.
have strip-nondeterminism       || need+=(strip-nondeterminism)
[ -d /usr/src/googletest ]      || need+=(googletest)
fc-list 2>/dev/null | grep -qi ipapgothic || need+=(fonts-ipafont-gothic)
# A Japanese system locale for Wine (code page 932): the locale's definitions.
have locale-gen                 || need+=(locales)
# The real ImageMagick, for screenshots of the dialog (some images ship a stand-in 'convert').
have import                     || need+=(imagemagick)

# Generates the Japanese locale, once the package that does it is there.
japanese_locale() {
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

if [ ${#need[@]} -eq 0 ]; then
  japanese_locale
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "Installing: ${need[*]}" >&2
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
japanese_locale
