#!/bin/sh
# Times `zentrova-cli scan` against `find -iname '*.mp4'` on the same
# generated tree of 15001 recording files, in one run, and prints the ratio.
# Usage: scan_vs_find.sh [ZENTROVA_CLI] [ROUNDS]
set -eu
CLI=${1:-$(dirname "$0")/zentrova-cli}
ROUNDS=${2:-15}
TREE=$(mktemp -d "${TMPDIR:-/tmp}/zentrova-scan-bench-XXXXXX")
trap 'rm -rf "$TREE"' EXIT

# 15001 files in 3 modes, 60 folders, both sides, plus unrelated files.
i=0
while [ $i -lt 60 ]; do
    mkdir -p "$TREE/DCIM/$i"
    i=$((i + 1))
done
awk -v tree="$TREE" 'BEGIN {
    split("alwa motion event", modes, " ");
    for (n = 0; n < 15001; n++) {
        side = (n % 2) ? "R" : "F";
        mode = modes[(int(n / 2) % 3) + 1];
        t = int(n / 2);
        printf "%s/DCIM/%d/%s_202403%02d_%02d%02d%02d_%s.MP4\n", tree, n % 60, mode, 1 + int(t / 86400), int(t / 3600) % 24, int(t / 60) % 60, t % 60, side;
    }
    for (n = 0; n < 500; n++) printf "%s/DCIM/%d/note_%d.txt\n", tree, n % 60, n;
}' | xargs touch

now_ns() { date +%s%N; }

# Warm the directory cache once for both.
find "$TREE" -iname '*.mp4' >/dev/null
"$CLI" scan "$TREE" --json >/dev/null

best_find=0
best_scan=0
r=0
while [ $r -lt "$ROUNDS" ]; do
    t0=$(now_ns); find "$TREE" -iname '*.mp4' >/dev/null; t1=$(now_ns)
    "$CLI" scan "$TREE" >/dev/null; t2=$(now_ns)
    f=$((t1 - t0)); s=$((t2 - t1))
    if [ $best_find -eq 0 ] || [ $f -lt $best_find ]; then best_find=$f; fi
    if [ $best_scan -eq 0 ] || [ $s -lt $best_scan ]; then best_scan=$s; fi
    r=$((r + 1))
done

count=$("$CLI" scan "$TREE" --json | grep -o '"fileName"' | wc -l)
echo "files listed:        $count (of 15001 on disk; the limit is 15000)"
echo "find -iname '*.mp4': $((best_find / 1000)) us (best of $ROUNDS)"
echo "zentrova-cli scan:   $((best_scan / 1000)) us (best of $ROUNDS, table output)"
awk -v s="$best_scan" -v f="$best_find" 'BEGIN { printf "ratio scan/find:     %.2f (goal at most 1.5)\n", s / f }'
