#!/usr/bin/env bash
# Photographs the settings dialog and the About box as they render under Wine, for the
# README: writes docs/settings-dialog.png and docs/about-box.png in the project's prefix,
# and docs/plain-prefix-settings.png and docs/plain-prefix-failure.png (a save refused) in
# a player's prefix without Japanese fonts. Uses its own virtual display and prefixes.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
bash scripts/install-deps.sh screenshot

arch=$(wine_arch)
dir=build/$arch
build_tree "$arch" Vorlamy >/dev/null

trap stop_everything EXIT
start_private_display
wine_prefix_ready "$arch"
scratch=$(mktemp -d)
(cd "$scratch" && exec "${fixed_layout[@]}" "$(wine_loader "$arch")" "$OLDPWD/$dir/Vorlamy.exe") &
program=$!

wait_for() { # window-name-pattern [window-to-pass-over] -> window id
  local found
  # A prefix's first program waits for fontconfig to scan its fonts: up to 30 s.
  for _ in $(seq 1 300); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-none}" | head -n 1) &&
      [ -n "$found" ] && { echo "$found"; return; }
    sleep 0.1
  done
  echo "no window '$1' appeared" >&2
  return 1
}
photograph() { # window file
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
  echo "wrote $2 (${WIDTH}x${HEIGHT})"
}

settings=$(wait_for '^Vorlamy$')
photograph "$settings" docs/settings-dialog.png
# The system menu (Alt+Space), its last entry (Up wraps around to it): the About box.
xdotool key --window "$settings" alt+space
sleep 0.5
xdotool key Up Return
about=$(wait_for 'Vorlamyの')
photograph "$about" docs/about-box.png
xdotool key Return 2>/dev/null || true
sleep 0.3
xdotool key --window "$settings" Escape 2>/dev/null || true
wait "$program" || true
rm -rf "$scratch"

# In a player's prefix without Japanese fonts, with a folder in TandL.ini's place.
players_prefix_pictures() {
  # One Wine desktop on the display at a time: the project prefix's goes first.
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  local -x WINEPREFIX WINEARCH FONTCONFIG_FILE LANG LC_ALL
  wine_prefix_ready "$arch" plain
  scratch=$(mktemp -d)
  mkdir "$scratch/TandL.ini"
  (cd "$scratch" && exec "${fixed_layout[@]}" "$(wine_loader "$arch")" "$OLDPWD/$dir/Vorlamy.exe") &
  program=$!
  settings=$(wait_for '^Vorlamy$')
  photograph "$settings" docs/plain-prefix-settings.png
  xdotool windowfocus --sync "$settings" key Return
  local box
  box=$(wait_for '^Vorlamy$' "$settings")
  photograph "$box" docs/plain-prefix-failure.png
  xdotool windowfocus --sync "$box" key Return 2>/dev/null || true
  sleep 0.3
  xdotool windowfocus --sync "$settings" key Escape 2>/dev/null || true
  wait "$program" || true
  rm -rf "$scratch"
}
players_prefix_pictures
