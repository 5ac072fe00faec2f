#!/usr/bin/env bash
# Builds the release zips a Windows user downloads:
#
#   dist/Zarvic-<version>-win64.zip   the 64-bit build
#   dist/Zarvic-<version>-win32.zip   the 32-bit build
#
# each holding Zarvic/Zarvic.exe, Zarvic/Zarvic.htm and Zarvic/ReadMe.txt, and beside them
#
#   dist/SHA256SUMS                   the SHA-256 of each zip, as sha256sum writes and checks it
#   dist/CHANGELOG.md                 what changed, release by release
#
# The version is the one the resources carry; the changelog must have a section for it. The zips depend only on the tree: the executables are linked
# without a time stamp, and the archives list their files in a fixed order with a fixed
# date, so two runs on the same commit give the same bytes.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

bash scripts/setup.sh

version=$(sed -n 's/^ *VALUE "ProductVersion", "\([0-9.]*\)".*/\1/p' resources/zarvic.rc)
[ -n "$version" ] || { echo "package: no ProductVersion in resources/zarvic.rc" >&2; exit 1; }

grep -q "^## $version\b" CHANGELOG.md || { echo "package: CHANGELOG.md has no section for $version" >&2; exit 1; }

mkdir -p dist
for arch in win64 win32; do
    echo "package: building $arch"
    cmake --preset "$arch" >/dev/null
    cmake --build --preset "$arch" -j2 --target zarvic
    python3 scripts/make_zip.py "dist/Zarvic-$version-$arch.zip" \
        "Zarvic/Zarvic.exe=build/$arch/Zarvic.exe" \
        "Zarvic/Zarvic.htm=resources/Zarvic.htm" \
        "Zarvic/ReadMe.txt=packaging/ReadMe.txt"
    echo "package: dist/Zarvic-$version-$arch.zip"
done

cp CHANGELOG.md dist/CHANGELOG.md
# A Windows user checks a download with: certutil -hashfile Zarvic-<version>-win64.zip SHA256
(cd dist && sha256sum "Zarvic-$version-win64.zip" "Zarvic-$version-win32.zip" > SHA256SUMS.partial &&
    mv SHA256SUMS.partial SHA256SUMS && sha256sum --check --quiet SHA256SUMS)
echo "package: dist/SHA256SUMS, dist/CHANGELOG.md"
