#!/usr/bin/env bash
# Builds the image decoder fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) and runs each
# for a short while from a few valid seed files. Usage: scripts/fuzz.sh [seconds per fuzzer]
# The corpora grow in build/fuzz/corpus/<format> and are reused by later runs; crashes are
# written to build/fuzz/crashes/ and make the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-20}
BUILD=${KELVARO_FUZZ_BUILD:-build/fuzz}
JOBS=$(nproc)

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_WERROR=ON \
  -DKELVARO_SANITIZE=ON -DKELVARO_FUZZ=ON -DKELVARO_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$JOBS" --target fuzz_tga fuzz_gif fuzz_png fuzz_jpeg fuzz_make_seeds

mkdir -p "$BUILD/seeds"/{tga,gif,png,jpeg} "$BUILD/crashes"
"$BUILD/fuzz_make_seeds" "$BUILD/seeds"

status=0
for format in tga gif png jpeg; do
  corpus="$BUILD/corpus/$format"
  mkdir -p "$corpus"
  echo "== fuzz_$format for ${SECONDS_EACH}s"
  if ! "$BUILD/fuzz_$format" "$corpus" "$BUILD/seeds/$format" -max_total_time="$SECONDS_EACH" \
      -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$BUILD/crashes/$format-" 2>"$BUILD/fuzz_$format.log"; then
    echo "fuzz_$format found a failure; see $BUILD/fuzz_$format.log and $BUILD/crashes/"
    tail -n 40 "$BUILD/fuzz_$format.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$BUILD/fuzz_$format.log" | tail -n 2
  fi
done
exit $status
