#!/bin/sh
# Builds the telemetry fuzz targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in a build directory of their own and runs each
# for SECONDS (default 60). Found crashes land in BUILD/fuzz-artifacts/.
#   scripts/fuzz.sh [SECONDS]        BUILD is build-fuzz/ unless
#                                    ZENTROVA_FUZZ_BUILD_DIR names another
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_EACH=${1:-60}
BUILD=${ZENTROVA_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz.sh: clang++ is not installed (scripts/setup.sh installs it)" >&2
    exit 2
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTROVA_BUILD_FUZZ=ON \
    -DZENTROVA_BUILD_UI=OFF -DZENTROVA_BUILD_TESTS=OFF -DZENTROVA_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j 2 --target fuzz_box_walk fuzz_nmea fuzz_records fuzz_make_seeds >/dev/null

SEEDS="$BUILD/fuzz-seeds"
"$BUILD/bin/fuzz_make_seeds" "$SEEDS"

for target in box_walk nmea records; do
    corpus="$BUILD/fuzz-corpus/$target"
    artifacts="$BUILD/fuzz-artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    echo "fuzz.sh: fuzz_$target for ${SECONDS_EACH}s" >&2
    # New inputs go into the first directory; the seeds are only read.
    "$BUILD/bin/fuzz_$target" -max_total_time="$SECONDS_EACH" -max_len=8192 -rss_limit_mb=2048 \
        -dict="$ROOT/fuzz/telemetry.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 \
        "$corpus" "$SEEDS/$target" 2>"$BUILD/fuzz-$target.log" || {
        tail -n 40 "$BUILD/fuzz-$target.log" >&2
        echo "fuzz.sh: fuzz_$target failed; the input is in $artifacts" >&2
        exit 1
    }
    grep -E "^stat::number_of_executed_units|^#[0-9]+ +DONE" "$BUILD/fuzz-$target.log" >&2 || true
done
