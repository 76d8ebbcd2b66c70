#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: natively on Linux,
# then under Wine on a private virtual display and prefix that this script starts and
# stops. Ends with one summary line over all suites.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# Wine's own error messages, which a test's output then shows when it fails: a test
# process that Wine ends before it prints anything leaves nothing else to read.
export WINEDEBUG=${WINEDEBUG:--all,err+all}
source scripts/wine-env.sh

if ! mkdir -p build 2>/dev/null || [ ! -w build ]; then
  echo "scripts/test.sh: the build folder needs write access: $root/build" >&2
  exit 1
fi
if [ -z "${VORLAMY_SET_UP:-}" ]; then
  bash scripts/install-deps.sh test || { echo "scripts/test.sh: the set-up failed (see above)" >&2; exit 1; }
  # The C library reads the list of locales once per process: a locale made just now is
  # unknown to this shell. The tests go on in a new one.
  VORLAMY_SET_UP=1 exec bash "$root/scripts/test.sh" "$@"
fi

jobs=$(nproc 2>/dev/null || echo 2)
failures=()  # one line for each failed test or check, for the summary

# check "description" command...: one counted check of the summary.
check() {
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then echo "   passed: $what"; passed=$((passed + 1))
  else echo "   FAILED: $what"; failed=$((failed + 1)); failures+=("   failed: $what"); fi
}

# A text file that Notepad shows right on any Windows: UTF-8 with a byte-order mark, CRLF.
text_is_for_windows() { # file
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ] || return 1
  iconv -f UTF-8 -t UTF-8 "$1" >/dev/null || return 1
  [ "$(grep -c $'\r$' "$1")" = "$(wc -l <"$1")" ]
}
# The read-me, in both languages, no wider than 80 columns (a Japanese character takes
# two), and no quoted label or message cut at a line's end.
readme_is_for_windows() { # file
  text_is_for_windows "$1" || return 1
  grep -q '^\[English\]' "$1" && grep -q '^\[日本語\]' "$1" || return 1
  [ "$(tr -d '\r' <"$1" | LC_ALL=C.UTF-8 wc -L)" -le 80 ] || return 1
  ! tr -d '\r' <"$1" | LC_ALL=C.UTF-8 awk '{ q = gsub(/"/, "&"); o = gsub(/「/, "&"); c = gsub(/」/, "&"); if (q % 2 || o != c) bad = 1 } END { exit !bad }' || return 1
  # The title is underlined with as many characters as it has.
  local title rule
  title=$(head -n 1 "$1" | sed 's/^\xEF\xBB\xBF//; s/\r$//')
  rule=$(sed -n '2{s/\r$//;p}' "$1")
  [ "${#title}" -eq "${#rule}" ] && [ -z "${rule//=/}" ]
}

