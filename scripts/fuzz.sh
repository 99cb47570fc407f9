#!/bin/sh
# Builds the fuzz targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in a build directory of their own and runs each
# in turn for SECONDS of CPU time (default 60), or only the TARGETs named
# (box_walk, box_walk_sparse, nmea, records, settings, drive_log,
# recording_names). CPU time rather than wall time, so that a run on a busy
# machine still gets its share. Found crashes land in
# BUILD/fuzz-artifacts/TARGET/; each target's log is BUILD/fuzz-TARGET.log.
# Prints the executions, coverage and CPU time of each; exits 1 when any
# target found something.
#   scripts/fuzz.sh [SECONDS [TARGET...]]   BUILD is build-fuzz/ unless
#                                           ZENTROVA_FUZZ_BUILD_DIR names another
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SECONDS_EACH=${1:-60}
[ $# -gt 0 ] && shift
TARGETS=${*:-box_walk box_walk_sparse nmea records settings drive_log recording_names}
BUILD=${ZENTROVA_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz.sh: clang++ is not installed (scripts/setup.sh installs it)" >&2
    exit 2
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTROVA_BUILD_FUZZ=ON \
    -DZENTROVA_BUILD_UI=OFF -DZENTROVA_BUILD_TESTS=OFF -DZENTROVA_BUILD_BENCH=OFF >/dev/null
built=""
for target in $TARGETS; do built="$built fuzz_$target"; done
# shellcheck disable=SC2086
cmake --build "$BUILD" -j 2 --target $built fuzz_make_seeds >/dev/null

SEEDS="$BUILD/fuzz-seeds"
"$BUILD/bin/fuzz_make_seeds" "$SEEDS"

# The options of one target: the largest input, memory limits and dictionary.
# The sparse walk and the drive log read files of gigabytes through a few
# bytes of input: there a single allocation above 256 MB is a finding.
options_of() {
    case $1 in
    box_walk) echo "-max_len=262144 -rss_limit_mb=2048 -dict=$ROOT/fuzz/telemetry.dict" ;;
    box_walk_sparse) echo "-max_len=65536 -rss_limit_mb=1024 -malloc_limit_mb=256 -timeout=60 -dict=$ROOT/fuzz/telemetry.dict" ;;
    nmea | records) echo "-max_len=8192 -rss_limit_mb=2048 -dict=$ROOT/fuzz/telemetry.dict" ;;
    settings) echo "-max_len=1024 -rss_limit_mb=2048" ;;
    drive_log) echo "-max_len=65536 -rss_limit_mb=1024 -malloc_limit_mb=256 -timeout=60" ;;
    recording_names) echo "-max_len=4096 -rss_limit_mb=2048 -dict=$ROOT/fuzz/recording_names.dict" ;;
    *) echo "fuzz.sh: no fuzz target $1" >&2; return 1 ;;
    esac
}

TICKS_PER_SECOND=$(getconf CLK_TCK)

# The CPU seconds a running process and its waited-for children have used;
# the fields after the parenthesised name are counted from the last ")".
cpu_seconds_of() {
    sed 's/.*) //' "/proc/$1/stat" 2>/dev/null |
        awk -v hz="$TICKS_PER_SECOND" '{ printf "%.1f", ($12 + $13 + $14 + $15) / hz }'
}

# Runs a fuzzer until it has used SECONDS_EACH of CPU, then stops it with
# SIGTERM, on which libFuzzer prints its final statistics and exits with 72
# (not a finding when this loop sent it; this libFuzzer cannot change 72).
run_for_cpu_budget() {
    "$@" &
    fuzzer=$!
    used=0
    stopped=0
    while kill -0 "$fuzzer" 2>/dev/null; do
        sampled=$(cpu_seconds_of "$fuzzer")
        [ -n "$sampled" ] && used=$sampled
        if awk -v used="$used" -v budget="$SECONDS_EACH" 'BEGIN { exit !(used >= budget) }'; then
            kill -TERM "$fuzzer" 2>/dev/null && stopped=1
            break
        fi
        sleep 1
    done
    run_status=0
    wait "$fuzzer" || run_status=$?
    echo "$used" >"$cpu_file"
    [ "$stopped" -eq 1 ] && [ "$run_status" -eq 72 ] && run_status=0
    return "$run_status"
}

failed=""
for target in $TARGETS; do
    corpus="$BUILD/fuzz-corpus/$target"
    artifacts="$BUILD/fuzz-artifacts/$target"
    log="$BUILD/fuzz-$target.log"
    cpu_file="$BUILD/fuzz-$target.cpu"
    mkdir -p "$corpus" "$artifacts"
    options=$(options_of "$target")
    echo "fuzz.sh: fuzz_$target for ${SECONDS_EACH} CPU seconds" >&2
    status=0
    # New inputs go into the first directory; the seeds are only read.
    # shellcheck disable=SC2086
    run_for_cpu_budget "$BUILD/bin/fuzz_$target" $options \
        -artifact_prefix="$artifacts/" -print_final_stats=1 \
        "$corpus" "$SEEDS/$target" 2>"$log" || status=$?
    coverage=$(grep -oE "cov: [0-9]+ ft: [0-9]+ corp: [^ ]+" "$log" | tail -n 1 || true)
    execs=$(grep -E "^stat::number_of_executed_units" "$log" | awk '{print $2}' || true)
    rss=$(grep -E "^stat::peak_rss_mb" "$log" | awk '{print $2}' || true)
    echo "fuzz.sh: fuzz_$target: executions ${execs:-?}, CPU $(cat "$cpu_file") s, peak RSS ${rss:-?} MB" >&2
    [ -n "$coverage" ] && echo "fuzz.sh: fuzz_$target: $coverage" >&2
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log" >&2
        echo "fuzz.sh: fuzz_$target failed; the input is in $artifacts" >&2
        failed="$failed $target"
    fi
done
if [ -n "$failed" ]; then
    echo "fuzz.sh: findings in:$failed" >&2
    exit 1
fi
