#!/bin/bash
# Playback measurements on a generated 1920x1080 pair (made once into
# build/bench-media): start time, player offsets and memory from
# bench_playback, then CPU time of the application playing the pair for
# 30 s against two cvlc processes decoding the same files for 30 s.
set -euo pipefail
BIN="$(cd "$(dirname "$0")" && pwd)"
MEDIA="$BIN/../bench-media"
SECONDS_PLAYED="${1:-60}"
# Long enough for every stage at 2x; a GOP of one second, as cameras write.
CLIP_SECONDS=150
mkdir -p "$MEDIA"
FRONT="$MEDIA/front_1080p_coded.mp4"
REAR="$MEDIA/rear_1080p_coded.mp4"
# Each frame carries its number in 13 black or white blocks across the
# middle of the picture, so the benchmark can read which frame each player
# shows at the same instant.
CODE_STRIP="color=black:size=13x1:rate=30:duration=$CLIP_SECONDS,format=gray,geq=lum='255*mod(floor(N/pow(2\,X))\,2)',scale=1920:120:flags=neighbor"
if [ ! -f "$FRONT" ] || [ ! -f "$REAR" ]; then
    echo "making a 1080p pair of $CLIP_SECONDS s (once)..." >&2
    ffmpeg -v error -y -f lavfi -i "testsrc2=size=1920x1080:rate=30:duration=$CLIP_SECONDS" \
        -f lavfi -i "$CODE_STRIP" \
        -f lavfi -i "sine=frequency=440:duration=$CLIP_SECONDS" \
        -filter_complex "[0:v][1:v]overlay=0:480,format=yuv420p[v]" -map "[v]" -map 2:a \
        -c:v libx264 -preset ultrafast -g 30 -c:a aac "$FRONT"
    ffmpeg -v error -y -f lavfi -i "smptehdbars=size=1920x1080:rate=30:duration=$CLIP_SECONDS" \
        -f lavfi -i "$CODE_STRIP" \
        -filter_complex "[0:v][1:v]overlay=0:480,format=yuv420p[v]" -map "[v]" \
        -c:v libx264 -preset ultrafast -g 30 -an "$REAR"
fi
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

echo "== start, offsets, memory ($SECONDS_PLAYED s of sampling)"
"$BIN/bench_playback" "$FRONT" "$REAR" --seconds "$SECONDS_PLAYED" 2>/dev/null | grep -E '^(start|frames|offset|memory|--)'

echo "== CPU for 30 s of play"
TIMES="$(mktemp)"
trap 'rm -f "$TIMES"' EXIT
/usr/bin/time -o "$TIMES" -f '%U %S' "$BIN/bench_playback" "$FRONT" "$REAR" --seconds 30 --play-only >/dev/null 2>&1
APP=$(awk '{print $1 + $2}' "$TIMES")
# cvlc refuses to run as root.
AS_USER=""
if [ "$(id -u)" = 0 ]; then AS_USER="runuser -u nobody --"; fi
/usr/bin/time -o "$TIMES" -f '%U %S' $AS_USER bash -c "cvlc -q --aout=dummy --vout=dummy --play-and-exit --run-time=30 '$FRONT' & cvlc -q --aout=dummy --vout=dummy --play-and-exit --run-time=30 '$REAR' & wait" >/dev/null 2>&1
REF=$(awk '{print $1 + $2}' "$TIMES")
awk -v a="$APP" -v r="$REF" 'BEGIN { printf "cpu    application %.1f s, two cvlc %.1f s, ratio %.2f (goal <= 1.2; the application also loads the map page)\n", a, r, a / r }'
