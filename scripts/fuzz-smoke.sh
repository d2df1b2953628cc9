#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a short while
# (30 seconds unless FUZZ_SECONDS says otherwise), one job at a time. Fails on any finding;
# the input that caused it is kept in build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-30}"
build=build/fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPICTARIA_FUZZ=ON -DPICTARIA_TESTS=OFF -DPICTARIA_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_jpeg_decoder fuzz_bitmap_reader make_fuzz_seeds

"$build/fuzz/make_fuzz_seeds" "$build/seeds/jpeg" "$build/seeds/bmp"
mkdir -p "$build/artifacts"

run() {
    local target="$1" kind="$2"
    mkdir -p "$build/corpus/$kind"
    echo "== $target for ${seconds}s"
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 -keep_seed=1 \
        -dict="fuzz/$kind.dict" \
        "$build/corpus/$kind" "$build/seeds/$kind"
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run fuzz_jpeg_decoder jpeg
run fuzz_bitmap_reader bmp
