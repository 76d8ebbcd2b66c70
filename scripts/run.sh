#!/usr/bin/env bash
# Installs what is missing, builds Vorlamy and runs it under Wine in the caller's current
# directory, so that TandL.ini lands there. Needs a display (DISPLAY must be set).
set -euo pipefail
here=$PWD
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

if [ -z "${DISPLAY:-}" ]; then
  echo "Vorlamy is a window program and needs a display: DISPLAY is not set." >&2
  echo "Run it from a desktop session, or start one, e.g.: Xvfb :1 & DISPLAY=:1 $0" >&2
  exit 1
fi

bash scripts/install-deps.sh
if can_run_wine32; then arch=win32; else arch=win64; fi
[ "$arch" = win64 ] && echo "note: this machine cannot execute 32-bit code; running the x86_64 build." >&2
dir=build/$arch
[ -f "$dir/build.ninja" ] || cmake --preset "$arch" >/dev/null
ninja -C "$dir" Vorlamy >/dev/null
wine_prefix_ready "$arch"
exe="$PWD/$dir/Vorlamy.exe"
cd "$here"
exec "$(wine_loader "$arch")" "$exe" "$@"
