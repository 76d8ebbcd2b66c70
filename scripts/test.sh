#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: natively on Linux,
# then under Wine on a private virtual display and prefix that this script starts and
# stops. Ends with one summary line over all suites.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine-env.sh

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

echo "== format: every C++ source follows .clang-format"
git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

configure() { # build-dir [cmake args...]
  local dir=$1; shift
  [ -f "$dir/build.ninja" ] || cmake -G Ninja -S . -B "$dir" "$@" >/dev/null
}

passed=0 failed=0
run_ctest() { # build-dir label
  local log="$1/ctest.log" status=0
  echo "== tests: $2"
  (cd "$1" && ctest --output-on-failure -j "$jobs") 2>&1 | tee "$log" | grep -vE '^ +(Start|[0-9]+/[0-9]+ Test)' || true
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1) || true
  if [ -z "$line" ]; then
    echo "ctest printed no summary for $2" >&2; failed=$((failed + 1)); return
  fi
  local f t
  f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + t - f)); failed=$((failed + f))
}

echo "== build: native"
configure build/native
ninja -C build/native
run_ctest build/native "native (Linux)"

echo "== build: native with AddressSanitizer and UndefinedBehaviorSanitizer"
configure build/native-sanitize -DVORLAMY_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ninja -C build/native-sanitize
run_ctest build/native-sanitize "native, sanitized"

echo "== build: win32 (the product)"
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake
ninja -C build/win32

echo "== build: win64"
configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake \
  -DVORLAMY_PRODUCT_EXE="$root/build/win32/Vorlamy.exe"
ninja -C build/win64

trap stop_everything EXIT
start_private_display
wine_prefix_ready win64
run_ctest build/win64 "Windows x86_64 under Wine"

if can_run_wine32; then
  wine_prefix_ready win32
  run_ctest build/win32 "Windows i686 under Wine"
else
  echo "== tests: Windows i686 under Wine: not run, this machine cannot execute 32-bit code;"
  echo "   the x86_64 build ran the same tests, and checked the i686 executable's resources."
fi

echo
echo "all suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
