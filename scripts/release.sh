#!/usr/bin/env bash
# Builds the release from a clean state: dist/Vorlamy-<version>-win32.zip (Vorlamy.exe,
# the i686 product, and Vorlamy-readme.txt), dist/Vorlamy.exe, and dist/SHA256SUMS for
# both, in the form `sha256sum -c` reads. The read-me names the commit and the toolchain.
# Reproducible: the same commit gives the same bytes whoever builds it, in any folder, at
# any time, with any umask; file times in the zip are the commit's (SOURCE_DATE_EPOCH).
#   scripts/release.sh                       a checkout without local changes
#   scripts/release.sh --with-local-changes  builds anyway, and the read-me says so
# Outside a git checkout (a copy of the tree) VORLAMY_COMMIT and SOURCE_DATE_EPOCH name
# the commit the copy is of.
set -euo pipefail
cd "$(dirname "$0")/.."
me=scripts/release.sh
with_changes=
case "${1:-}" in
  --with-local-changes) with_changes=1 ;;
  "") ;;
  *) echo "usage: $me [--with-local-changes]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh release || { echo "$me: the set-up failed (see above)" >&2; exit 1; }

if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$PWD" ]; then
  commit=$(git rev-parse HEAD)
  SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
  changes=$(git status --porcelain --untracked-files=all)
  if [ -n "$changes" ]; then
    if [ -z "$with_changes" ]; then
      echo "$me: the working tree has local changes, so the release would not be commit $commit:" >&2
      sed 's/^/  /' <<<"$changes" >&2
      echo "  Commit or stash them, or build anyway with $me --with-local-changes." >&2
      exit 1
    fi
    commit="$commit with local changes"
  fi
else
  commit=${VORLAMY_COMMIT:-}
  if [ -z "$commit" ] || [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$me: not a git checkout; set VORLAMY_COMMIT and SOURCE_DATE_EPOCH to the commit and its time" >&2
    exit 1
  fi
fi
export SOURCE_DATE_EPOCH

# The toolchain, as a rebuild needs it: each tool's own version and, on a line of its own
# (the read-me keeps within 80 columns), its Debian package's.
package() { dpkg-query -W -f='\n           (Debian package ${binary:Package} ${Version})' "$1" 2>/dev/null || true; }
mingw=$(printf '#include <_mingw.h>\n__MINGW64_VERSION_STR\n' | i686-w64-mingw32-gcc-posix -E -P - | tail -n 1 | tr -d '" ')
# The Debian release first: another release has other versions of all of it.
debian=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-}")
toolchain=("Debian:    ${debian:-not Debian (no /etc/os-release)}"
  "GCC:       $(i686-w64-mingw32-g++-posix --version | head -n 1)$(package g++-mingw-w64-i686-posix)"
  "MinGW-w64: $mingw$(package mingw-w64-i686-dev)"
  "Binutils:  $(i686-w64-mingw32-ld --version | head -n 1)$(package binutils-mingw-w64-i686)"
  "CMake:     $(cmake --version | head -n 1)$(package cmake)")

rm -rf build/release dist
# One line each: a CMake list.
cmake --preset release -DVORLAMY_COMMIT="$commit" -DVORLAMY_TOOLCHAIN="$(IFS=';'; printf '%s' "${toolchain[*]}" | tr '\n' ';')" >/dev/null
cmake --build --preset release >/dev/null
cpack --preset release >/dev/null
zip=$(cd build/release && ls Vorlamy-*-win32.zip)
# CPack writes the builder's Unix user and group into each entry of the zip: made the
# same for everyone (0) by Debian's tool for reproducible archives, which also sets every
# entry's time to the commit's.
strip-nondeterminism --type zip --timestamp "$SOURCE_DATE_EPOCH" "build/release/$zip" >/dev/null
mkdir -p dist
cp "build/release/$zip" build/release/Vorlamy.exe dist/
(cd dist && sha256sum "$zip" Vorlamy.exe > SHA256SUMS)
echo "release: dist/$zip"
echo "  Commit:    $commit"
echo "  Version:   $(sed -n 's/^project(Vorlamy VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
printf '  %s\n' "${toolchain[@]}"
sed 's/^/  /' dist/SHA256SUMS
