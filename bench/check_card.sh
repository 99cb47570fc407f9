#!/bin/sh
# Times `zentrova-cli check` over a generated card of recordings (front and
# rear files of one minute each, 600 telemetry records in each front file,
# config.bin) against `find` listing and stat-ing the same tree, in one run,
# and prints both and their ratio.
# Usage: check_card.sh [BIN_DIR] [RECORDINGS] [ROUNDS]
set -eu
BIN=${1:-$(dirname "$0")}
COUNT=${2:-500}
ROUNDS=${3:-5}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zentrova-check-bench-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

"$BIN/bench_make_card" "$WORK/card" "$COUNT" 600 --pairs
now_ns() { date +%s%N; }

# Warm the caches once for both.
find "$WORK/card" -type f -printf '%s %T@ %p\n' >/dev/null
status=0
"$BIN/zentrova-cli" check "$WORK/card" --json >"$WORK/report.json" || status=$?

best_find=0
best_check=0
r=0
while [ $r -lt "$ROUNDS" ]; do
    t0=$(now_ns); find "$WORK/card" -type f -printf '%s %T@ %p\n' >/dev/null; t1=$(now_ns)
    "$BIN/zentrova-cli" check "$WORK/card" --json >/dev/null || true; t2=$(now_ns)
    f=$((t1 - t0)); c=$((t2 - t1))
    if [ $best_find -eq 0 ] || [ $f -lt $best_find ]; then best_find=$f; fi
    if [ $best_check -eq 0 ] || [ $c -lt $best_check ]; then best_check=$c; fi
    r=$((r + 1))
done

files=$(grep -o '"state":"plays"' "$WORK/report.json" | wc -l)
echo "card: $COUNT recordings, $files files that play ($(du -sk "$WORK/card" | cut -f1) KiB), check exit status $status"
echo "find + stat:          $((best_find / 1000)) us (best of $ROUNDS)"
echo "zentrova-cli check:   $((best_check / 1000000)) ms (best of $ROUNDS; goal under 2000 ms)"
awk -v c="$best_check" -v f="$best_find" 'BEGIN { printf "ratio check/find:     %.1f\n", c / f }'
