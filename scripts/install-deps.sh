#!/usr/bin/env bash
# Installs with apt what one of the project's commands needs on Debian, and only that:
#   scripts/install-deps.sh run|test|release|screenshot|fresh-check
# The one place that knows the packages. Quick when everything is there: it asks dpkg
# what is installed and calls apt only for what is missing. It says in one line what it
# is doing at each stage; apt's own output goes to build/setup/apt.log.
#
# A package mirror in the middle of a sync (one index that cannot be fetched) does not
# stop it: apt's lists are updated again after a pause, then it goes on with what it has.
# Where packages cannot be installed as asked, it tries the release's own versions. 32-bit
# Wine is welcome but not required: where it cannot be installed the rest is, the tests
# drive the x86_64 build of the same code, and that is remembered for an hour, so that
# later commands do not ask apt again.
set -euo pipefail
purpose=${1:-test}
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
state=$top/build/setup
log=$state/apt.log
say() { echo "set-up: $*" >&2; }

# What each command needs. Building: the i686 cross compiler (its -posix variant) and
# windres, CMake and Ninja. Running: Wine with its fonts (Marlett draws the caption
# buttons) and a Japanese font; 32-bit Wine for the product, and 64-bit Wine with the
# x86_64 build where 32-bit Wine cannot be had; xdpyinfo to see that a display answers.
build=(g++-mingw-w64-i686 binutils-mingw-w64-i686 cmake ninja-build)
run=("${build[@]}" g++-mingw-w64-x86-64 wine wine64 fonts-wine fonts-ipafont-gothic x11-utils)
case "$purpose" in
  run) want=("${run[@]}") ;;
  # The native tests (g++, GoogleTest), the format check, a virtual display and key
  # presses, a Japanese system locale, and the release that the tests build twice.
  # DejaVu Sans: the one font of the test prefixes that see no Japanese font. clang with
  # its runtime: the fuzz targets (libFuzzer).
  test) want=("${run[@]}" g++ googletest clang-format clang libclang-rt-dev xvfb xdotool locales git
              strip-nondeterminism fonts-dejavu-core) ;;
  release) want=("${build[@]}" git strip-nondeterminism) ;;
  screenshot) want=("${run[@]}" xvfb xdotool imagemagick) ;;
  # A fresh Debian root to try the set-up in (scripts/check-fresh.sh).
  fresh-check) want=(mmdebstrap git) ;;
  *) echo "usage: $0 run|test|release|screenshot|fresh-check" >&2; exit 2 ;;
esac
# Welcome, not required: the commands fall back to the x86_64 build without it.
optional=()
case "$purpose" in run|test|screenshot) optional=(wine32:i386) ;; esac

if [ "$(id -u)" -eq 0 ]; then as_root=()
elif command -v sudo >/dev/null 2>&1; then as_root=(sudo)
else as_root=(none); fi

installed() { # package -> 0 when dpkg has it installed
  [ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null)" = "ii " ]
}
# A package that could not be installed an hour ago or less is not asked for again.
recently_unavailable() { # package
  local name when
  [ -f "$state/unavailable" ] || return 1
  while read -r name when; do
    [ "$name" = "$1" ] && [ $(($(date +%s) - when)) -lt 3600 ] && return 0
  done <"$state/unavailable"
  return 1
}
remember_unavailable() { # packages...
  local p
  { for p in "$@"; do echo "$p $(date +%s)"; done; } >>"$state/unavailable" 2>/dev/null || true
}

missing=() missing_optional=()
for p in "${want[@]}"; do installed "$p" || missing+=("$p"); done
for p in "${optional[@]}"; do
  installed "$p" || recently_unavailable "$p" || missing_optional+=("$p")
done
japanese_locale_missing() {
  [ "$purpose" = test ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'
}

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ] && ! japanese_locale_missing; then
  exit 0
fi

