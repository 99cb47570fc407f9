#!/bin/sh
# Times `zentrova-cli export` over a generated card of front recordings, in
# each format, and prints the files per second.
# Usage: export_card.sh [BIN_DIR] [FILES] [RECORDS_PER_FILE] [ROUNDS]
set -eu
BIN=${1:-$(dirname "$0")}
FILES=${2:-200}
RECORDS=${3:-600}
ROUNDS=${4:-5}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zentrova-export-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

"$BIN/bench_make_card" "$WORK/card" "$FILES" "$RECORDS"
now_ns() { date +%s%N; }

echo "card: $FILES front recordings of $RECORDS records ($(du -sk "$WORK/card" | cut -f1) KiB)"
for format in gpx kml csv; do
    best=0
    r=0
    while [ $r -lt "$ROUNDS" ]; do
        rm -rf "$WORK/out"
        t0=$(now_ns)
        "$BIN/zentrova-cli" export "$WORK/card" "$WORK/out" --$format >"$WORK/summary" 2>/dev/null
        t1=$(now_ns)
        d=$((t1 - t0))
        if [ $best -eq 0 ] || [ $d -lt $best ]; then best=$d; fi
        r=$((r + 1))
    done
    awk -v n="$FILES" -v ns="$best" -v f="$format" -v s="$(cat "$WORK/summary")" \
        'BEGIN { printf "export --%s: %.0f files/s (best of rounds, %.1f ms; goal at least 200) | %s\n", f, n / (ns / 1e9), ns / 1e6, s }'
done
