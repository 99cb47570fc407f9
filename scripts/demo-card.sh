#!/bin/sh
# Prints the folder of the demo card, generating it first when it is missing
# or was made by an earlier build of the generator. Exits non-zero, with
# nothing printed, when it cannot be generated (ffmpeg missing, disk full):
# a card half written is never handed out.
set -eu
BIN=$(cd "$(dirname "$0")/.." && pwd)/build/bin
GENERATOR="$BIN/zentrova-samplecard"
DEMO="${XDG_CACHE_HOME:-$HOME/.cache}/zentrova/demo-card"
[ -x "$GENERATOR" ] || exit 1

# The generator's own checksum marks a complete card and which build made it.
MADE_BY=$(cksum < "$GENERATOR")
if [ "$(cat "$DEMO/.complete" 2>/dev/null || true)" != "$MADE_BY" ]; then
    echo "Generating the demo card in $DEMO ..." >&2
    rm -rf "$DEMO.tmp"
    mkdir -p "$DEMO.tmp"
    if ! "$GENERATOR" "$DEMO.tmp" >&2; then
        rm -rf "$DEMO.tmp"
        exit 1
    fi
    rm -rf "$DEMO"
    mv "$DEMO.tmp" "$DEMO"
    echo "$MADE_BY" > "$DEMO/.complete"
fi
echo "$DEMO"
