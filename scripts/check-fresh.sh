#!/usr/bin/env bash
# Tries the README's commands as a newcomer meets them, on a fresh, fully updated Debian
# (security updates included): Debian 12 "bookworm", whose package sources then include one
# whose index cannot be fetched, as a mirror in the middle of a sync has, and Debian 13
# "trixie" as it comes. Run it by hand, as root, before changing the set-up; it is not part
# of the tests: it downloads several hundred megabytes for each release and takes several
# minutes each.
#   scripts/check-fresh.sh [bookworm|trixie]...     (none: both, one after the other)
# For each release it clones this checkout's committed state, runs scripts/test.sh there,
# then scripts/run.sh with DISPLAY=:97, where no X server runs, and prints what passed with
# the test command's closing line, its time and what the set-up downloaded. All of it runs
# in private mount and PID namespaces, so nothing it starts outlives it.
set -euo pipefail
cd "$(dirname "$0")/.."
me=scripts/check-fresh.sh
releases=("$@")
[ ${#releases[@]} -gt 0 ] || releases=(bookworm trixie)
for release in "${releases[@]}"; do
  case "$release" in
    bookworm|trixie) ;;
    *) echo "usage: $me [bookworm|trixie]... (not '$release')" >&2; exit 2 ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "$me: needs root (mmdebstrap, chroot, namespaces)" >&2; exit 1; }
bash scripts/install-deps.sh fresh-check
mkdir -p build
seconds() { echo $(($(date +%s) - $1)); }

root=
trap '[ -z "$root" ] || rm -rf --one-file-system "$root"' EXIT

# Runs a command in the root, in namespaces of its own; its exit status.
in_root() { # command
  unshare --mount --pid --fork --mount-proc="$root/proc" \
    bash -c 'mount -t tmpfs tmpfs "$1/dev/shm" && shift && exec chroot "$@"' _ "$root" "$root" \
    env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"
}

# A source whose Release promises other bytes than its Packages file has.
add_broken_source() {
  local broken=$root/srv/broken/dists/broken
  mkdir -p "$broken/main/binary-amd64"
  printf 'Package: nothing\nVersion: 1\nArchitecture: all\n\n' >"$broken/main/binary-amd64/Packages"
  {
    printf 'Suite: broken\nCodename: broken\nComponents: main\nArchitectures: amd64 i386\nSHA256:\n'
    printf ' %s 4096 main/binary-amd64/Packages\n' "$(printf x | sha256sum | cut -d' ' -f1)"
  } >"$broken/Release"
  echo 'deb [trusted=yes] file:/srv/broken broken main' >"$root/etc/apt/sources.list.d/broken.list"
}

summaries=() all_results=()
# Tries one release in a root of its own, then removes it.
try_release() { # release
  local release=$1 log=$PWD/build/check-fresh-$1.log results=() start made tested ran status
  result() { results+=("$1: $release: $2"); }
  root=$(mktemp -d /var/tmp/vorlamy-fresh-$release.XXXXXX)
  : >"$log"
  echo "== a fresh Debian $release root: $root (log: $log)"
  start=$(date +%s)
  local mirror=http://deb.debian.org/debian
  mmdebstrap --variant=apt --include=ca-certificates,git "$release" "$root" \
    "deb $mirror $release main" "deb $mirror $release-updates main" \
    "deb http://deb.debian.org/debian-security $release-security main" >>"$log" 2>&1
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  [ "$release" != bookworm ] || add_broken_source
  git clone -q "$PWD" "$root/root/vorlamy"
  made=$(seconds "$start")
  echo "   made in $made s"

  echo "== scripts/test.sh in the fresh $release root"
  start=$(date +%s)
  set +e
  in_root bash -c 'cd /root/vorlamy && scripts/test.sh' 2>&1 | tee -a "$log" "$root/test.out"
  status=${PIPESTATUS[0]}
  set -e
  tested=$(seconds "$start")
  local summary download
  summary=$(grep -E '^all suites: ' "$root/test.out" | tail -n 1 || true)
  download=$(grep -oE '[0-9]+ new packages in all, [0-9.]+ [kMG]?B to download' "$root/test.out" | head -n 1 || true)
  [ "$status" -eq 0 ] && [ -n "$summary" ] && result passed "scripts/test.sh exits 0 in $tested s ($summary)" ||
    result FAILED "scripts/test.sh exited $status after $tested s (${summary:-no closing count})"
  if [ "$release" = bookworm ]; then
    local failed_source
    failed_source=$(grep -oE 'could not fetch [^ ]+' "$root/test.out" | head -n 1 || true)
    [ -n "$failed_source" ] && result passed "it names the source that failed ($failed_source)" ||
      result FAILED "it does not name the source that failed"
  fi
  grep -q 'setlocale' "$root/test.out" && result FAILED "it prints locale warnings" || result passed "no locale warnings"
  [ ! -e "$root/root/.local/share/applications" ] && [ ! -e "$root/root/.config/menus" ] &&
    result passed "nothing new under the home folder (Wine's menu builder is off)" ||
    result FAILED "Wine's menu builder wrote under the home folder"
  local wine suites
  if [ -x "$root/usr/lib/wine/wine" ]; then wine="32-bit and 64-bit Wine"; else wine="64-bit Wine only"; fi
  wine="$wine $(in_root dpkg-query -W -f='${Version}' wine 2>/dev/null || echo '(version unknown)')"
  suites=$(grep -E '^== tests: Windows i686 under Wine' "$root/test.out" | head -n 1 | sed 's/^== tests: //; s/;$//' || true)

  echo "== scripts/run.sh with DISPLAY=:97, where no X server runs"
  start=$(date +%s)
  status=0
  in_root bash -c 'cd /tmp && DISPLAY=:97 timeout 120 /root/vorlamy/scripts/run.sh' >"$root/run.out" 2>&1 || status=$?
  ran=$(seconds "$start")
  sed 's/^/   /' "$root/run.out"
  cat "$root/run.out" >>"$log"
  [ "$status" -ne 0 ] && [ "$ran" -le 10 ] && grep -q ':97' "$root/run.out" &&
    result passed "scripts/run.sh without an X server exits $status in $ran s, naming :97" ||
    result FAILED "scripts/run.sh without an X server: exit $status after $ran s"

  summaries+=("$release: made in $made s; scripts/test.sh $tested s, ${summary:-no closing line}; set-up: ${download:-no download seen}; $wine; ${suites:-i686 suites: see the log}; scripts/run.sh $ran s")
  all_results+=("${results[@]}")
  rm -rf --one-file-system "$root"
  root=
}

for release in "${releases[@]}"; do try_release "$release"; done

echo
printf '%s\n' "${summaries[@]}" "${all_results[@]}"
! printf '%s\n' "${all_results[@]}" | grep -q '^FAILED'
