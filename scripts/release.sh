#!/usr/bin/env bash
# Builds the release from a clean state: dist/Vorlamy-<version>-win32.zip (Vorlamy.exe,
# the i686 product, and readme.txt), dist/Vorlamy.exe, and dist/SHA256SUMS for both, in
# the form `sha256sum -c` reads. Reproducible: the same commit gives the same bytes
# whoever builds it, in any folder, at any time, with any umask; file times in the zip are
# the last commit's (SOURCE_DATE_EPOCH).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh release

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || {
    echo "release: not a git checkout; set SOURCE_DATE_EPOCH to the commit's time" >&2
    exit 1
  }
fi
export SOURCE_DATE_EPOCH

rm -rf build/release dist
cmake --preset release >/dev/null
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
sed 's/^/  /' dist/SHA256SUMS
