#!/bin/sh
# Runs zentrova-cli on special files and on outputs that are their inputs.
# Every run must end by itself (a FIFO once blocked telemetry and export for
# ever; timeout turns that into a failure) with a clear one-line message, and
# no input may be changed.
# usage: special_files.sh PATH_TO_ZENTROVA_CLI
set -u
CLI=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect STATUS TEXT COMMAND...: the command ends within the time limit
# with STATUS, and TEXT is part of what it printed.
expect() {
    want=$1
    text=$2
    shift 2
    timeout 30 "$@" >"$WORK/stdout" 2>"$WORK/stderr"
    got=$?
    if [ "$got" -eq 124 ]; then
        fail "did not end: $*"
        return
    fi
    [ "$got" -eq "$want" ] || fail "exit status $got, not $want: $* ($(cat "$WORK/stderr"))"
    cat "$WORK/stdout" "$WORK/stderr" | grep -qF -- "$text" || fail "no \"$text\" from: $* ($(cat "$WORK/stderr"))"
}

# unchanged FILE COPY: the input is as it was.
unchanged() {
    cmp -s "$1" "$2" || fail "$1 was changed"
}

# A card whose only recording is a FIFO without a writer.
CARD=$WORK/card
mkdir -p "$CARD/Normal"
FIFO=$CARD/Normal/alwa_20240312_081500_F.MP4
mkfifo "$FIFO"
expect 2 "cannot read $FIFO: not a regular file (a FIFO)" "$CLI" telemetry "$FIFO" --json
expect 2 "not a regular file (a FIFO)" "$CLI" telemetry "$FIFO" --gpx -o "$WORK/track.gpx"
expect 1 "$FIFO: cannot be read (not a regular file (a FIFO)), skipped" "$CLI" export "$CARD" "$WORK/tracks" --gpx
expect 1 "0 without telemetry, 1 unreadable" "$CLI" export "$CARD" "$WORK/tracks" --csv
expect 0 "$FIFO" "$CLI" scan "$CARD"
expect 0 "\"medias\":[{\"path\":\"$FIFO\"" "$CLI" scan "$CARD" --json
expect 2 "not a regular file (a FIFO)" "$CLI" drv "$FIFO"
expect 2 "not a regular file (a FIFO)" "$CLI" config show "$FIFO"

# Outputs that are their inputs, by the same name, through a link and as a
# hard link.
RECORDING=$WORK/alwa_20240312_081500_F.MP4
printf 'a recording that must stay' >"$RECORDING"
cp "$RECORDING" "$WORK/recording.copy"
ln -s "$RECORDING" "$WORK/link.gpx"
ln "$RECORDING" "$WORK/hard.gpx"
for out in "$RECORDING" "$WORK/link.gpx" "$WORK/hard.gpx"; do
    expect 2 "is the input file $RECORDING itself" "$CLI" telemetry "$RECORDING" --gpx -o "$out"
    unchanged "$RECORDING" "$WORK/recording.copy"
done

DRV=$WORK/zentrova_000.drv
printf '\001\000\000\000' >"$DRV"
cp "$DRV" "$WORK/drv.copy"
ln -s "$DRV" "$WORK/drv-link.csv"
for out in "$DRV" "$WORK/drv-link.csv"; do
    expect 2 "is the input file $DRV itself" "$CLI" drv "$DRV" --csv "$out"
    unchanged "$DRV" "$WORK/drv.copy"
done

CONFIG=$WORK/config.bin
head -c 500 /dev/zero >"$CONFIG"
cp "$CONFIG" "$WORK/config.copy"
expect 2 "is the input file $CONFIG itself" "$CLI" config prepare "$CONFIG" "$CONFIG"
unchanged "$CONFIG" "$WORK/config.copy"

EXPORTED=$WORK/exported
mkdir -p "$EXPORTED" "$WORK/card2"
cp "$RECORDING" "$WORK/card2/"
cp "$RECORDING" "$WORK/card2.copy"
ln -s "$WORK/card2/alwa_20240312_081500_F.MP4" "$EXPORTED/alwa_20240312_081500_F.kml"
expect 2 "is the recording $WORK/card2/alwa_20240312_081500_F.MP4 itself; nothing was written" \
    "$CLI" export "$WORK/card2" "$EXPORTED" --kml
unchanged "$WORK/card2/alwa_20240312_081500_F.MP4" "$WORK/card2.copy"

expect 2 "the output file name is empty" "$CLI" telemetry "$RECORDING" --gpx -o ""

if [ "$failures" -ne 0 ]; then
    echo "$failures checks failed" >&2
    exit 1
fi
echo "all special-file checks passed"
