#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# after a 30-second run of each fuzzer; then the tests of the worker threads (file jobs, picture
# read-ahead, the window driving both) again in a ThreadSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPICTARIA_SANITIZE=ON >/dev/null
cmake --build build/test
# A short run of each fuzzer over the picture decoders (their own clang build).
if ! bash scripts/fuzz-smoke.sh > build/fuzz-smoke.log 2>&1; then
    tail -n 40 build/fuzz-smoke.log
    echo "fuzz smoke failed (build/fuzz-smoke.log)"
    exit 1
fi
echo "fuzz smoke passed"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build/test && ctest --output-on-failure -j "$(nproc)")

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPICTARIA_TSAN=ON -DPICTARIA_BENCH=OFF >/dev/null
cmake --build build/tsan --target test_work test_fileops test_viewer test_platform test_app
export TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan/suppressions.txt"
build/tsan/tests/fileops/test_fileops --gtest_brief=1 \
    --gtest_filter='FileJobTest.*:TransferBatch.*:DeleteAndRenameBatches.*'
build/tsan/tests/viewer/test_viewer --gtest_brief=1 --gtest_filter='PictureReadAheadTest.*'
build/tsan/tests/platform/test_platform --gtest_brief=1 --gtest_filter='MountWatcher.*:VolumeProbe.*'
# The window with its read-ahead and its jobs, and the work layer's queues, through the
# toolkit's event queue.
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan/window-suppressions.txt" \
    build/tsan/tests/app/test_app --gtest_brief=1 --gtest_filter='WindowModelTest.*:SourceViewTest.*'
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan/window-suppressions.txt" \
    build/tsan/tests/work/test_work --gtest_brief=1
echo "thread sanitizer run passed"