if [ "${as_root[0]:-}" = none ]; then
  all=("${missing[@]}" "${missing_optional[@]}")
  if [ ${#missing[@]} -eq 0 ] && ! japanese_locale_missing; then
    say "${missing_optional[*]} is not installed, and installing it takes root; going on without it."
    exit 0
  fi
  say "missing: ${all[*]:-the Japanese locale ja_JP.UTF-8}; installing takes root, and sudo is not here. As root, run:"
  cmd="apt-get update && apt-get install -y --no-install-recommends ${all[*]}"
  [[ " ${all[*]} " == *:i386* ]] && cmd="dpkg --add-architecture i386 && $cmd"
  japanese_locale_missing && cmd="$cmd && echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen && locale-gen"
  echo "  su -c \"$cmd\"" >&2
  exit 1
fi

if ! mkdir -p "$state" 2>/dev/null || ! touch "$log" 2>/dev/null; then
  say "the build folder must be writable: $top/build" >&2
  exit 1
fi
: >"$log"
export DEBIAN_FRONTEND=noninteractive LC_ALL=C
apt_get() { "${as_root[@]}" apt-get "$@" >>"$log" 2>&1; }

# The lines of apt's log that tell what went wrong.
log_tail() { grep -E '^(E|W):|Depends:|Unable|Failed|Broken' "$log" | tail -n 8 | sed 's/^/  /' >&2; }

install_packages() {
  [[ " ${missing_optional[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386 &&
    { say "adding the i386 architecture (32-bit Wine comes from there)"; "${as_root[@]}" dpkg --add-architecture i386; }

  # An index that cannot be fetched makes apt-get update fail although every other one
  # was fetched: once more after a pause (a mirror in sync recovers), then go on.
  say "updating apt's package lists"
  if ! apt_get update; then
    sleep 10
    : >"$log.update"
    if ! "${as_root[@]}" apt-get update >"$log.update" 2>&1; then
      local url
      for url in $(grep -oE '^E: Failed to fetch [^ ]+' "$log.update" | sed 's/^E: Failed to fetch //' | sort -u); do
        say "could not fetch $url (a mirror in the middle of a sync?); going on without it"
      done
      grep -q '^E: Failed to fetch' "$log.update" || { say "apt-get update failed; going on with the lists there are:"; grep -E '^(E|W):' "$log.update" | tail -n 4 | sed 's/^/  /' >&2; }
    fi
    cat "$log.update" >>"$log"; rm -f "$log.update"
  fi

  # The first of these that apt can resolve: everything, then everything at the release's
  # own versions (on a fully updated system an architecture whose updates could not be
  # fetched has only those), then the same without what is only welcome.
  local codename chosen=() how=() sets n why=
  codename=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-}")
  for sets in all all-release required required-release; do
    local pkgs=("${missing[@]}") target=()
    [[ $sets == all* ]] && pkgs+=("${missing_optional[@]}")
    [[ $sets == *-release ]] && { [ -n "$codename" ] || continue; target=(-t "$codename"); }
    [ ${#pkgs[@]} -gt 0 ] || { chosen=(); how=(); break; }
    if "${as_root[@]}" apt-get install --assume-no --no-install-recommends "${target[@]}" "${pkgs[@]}" \
      >"$state/plan.log" 2>&1 || grep -q 'newly installed' "$state/plan.log"; then
      chosen=("${pkgs[@]}"); how=("${target[@]}"); break
    fi
    cat "$state/plan.log" >>"$log"
    [ -n "$why" ] || why=$(grep -m1 -E 'Depends:|^E: ' "$state/plan.log" | sed 's/^ *//')
    sets=none
  done
  if [ "$sets" = none ]; then
    say "apt cannot install ${missing[*]}; see $log:"; log_tail; return 1
  fi
  if [ ${#chosen[@]} -gt 0 ]; then
    n=$(sed -nE 's/.* ([0-9]+) newly installed.*/\1/p' "$state/plan.log" | head -n 1)
    local size
    size=$(sed -nE 's/^Need to get ([^ ]+ [kMG]?B).*/\1/p' "$state/plan.log" | head -n 1)
    local word=packages
    [ "${n:-}" = 1 ] && word=package
    say "installing ${chosen[*]}${how[*]:+ (${how[*]})}: ${n:-some} new $word in all${size:+, $size to download}; apt's output goes to $log"
    if ! apt_get install -y --no-install-recommends "${how[@]}" "${chosen[@]}"; then
      say "apt-get install failed; see $log:"; log_tail; return 1
    fi
  fi
  if [[ $sets == required* ]] && [ ${#missing_optional[@]} -gt 0 ]; then
    remember_unavailable "${missing_optional[@]}"
    say "32-bit Wine (${missing_optional[*]}) cannot be installed from this mirror now (apt: $why)."
    say "Everything else is installed: the tests drive the x86_64 build of the same code, scripts/run.sh shows the x86_64 build; a command an hour from now tries again."
  fi
}

japanese_locale() {
  japanese_locale_missing || return 0
  say "making the Japanese system locale ja_JP.UTF-8 (for the tests under code page 932)"
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
    echo 'ja_JP.UTF-8 UTF-8' | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  "${as_root[@]}" locale-gen >>"$log" 2>&1 || { say "locale-gen failed; see $log"; return 1; }
}

if [ ${#missing[@]} -gt 0 ] || [ ${#missing_optional[@]} -gt 0 ]; then install_packages; fi
japanese_locale
