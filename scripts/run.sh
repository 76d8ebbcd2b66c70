#!/usr/bin/env bash
# Installs what is missing, builds Vorlamy and runs it under Wine in the caller's current
# directory, so that TandL.ini lands there. Needs a display (DISPLAY must be set).
# It can run any number of times in a row, and twice at once; the Wine processes it starts
# end by themselves a few seconds after the last Vorlamy.
set -euo pipefail
here=$PWD
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

if [ -z "${DISPLAY:-}" ]; then
  echo "Vorlamy is a window program and needs a display: DISPLAY is not set." >&2
  echo "Run it from a desktop session, or start one, e.g.: Xvfb :1 & DISPLAY=:1 $0" >&2
  exit 1
fi

mkdir -p build
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# step "what" command...: a set-up step, quiet when it works; when it fails, one line
# says which step, followed by what the step printed.
step() {
  local what=$1; shift
  if ! "$@" >"$log" 2>&1; then
    echo "scripts/run.sh: $what failed:" >&2
    tail -n 20 "$log" >&2
    exit 1
  fi
}

if can_run_wine32; then arch=win32; else arch=win64; fi
[ "$arch" = win64 ] && echo "note: this machine cannot execute 32-bit code; running the x86_64 build." >&2
dir=build/$arch
{
  # One run at a time installs and builds; the programs themselves run side by side.
  flock 9
  step "installing what is missing" bash scripts/install-deps.sh
  [ -f "$dir/build.ninja" ] || step "configuring the $arch build" cmake --preset "$arch"
  step "building Vorlamy" ninja -C "$dir" Vorlamy
  step "making the Wine prefix" wine_prefix_made "$arch"
} 9>build/run.lock

exe="$PWD/$dir/Vorlamy.exe"
cd "$here"
rm -f "$log"
trap - EXIT
# No persistent wineserver: the server and Wine's services end on their own once the
# last program has gone.
exec "${ordinary_user[@]}" "$(wine_loader "$arch")" "$exe" "$@"
