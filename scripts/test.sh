#!/usr/bin/env bash
# Installs the dependencies, builds everything with warnings as errors, runs every test, then
# builds again with AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests there too,
# and last fuzzes the image decoders and the file parsers for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --tests
JOBS=$(nproc)

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_WERROR=ON
cmake --build build/release -j"$JOBS"
(cd build/release && ctest --output-on-failure -j"$JOBS")

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DKELVARO_WERROR=ON -DKELVARO_SANITIZE=ON
cmake --build build/sanitize -j"$JOBS"
(cd build/sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$JOBS")

# A short fuzzing run of every decoder and parser (clang's libFuzzer): nine targets, ten seconds each.
./scripts/fuzz.sh 10
