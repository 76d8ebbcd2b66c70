#!/usr/bin/env bash
# Photographs the settings dialog as it renders under Wine, for the README:
# writes docs/settings-dialog.png. Uses its own virtual display and prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
bash scripts/install-deps.sh

if can_run_wine32; then arch=win32; toolchain=i686; else arch=win64; toolchain=x86_64; fi
dir=build/$arch
[ -f "$dir/build.ninja" ] || cmake -G Ninja -S . -B "$dir" \
  -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$toolchain-mingw.cmake" >/dev/null
ninja -C "$dir" Vorlamy >/dev/null

trap stop_everything EXIT
start_private_display
wine_prefix_ready "$arch"
scratch=$(mktemp -d)
(cd "$scratch" && exec "$(wine_loader "$arch")" "$OLDPWD/$dir/Vorlamy.exe") &
program=$!

window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --name '^Vorlamy$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "the dialog did not appear" >&2; exit 1; }
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/settings-dialog.png
xdotool key --window "$window" Escape
wait "$program" || true
rm -rf "$scratch"
echo "wrote docs/settings-dialog.png (${WIDTH}x${HEIGHT})"