# The README's first command, as a newcomer uses it: scripts/run.sh twice in a row from a
# scratch folder on the test display, Enter pressed through the X server each time. Each
# run saves "0" and ends with status 0, and a few seconds after the second no Wine process
# of the prefix it used is left.
check_run_command() { # architecture it runs
  local scratch prefix="$root/build/wine-$1" i
  scratch=$(mktemp -d)
  run_once() {
    echo 1 >"$scratch/TandL.ini"
    (cd "$scratch" && exec timeout 120 bash "$root/scripts/run.sh") >"$scratch/run.log" 2>&1 &
    local run=$! window= try
    for try in $(seq 1 600); do
      window=$(xdotool search --onlyvisible --name '^Vorlamy$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
      kill -0 "$run" 2>/dev/null || break
      sleep 0.1
    done
    for try in 1 2 3; do
      [ -n "$window" ] && timeout 10 xdotool windowfocus --sync "$window" key Return 2>/dev/null || true
      for _ in $(seq 1 30); do kill -0 "$run" 2>/dev/null || break 2; sleep 0.1; done
    done
    # What it printed stays for a look when it failed.
    wait "$run" || { cp "$scratch/run.log" "$root/build/run-command.log"; return 1; }
    [ "$(cat "$scratch/TandL.ini")" = 0 ]
  }
  no_wine_process_left() {
    for _ in $(seq 1 100); do
      grep -lsz "^WINEPREFIX=$prefix\$" /proc/[0-9]*/environ >/dev/null 2>&1 || return 0
      sleep 0.1
    done
    return 1
  }
  for i in 1 2; do
    check "scripts/run.sh, run $i: Enter saves 0 and it ends with status 0 (else see build/run-command.log)" run_once
  done
  check "scripts/run.sh leaves no Wine process behind" no_wine_process_left
  rm -rf "$scratch"
}

# Builds the release in two fresh copies of the tree, one after the other, the second by
# another user (nobody, uid 65534) with another umask where this script may switch users,
# and counts each check: same executable, same zip, sums that verify, the zip's content,
# the read-me's form.
check_release_reproducible() {
  local scratch epoch i builders
  scratch=$(mktemp -d)
  chmod 755 "$scratch"
  epoch=$(git log -1 --format=%ct)
  local commit
  commit=$(git rev-parse HEAD)
  [ -z "$(git status --porcelain --untracked-files=all)" ] || commit="$commit with local changes"
  for i in 1 2; do
    local copy="$scratch/copy-$i" as=() mask=022
    mkdir -p "$copy"
    git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$copy"
    if [ "$i" = 2 ]; then
      sleep 1.1  # another second, for every time stamp that could leak in
      mask=027
      if [ "$(id -u)" -eq 0 ]; then
        chown -R 65534:65534 "$copy"
        as=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$copy")
      fi
    fi
    if ! (cd "$copy" && umask "$mask" && SOURCE_DATE_EPOCH=$epoch VORLAMY_COMMIT=$commit "${as[@]}" bash scripts/release.sh) \
      >"$scratch/release-$i.log" 2>&1; then
      cat "$scratch/release-$i.log"
    fi
  done
  if [ "$(id -u)" -eq 0 ]; then
    builders="built by root and by nobody (uid 65534), umask 022 and 027"
  else
    builders="both built by $(id -un), umask 022 and 027"
    echo "   skipped: a build by another user, which takes root to start"
    skipped=$((skipped + 1))
  fi
  local a="$scratch/copy-1/dist" b="$scratch/copy-2/dist"
  check "the release was built" test -f "$a/SHA256SUMS" -a -f "$b/SHA256SUMS"
  check "Vorlamy.exe is byte for byte the same ($builders)" cmp "$a/Vorlamy.exe" "$b/Vorlamy.exe"
  check "the zip is byte for byte the same ($builders)" cmp "$a"/Vorlamy-*-win32.zip "$b"/Vorlamy-*-win32.zip
  check "the two SHA256SUMS are the same ($builders)" cmp "$a/SHA256SUMS" "$b/SHA256SUMS"
  check "SHA256SUMS verifies" bash -c "cd '$a' && sha256sum -c SHA256SUMS"
  mkdir -p "$scratch/unpacked"
  (cd "$scratch/unpacked" && cmake -E tar xf "$a"/Vorlamy-*-win32.zip) 2>/dev/null || true
  check "the zip holds exactly Vorlamy.exe, Vorlamy-readme.txt and the two licences" \
    test "$(cd "$scratch/unpacked" && find . -type f | LC_ALL=C sort | tr '\n' ' ')" = \
    "./LICENSE-font.txt ./LICENSE.txt ./Vorlamy-readme.txt ./Vorlamy.exe "
  check "the zip's licences are whole, UTF-8 with a byte-order mark and CRLF: MIT's notice and the font's" \
    bash -c "$(declare -f text_is_for_windows); cd '$scratch/unpacked' && text_is_for_windows LICENSE.txt &&
      text_is_for_windows LICENSE-font.txt && grep -q 'Permission is hereby granted' LICENSE.txt &&
      grep -q 'THE SOFTWARE IS PROVIDED' LICENSE.txt && grep -q '梅フォントのライセンス' LICENSE-font.txt &&
      grep -q 'Wataru Horai' LICENSE-font.txt"
  check "the zip's Vorlamy.exe is the one the sums name" cmp "$scratch/unpacked/Vorlamy.exe" "$a/Vorlamy.exe"
  local readme="$scratch/unpacked/Vorlamy-readme.txt"
  check "Vorlamy-readme.txt: UTF-8 with a byte-order mark, CRLF line ends, English and Japanese, 80 columns, no quote cut" \
    readme_is_for_windows "$readme"
  check "Vorlamy-readme.txt names the commit, the Debian release, the toolchain and Windows XP SP3, and puts the dialog in English" \
    bash -c "grep -q 'Commit: *$commit' '$readme' && grep -q 'Debian: *Debian GNU/Linux [0-9]' '$readme' && grep -q 'MinGW-w64: *[0-9]' '$readme' && grep -q 'Windows XP SP3' '$readme' && grep -q 'drawing speed (FPS)' '$readme'"
  # A checkout with a changed file is not built as if it were its commit.
  local clone="$scratch/clone"
  git clone -q "$root" "$clone" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$clone" &&
    git -C "$clone" add -A && git -C "$clone" -c user.name=test -c user.email=test@localhost commit -qm test --allow-empty
  echo "a local change" >>"$clone/README.md"
  check "release.sh refuses a checkout with a changed README.md, and names it" \
    bash -c "! bash '$clone/scripts/release.sh' >'$scratch/refused.log' 2>&1 && grep -q 'M README.md' '$scratch/refused.log'"
  sed 's/^/   /' "$a/SHA256SUMS" 2>/dev/null || true
  rm -rf "$scratch"
}

echo "== format: every C++ source follows .clang-format"
git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

passed=0 failed=0 skipped=0
run_ctest() { # preset label [ctest args...]
  local dir="build/$1" label=$2; shift 2
  local name="$dir/ctest-${label//[^a-zA-Z0-9]/_}"
  echo "== tests: $label"
  rm -f "$name.xml"
  (cd "$dir" && ctest --output-on-failure --output-junit "$root/$name.xml" -j "$jobs" "$@") 2>&1 | tee "$name.log" |
    grep -vE '^ +(Start|[0-9]+/[0-9]+ Test)' || true
  # The counts, from the JUnit report that CTest writes: its one <testsuite> element.
  count() { sed -nE "/<testsuite/,/>/ s/.*[[:space:]]$1=\"([0-9]+)\".*/\1/p" "$name.xml" | head -n 1; }
  local t f k d
  t=$(count tests) f=$(count failures) k=$(count skipped) d=$(count disabled)
  if [ -z "$t" ] || [ -z "$f" ]; then
    echo "ctest wrote no report for $label (see $name.log)" >&2; failed=$((failed + 1))
    failures+=("   failed: $label wrote no report (see $name.log)"); return
  fi
  passed=$((passed + t - f - ${k:-0} - ${d:-0})); failed=$((failed + f)); skipped=$((skipped + ${k:-0}))
  [ "$f" -gt 0 ] && keep_failures "$label" "$name" || true
}

# A failing suite's tests by name, and its whole output kept where the next run does not
# write, so that a failure seen once can be read afterwards.
keep_failures() { # label report-and-log-name
  local kept
  kept=build/failed/$(date +%Y%m%d-%H%M%S)-$(basename "$2").log
  mkdir -p build/failed && cp "$2.log" "$kept"
  while read -r test; do
    failures+=("   failed: $test ($1; its output: $kept)")
  done < <(grep -oE '<testcase name="[^"]*"[^>]*status="fail"' "$2.xml" | sed -E 's/<testcase name="([^"]*)".*/\1/')
}

echo "== set-up: scripts/install-deps.sh with a stub apt-get"
setup_checks=$(bash tests/setup/install-deps-test.sh)
echo "$setup_checks"
passed=$((passed + $(grep -c '^   passed:' <<<"$setup_checks" || true)))
failed=$((failed + $(grep -c '^   FAILED:' <<<"$setup_checks" || true)))
while read -r line; do failures+=("   failed: set-up, ${line#*FAILED: }"); done < <(grep '^   FAILED:' <<<"$setup_checks" || true)

echo "== build: native"
build_tree native
run_ctest native "native (Linux)"

echo "== build: native with AddressSanitizer and UndefinedBehaviorSanitizer"
build_tree native-sanitize
run_ctest native-sanitize "native, sanitized"

echo "== build: fuzz targets of the dialog template and font name readers (clang, libFuzzer)"
build_tree fuzz
run_ctest fuzz "fuzz targets, 10 s each"
# How far each got, from libFuzzer's own last words.
awk '/^[0-9]+\/[0-9]+ Testing: / { name = $3 } /^Done [0-9]+ runs/ { print "   " name ": " $0 }' \
  build/fuzz/Testing/Temporary/LastTest.log 2>/dev/null || true

echo "== build: win32 (the product)"
build_tree win32

echo "== build: win64"
build_tree win64

echo "== release: built twice, from two copies of the tree in two folders, at two times, by two users"
check_release_reproducible

trap stop_everything EXIT
start_private_display
product_arch=$(wine_arch)
echo "== the run command: scripts/run.sh twice, Enter pressed each time"
check_run_command "$product_arch"

wine_prefix_ready win64
run_ctest win64 "Windows x86_64 under Wine"

if [ "$product_arch" = win32 ]; then
  wine_prefix_ready win32
  run_ctest win32 "Windows i686 under Wine"
else
  echo "== tests: Windows i686 under Wine: not run, $(why_no_wine32);"
  echo "   the x86_64 build ran the same tests, and checked the i686 executable's resources."
fi

# The dialogs once more in prefixes as players have them (see players_prefix_made in
# wine-env.sh); the test knows by the prefix's name what its fonts must do.
run_in_players_prefixes() { # arch
  local -x WINEPREFIX WINEARCH FONTCONFIG_FILE LANG LC_ALL VORLAMY_PLAYERS_PREFIX
  for VORLAMY_PLAYERS_PREFIX in plain ipagothic $(players_japanese_prefix); do
    wine_prefix_ready "$1" "$VORLAMY_PLAYERS_PREFIX"
    run_ctest "$1" "$1 under Wine, a player's prefix: $VORLAMY_PLAYERS_PREFIX" -R '^DialogTextTest\.'
  done
}
run_in_players_prefixes "$product_arch"

# The dialogs once more at 125 % and 150 % (120 and 144 dots per inch, which the display
# settings of Windows offer): in the project's prefix every text still fits, and nothing
# moves.
run_at_larger_dpi() { # arch
  local -x VORLAMY_EXPECTED_DPI
  for VORLAMY_EXPECTED_DPI in 120 144; do
    set_prefix_dpi "$1" "$VORLAMY_EXPECTED_DPI"
    run_ctest "$1" "$1 under Wine at $VORLAMY_EXPECTED_DPI dots per inch" -R '^DialogTextTest\.'
  done
  set_prefix_dpi "$1" 96
}
wine_prefix_made "$product_arch"
run_at_larger_dpi "$product_arch"

# The real program once more, as a player on a Japanese Windows runs it: Wine's system
# locale then has the code page 932, and everything must behave the same. The font
# decision too, since Wine knows a font's Japanese name only under a Japanese locale, and
# the dialogs' and the failed save's texts.
if locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine_prefix_made "$product_arch"
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 VORLAMY_EXPECTED_ACP=932 \
    run_ctest "$product_arch" "$product_arch under Wine, Japanese system locale (code page 932)" \
    -R '^(ProgramTest|FaultTest|PlantedDllTest|SystemLocaleTest|FontDecisionTest|DialogTextTest)\.'
else
  echo "== tests under a Japanese system locale: FAILED, the locale ja_JP.UTF-8 is not there"
  failed=$((failed + 1)); failures+=("   failed: the Japanese locale ja_JP.UTF-8 is not there")
fi

echo
[ ${#failures[@]} -eq 0 ] || printf '%s\n' "${failures[@]}"
echo "all suites: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
