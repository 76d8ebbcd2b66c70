#!/usr/bin/env bash
# scripts/install-deps.sh against a stub apt-get (and dpkg, id, locale) on PATH, in a
# scratch copy of the tree: a mirror in the middle of a sync, 32-bit packages that cannot
# be installed, a user who is not root and has no sudo. Prints one line per check.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
stubs=$scratch/stubs tools=$scratch/tools
mkdir -p "$stubs" "$tools" "$scratch/tree/scripts"
cp "$here/scripts/install-deps.sh" "$scratch/tree/scripts/"
# Every tool of the system but sudo and the stubbed ones.
for f in /usr/bin/* /bin/*; do
  case "${f##*/}" in sudo|apt-get|dpkg|dpkg-query|id|sleep|locale|locale-gen) ;; *) ln -sf "$f" "$tools/" ;; esac
done
stub() { printf '#!/bin/bash\n%s\n' "$2" >"$stubs/$1"; chmod +x "$stubs/$1"; }
stub id 'echo "${STUB_UID:-0}"'
stub sleep ':'
stub locale 'echo ja_JP.utf8'
stub dpkg 'echo i386'
stub dpkg-query 'grep -qx "${@: -1}" "$STUB/installed" 2>/dev/null && printf "ii " || exit 1'
# apt-get: "update" fails on one index when asked to; 32-bit Wine resolves only at the
# release's own versions (-t), or never; "install -y" records what it installed.
stub apt-get 'echo "$*" >>"$STUB/calls"
case "$1" in
  update) [ -n "${STUB_UPDATE_FAILS:-}" ] || exit 0
    echo "E: Failed to fetch http://mirror.test/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."; exit 100 ;;
esac
if [[ " $* " == *" wine32:i386 "* ]] && { [ "${STUB_I386:-}" = never ] || [[ " $* " != *" -t "* ]]; }; then
  echo " wine32:i386 : Depends: libc6:i386 but it is not going to be installed"
  echo "E: Unable to correct problems, you have held broken packages."; exit 100
fi
[ "$2" = -y ] || { echo "0 upgraded, 9 newly installed, 0 to remove and 0 not upgraded."; echo "Need to get 12.3 MB of archives."; exit 1; }
printf "%s\n" "$@" | grep -v "^-" | grep -vx install >>"$STUB/installed"'

run() { # case-name -> runs install-deps.sh test with the stubs; output in $out, status in $status
  export STUB=$scratch/$1
  mkdir -p "$STUB"
  out=$(PATH="$stubs:$tools" bash "$scratch/tree/scripts/install-deps.sh" test 2>&1)
  status=$?
}
check() { # what condition...
  local what=$1; shift
  if "$@"; then echo "   passed: install-deps.sh: $what"
  else echo "   FAILED: install-deps.sh: $what"; printf '%s\n' "$out" | sed 's/^/     | /'; fi
}
calls() { cat "$STUB/calls" 2>/dev/null; }

STUB_UPDATE_FAILS=1 run sync
check "an index that cannot be fetched: update tried twice, the source named, everything installed (-t bookworm)" \
  eval '[ $status -eq 0 ] && [ "$(calls | grep -c ^update)" = 2 ] && grep -q "could not fetch http://mirror.test/.*binary-i386/Packages.xz" <<<"$out" && calls | grep -q "^install -y .*-t .*wine32:i386"'

STUB_I386=never run no32
first=$status said=$out
rm -f "$STUB/calls"
run no32
check "32-bit Wine that cannot be installed: the rest is, that is said, and the next run calls no apt" \
  eval '[ $first -eq 0 ] && grep -q "wine32:i386.*cannot be installed" <<<"$said" && [ $status -eq 0 ] && grep -qx xvfb "$STUB/installed" && ! grep -q wine32 "$STUB/installed" && [ -z "$(calls)" ]'

STUB_UID=1000 run user
check "no root and no sudo: the missing packages and the command that installs them, exit non-zero" \
  eval '[ $status -ne 0 ] && grep -q "apt-get install -y --no-install-recommends .*xvfb" <<<"$out" && [ -z "$(calls)" ]'
