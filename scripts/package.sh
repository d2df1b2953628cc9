#!/usr/bin/env bash
# Builds the program (release, without tests) and makes the Debian package
# build/release/pictaria_<version>-<release>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTARIA_TESTS=OFF -DPICTARIA_BENCH=OFF >/dev/null
cmake --build build/release
(cd build/release && cpack -G DEB)
ls build/release/pictaria_*.deb
