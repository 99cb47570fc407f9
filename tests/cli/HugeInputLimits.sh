#!/bin/sh
# zentrova-cli on damaged and sparse huge files under an address-space
# limit: what a command takes must follow what it reads, never a count from
# the file, and a file it refuses gets one line and exit status 1, not an
# abort.
#   HugeInputLimits.sh ZENTROVA_CLI DAMAGED_INPUT_WRITER
set -u
CLI=$1
WRITE=$2
# Far below what the old faults took (gigabytes), far above what the
# commands need for these files.
LIMIT=1073741824
GiB8=8589934592

DIR=$(mktemp -d "${TMPDIR:-/tmp}/zentrova-huge-XXXXXX") || exit 1
trap 'rm -rf "$DIR"' EXIT
failures=0

fail() {
    echo "FAIL: $1: $2" >&2
    failures=$((failures + 1))
}

# expect NAME STATUS OUT_TEXT ERR_TEXT COMMAND...: runs the command under the
# limit; the texts must be found in its output and its errors ("" for
# nothing at all).
expect() {
    name=$1 status=$2 out=$3 err=$4
    shift 4
    prlimit --as=$LIMIT -- "$@" >"$DIR/out" 2>"$DIR/err"
    got=$?
    [ "$got" -eq "$status" ] || fail "$name" "exit status $got, expected $status ($(head -c 300 "$DIR/err"))"
    if [ -z "$out" ]; then
        [ ! -s "$DIR/out" ] || fail "$name" "unexpected output: $(head -c 200 "$DIR/out")"
    elif ! grep -qF -- "$out" "$DIR/out"; then
        fail "$name" "output lacks '$out': $(head -c 200 "$DIR/out")"
    fi
    if [ -z "$err" ]; then
        [ ! -s "$DIR/err" ] || fail "$name" "unexpected errors: $(head -c 200 "$DIR/err")"
    elif ! grep -qF -- "$err" "$DIR/err"; then
        fail "$name" "errors lack '$err': $(head -c 200 "$DIR/err")"
    elif [ "$(wc -l <"$DIR/err")" -ne 1 ]; then
        fail "$name" "more than one line of errors: $(head -c 300 "$DIR/err")"
    fi
}

# A chunk-offset count of 2^32 - 1 in a true box, the file after the table
# filled with the offset of a real chunk (8 MiB) or left a hole (8 GiB).
"$WRITE" telemetry "$DIR/count_F.mp4" 8388608 --fill || exit 1
"$WRITE" telemetry "$DIR/sparse_F.mp4" $GiB8 || exit 1
# The box size damaged as well: a table of 4 GiB.
"$WRITE" telemetry "$DIR/box_F.mp4" $GiB8 --box-size 4294967295 || exit 1
"$WRITE" drv "$DIR/huge.drv" $GiB8 || exit 1
"$WRITE" drv "$DIR/short.drv" $((12 + 40 * 1000 + 7)) || exit 1

found="telemetry found: 3 records, 6 NMEA sentences"
times='"m_Times":[1552378500,1552378501,1552378502]'
expect telemetry_count_8MiB 0 "$found" "" "$CLI" telemetry "$DIR/count_F.mp4"
expect telemetry_count_8MiB_json 0 "$times" "" "$CLI" telemetry "$DIR/count_F.mp4" --json
expect telemetry_count_sparse_8GiB 0 "$found" "" "$CLI" telemetry "$DIR/sparse_F.mp4"
expect telemetry_count_sparse_8GiB_json 0 "$times" "" "$CLI" telemetry "$DIR/sparse_F.mp4" --json

refused="box_F.mp4: too many records"
expect telemetry_box_sparse_8GiB 1 "" "$refused" "$CLI" telemetry "$DIR/box_F.mp4"
expect telemetry_box_sparse_8GiB_json 1 "" "$refused" "$CLI" telemetry "$DIR/box_F.mp4" --json
expect telemetry_box_sparse_8GiB_gpx 1 "" "$refused" "$CLI" telemetry "$DIR/box_F.mp4" --gpx -o "$DIR/route.gpx"
[ ! -e "$DIR/route.gpx" ] || fail telemetry_box_sparse_8GiB_gpx "an output file was written"

refused="huge.drv: too many records: the header promises 4294967295"
expect drv_sparse_8GiB 1 "" "$refused" "$CLI" drv "$DIR/huge.drv"
expect drv_sparse_8GiB_csv 1 "" "$refused" "$CLI" drv "$DIR/huge.drv" --csv "$DIR/log.csv"
[ ! -e "$DIR/log.csv" ] || fail drv_sparse_8GiB_csv "an output file was written"
expect drv_huge_count_short_file 0 "1000     0  1900/00/00" "the header promises 4294967295 records, the file holds 1000 complete ones" \
    "$CLI" drv "$DIR/short.drv"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all checks passed"
