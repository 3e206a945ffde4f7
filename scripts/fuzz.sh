#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) and runs each for a short
# while from a few valid seed files: the four image decoders, the records.rec loader, the input
# script, .fnt font, music score and effect patch parsers. Usage: scripts/fuzz.sh [seconds per fuzzer]
# The corpora grow in build/fuzz/corpus/<target> and are reused by later runs; crashes (a sanitizer
# report or a broken promise) are written to build/fuzz/crashes/ and make the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-20}
BUILD=${KELVARO_FUZZ_BUILD:-build/fuzz}
JOBS=$(nproc)
LAUNCHER=()
if command -v ccache >/dev/null; then LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi

# target and its longest input in bytes; the seeds of each are gathered in $BUILD/seeds/<target>
TARGETS=("tga 65536" "gif 65536" "png 65536" "jpeg 65536" "records 4096" "input_script 4096" "font 2048"
  "score 1024" "patch 1024")

CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_WERROR=ON \
  -DKELVARO_SANITIZE=ON -DKELVARO_FUZZ=ON -DKELVARO_TESTS=OFF "${LAUNCHER[@]}" >/dev/null
build_targets=(fuzz_make_seeds)
for entry in "${TARGETS[@]}"; do build_targets+=("fuzz_${entry%% *}"); done
cmake --build "$BUILD" -j"$JOBS" --target "${build_targets[@]}"

mkdir -p "$BUILD/crashes"
for entry in "${TARGETS[@]}"; do mkdir -p "$BUILD/seeds/${entry%% *}"; done
"$BUILD/fuzz_make_seeds" "$BUILD/seeds"
# The text formats start from files kept in the repository: small ones written for the fuzzers
# (the game's own scores are too long to fuzz quickly), the events' attempt scripts and the
# effect patches.
for name in input_script font score; do cp tests/fuzz/seeds/$name/* "$BUILD/seeds/$name/"; done
cp tests/events/*.txt "$BUILD/seeds/input_script/"
cp assets/sound/effects/*.sfx "$BUILD/seeds/patch/"

status=0
for entry in "${TARGETS[@]}"; do
  read -r name max_len <<<"$entry"
  corpus="$BUILD/corpus/$name"
  mkdir -p "$corpus"
  echo "== fuzz_$name for ${SECONDS_EACH}s"
  if ! "$BUILD/fuzz_$name" "$corpus" "$BUILD/seeds/$name" -max_total_time="$SECONDS_EACH" \
      -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$BUILD/crashes/$name-" 2>"$BUILD/fuzz_$name.log"; then
    echo "fuzz_$name found a failure; see $BUILD/fuzz_$name.log and $BUILD/crashes/"
    tail -n 40 "$BUILD/fuzz_$name.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|cov:" "$BUILD/fuzz_$name.log" | tail -n 2
  fi
done
exit $status
