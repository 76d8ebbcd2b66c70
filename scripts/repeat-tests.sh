#!/usr/bin/env bash
# Hunts for tests that fail by chance: runs the Wine suites again and again, in parallel as
# scripts/test.sh runs them, each until it fails or has passed the given number of times,
# and keeps the output of every failing run. Not part of the test command: a full hunt
# takes about half an hour per tree. Run scripts/test.sh once first (it installs and builds).
#   scripts/repeat-tests.sh [times] [--load] [ctest args...]
#     times    how often each test must pass (30 by default)
#     --load   keeps both cores busy meanwhile with a second job, as a busy machine would
# The output of each tree's run stays in build/repeat/<tree>-<time>.log.
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
trees=(win64); [ "$(wine_arch)" = win64 ] || trees=(win32 win64)
for tree in "${trees[@]}"; do
  [ -f "build/$tree/CTestTestfile.cmake" ] || { echo "build/$tree is not built: run scripts/test.sh first" >&2; exit 1; }
  wine_prefix_ready "$tree"
  log=build/repeat/$tree-$(date +%Y%m%d-%H%M%S)${load:+-load}.log
  echo "== $tree: every test $times times, -j $jobs${load:+, both cores busy}; output in $log"
  if (cd "build/$tree" && ctest --output-on-failure -j "$jobs" --repeat "until-fail:$times" "$@") >"$log" 2>&1; then
    tail -n 3 "$log" | grep -E 'tests passed|Total Test time' || true
  else
    status=1
    grep -E '\*\*\*Failed|\*\*\*Timeout|\*\*\*Exception|tests passed' "$log" || true
  fi
done
exit $status
