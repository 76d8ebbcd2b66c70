#!/usr/bin/env bash
# Hunts for tests that fail by chance: runs the Wine suites again and again, in parallel as
# scripts/test.sh runs them, each until it fails or has passed the given number of times,
# and keeps the output of every run. Not part of the test command: a full hunt takes
# about half an hour per tree. Run scripts/test.sh once first (it installs and builds).
#   scripts/repeat-tests.sh [times] [--load] [ctest args...]
#     times    how often each test must pass (30 by default)
#     --load   keeps both cores busy meanwhile with a second job, as a busy machine would
# The output of each suite's run stays in build/repeat/<time>-<suite>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
times=${1:-30}; [ $# -eq 0 ] || shift
load=
if [ "${1:-}" = --load ]; then load=1; shift; fi
jobs=$(nproc 2>/dev/null || echo 2)

load_pids=()
stop_load() { [ ${#load_pids[@]} -eq 0 ] || kill "${load_pids[@]}" 2>/dev/null || true; stop_everything; }
trap stop_load EXIT
if [ -n "$load" ]; then
  for _ in $(seq 1 "$jobs"); do (while :; do :; done) & load_pids+=($!); done
fi
start_private_display
mkdir -p build/repeat
status=0
# repeat tree label [ctest args...]: one suite, each test until it fails or has passed.
repeat() {
  local tree=$1 label=$2 log; shift 2
  [ -f "build/$tree/CTestTestfile.cmake" ] || { echo "build/$tree is not built: run scripts/test.sh first" >&2; exit 1; }
  log=build/repeat/$(date +%Y%m%d-%H%M%S)-${label//[^a-zA-Z0-9]/_}${load:+-load}.log
  echo "== $label: every test $times times, -j $jobs${load:+, both cores busy}; output in $log"
  if (cd "build/$tree" && ctest --output-on-failure -j "$jobs" --repeat "until-fail:$times" "$@") >"$log" 2>&1; then
    grep -E 'tests passed|Total Test time' "$log" | sed 's/^/   /'
  else
    status=1
    grep -E '\*\*\*Failed|\*\*\*Timeout|\*\*\*Exception|crashed:|tests passed' "$log" | sed 's/^/   /'
  fi
}
# The Wine suites of scripts/test.sh, in its prefixes.
trees=(win64); [ "$(wine_arch)" = win64 ] || trees=(win32 win64)
for tree in "${trees[@]}"; do
  wine_prefix_ready "$tree"
  repeat "$tree" "$tree under Wine" "$@"
done
tree=$(wine_arch)
# In functions, with their variables local: the prefixes they start are stopped at the end.
in_players_prefixes() {
  local -x WINEPREFIX WINEARCH FONTCONFIG_FILE LANG LC_ALL VORLAMY_PLAYERS_PREFIX
  for VORLAMY_PLAYERS_PREFIX in plain ipagothic $(players_japanese_prefix); do
    wine_prefix_ready "$tree" "$VORLAMY_PLAYERS_PREFIX"
    repeat "$tree" "$tree, a player's prefix: $VORLAMY_PLAYERS_PREFIX" -R '^DialogTextTest\.' "$@"
  done
}
under_japanese_locale() {
  local -x LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 VORLAMY_EXPECTED_ACP=932
  # The project's prefix, whose server is up already: as scripts/test.sh does it.
  wine_prefix_made "$tree"
  repeat "$tree" "$tree, Japanese system locale" -R '^(ProgramTest|FaultTest|PlantedDllTest|SystemLocaleTest|FontDecisionTest)\.' "$@"
}
in_players_prefixes "$@"
at_larger_dpi() {
  local -x VORLAMY_EXPECTED_DPI
  wine_prefix_made "$tree"
  for VORLAMY_EXPECTED_DPI in 120 144; do
    set_prefix_dpi "$tree" "$VORLAMY_EXPECTED_DPI"
    repeat "$tree" "$tree at $VORLAMY_EXPECTED_DPI dots per inch" -R '^DialogTextTest\.' "$@"
  done
  set_prefix_dpi "$tree" 96
}
at_larger_dpi "$@"
if locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then under_japanese_locale "$@"; fi
exit $status
