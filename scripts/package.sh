#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program (release, without tests) and makes the Debian package
# build/release/pictaria_<version>-<release>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-deps.sh devscripts lintian desktop-file-utils
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTARIA_TESTS=OFF -DPICTARIA_BENCH=OFF >/dev/null
cmake --build build/release
(cd build/release && cpack -G DEB)
deb="$(ls build/release/pictaria_*.deb)"

# CPack gives every package with a shared object below /usr/lib ldconfig maintainer scripts; the
# program's own library lives in a private folder that ldconfig does not search, so the package
# is rebuilt without them.
repack="$(mktemp -d)"
dpkg-deb -R "$deb" "$repack/root"
rm -f "$repack/root/DEBIAN/postinst" "$repack/root/DEBIAN/postrm"
dpkg-deb --root-owner-group --build "$repack/root" "$deb" >/dev/null
rm -rf "$repack"

# What a distribution checks: the hardening of the program and its library, the desktop entry,
# and the package as a whole (errors and warnings fail; see the README for what is accepted).
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
# Debian 12's own start files carry no control-flow-protection marks, so no program linked here
# can show them, though our code is compiled with -fcf-protection.
hardening-check --quiet --nocfprotection "$unpacked/usr/bin/pictaria" "$unpacked/usr/lib/pictaria/Tevrolan.dll"
desktop-file-validate "$unpacked/usr/share/applications/org.pictaria.Pictaria.desktop"
lintian --fail-on error,warning --suppress-tags "$(grep -v '^#' tools/lintian-accepted | paste -sd,)" "$deb"
echo "$deb"
