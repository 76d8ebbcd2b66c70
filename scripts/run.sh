#!/usr/bin/env bash
# Installs what is missing, builds Vorlamy and runs it under Wine in the caller's current
# directory, so that TandL.ini lands there. Needs a display (DISPLAY must be set).
# It can run any number of times in a row, and twice at once; the Wine processes it starts
# end by themselves a few seconds after the last Vorlamy.
set -euo pipefail
here=$PWD
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
me=scripts/run.sh

if [ -z "${DISPLAY:-}" ]; then
  echo "$me: Vorlamy is a window program and needs a display, and DISPLAY is not set." >&2
  echo "  Run it from a terminal in your desktop session, or start a virtual one: Xvfb :1 & DISPLAY=:1 $0" >&2
  exit 1
fi
# A display that does not answer would leave Wine with no window to show, silently.
display_answers() { timeout 5 xdpyinfo >/dev/null 2>&1; }
no_display() {
  echo "$me: no X server answers at DISPLAY=$DISPLAY; start one there, or set DISPLAY to the display of your desktop session." >&2
  exit 1
}
if command -v xdpyinfo >/dev/null 2>&1 && ! display_answers; then no_display; fi

if ! mkdir -p build 2>/dev/null || [ ! -w build ]; then
  echo "$me: the build folder needs write access: $PWD/build" >&2
  exit 1
fi
bash scripts/install-deps.sh run || { echo "$me: the set-up failed (see above)" >&2; exit 1; }
display_answers || no_display

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# step "what" command...: a build step, quiet when it works; when it fails, one line
# says which step, followed by what the step printed.
step() {
  local what=$1; shift
  if ! "$@" >"$log" 2>&1; then
    echo "$me: $what failed:" >&2
    tail -n 20 "$log" >&2
    exit 1
  fi
}

arch=$(wine_arch)
[ "$arch" = win32 ] ||
  echo "note: $(why_no_wine32); running the x86_64 build of the same code instead of the 32-bit product." >&2
dir=build/$arch
{
  # One run at a time builds; the programs themselves run side by side.
  flock 9
  if [ ! -f "$dir/build.ninja" ] || ! ninja -C "$dir" -n Vorlamy 2>/dev/null | grep -q 'no work to do'; then
    echo "set-up: building Vorlamy ($dir)" >&2
  fi
  step "building Vorlamy ($dir)" build_tree "$arch" Vorlamy
  wine_prefix_made "$arch" || { echo "$me: making the Wine prefix build/wine-$arch failed" >&2; exit 1; }
} 9>build/run.lock

exe="$PWD/$dir/Vorlamy.exe"
cd "$here"
rm -f "$log"
trap - EXIT
# No persistent wineserver: the server and Wine's services end on their own once the
# last program has gone.
exec "${ordinary_user[@]}" "$(wine_loader "$arch")" "$exe" "$@"
