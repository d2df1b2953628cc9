#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program (release) and starts it; under Xvfb when there is no display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTARIA_TESTS=OFF -DPICTARIA_BENCH=OFF >/dev/null
cmake --build build/release --target pictaria Tevrolan
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" build/release/bin/pictaria
fi
exec build/release/bin/pictaria
