#!/usr/bin/env bash
# Benchmark: Vorlamy against the same dialog as a bare Win32 program with the same window
# (Vorlamy's manifest, icons, system-menu entry and centring), and beside it against the
# bare program alone, and without the manifest, run under Wine on a private virtual
# display, round by round and interleaved; prints a table. Where Vorlamy's time goes: Vorlamy
# without its class library's font decision and fit of the controls to their texts, and the
# bare program once more with the font decision, and once with the fit.
# Not a test: nothing here passes or fails on a time.
#   scripts/bench.sh [rounds]     (60 by default: fewer give ratios that wander by 5 %)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
rounds=${1:-60}

bash scripts/install-deps.sh test
arch=$(wine_arch)
dir=build/$arch
build_tree "$arch" Vorlamy VorlamyTemplatedLayout Baseline BaselineUnthemed BaselineFontDecision BaselineTextFit \
  BaselineWindowChrome bench_driver >/dev/null

trap stop_everything EXIT
start_private_display
scratch=$(mktemp -d)
echo "Vorlamy benchmark, $arch build under $(/usr/lib/wine/wine64 --version 2>/dev/null || echo Wine)"
[ "$arch" = win64 ] && echo "(this machine cannot execute 32-bit code: the x86_64 builds are measured)"
measure() {
  "${fixed_layout[@]}" "$(wine_loader "$arch")" "$dir/bench_driver.exe" "$rounds" "Z:$scratch" \
    Vorlamy "$dir/Vorlamy.exe" "bare + icons, menu entry, centring" "$dir/BaselineWindowChrome.exe" \
    "bare, same manifest" "$dir/Baseline.exe" \
    "Vorlamy, no font decision, no fit" "$dir/VorlamyTemplatedLayout.exe" \
    "bare + font decision" "$dir/BaselineFontDecision.exe" "bare + text fit" "$dir/BaselineTextFit.exe" \
    "bare, no manifest" "$dir/BaselineUnthemed.exe"
}
echo
echo "== In the project's prefix, where the dialogs' face is there (mapped to IPAPGothic):"
wine_prefix_ready "$arch"
measure
# Where the system has no font of the dialogs' face, Vorlamy registers its own before the
# dialog opens; the baselines, which do not, show boxes for the Japanese texts there.
in_players_prefix() {
  local -x WINEPREFIX WINEARCH FONTCONFIG_FILE LANG LC_ALL
  wine_prefix_ready "$arch" plain
  measure
}
echo
echo "== In a player's prefix without Japanese fonts, where Vorlamy registers its own font:"
in_players_prefix
rm -rf "$scratch"
if [ "$arch" = win64 ]; then
  build_tree win32 Vorlamy Baseline BaselineUnthemed >/dev/null 2>&1 || true
  echo
  echo "The 32-bit product (sizes only, not run here):"
  for exe in build/win32/Vorlamy.exe build/win32/Baseline.exe build/win32/BaselineUnthemed.exe; do
    [ -f "$exe" ] || continue
    printf '  %-28s %s KiB  imports: %s\n' "$exe" "$(awk -v b="$(stat -c %s "$exe")" 'BEGIN { printf "%.1f", b / 1024 }')" \
      "$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {printf "%s ", $3}')"
  done
fi
