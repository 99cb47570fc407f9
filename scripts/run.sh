#!/bin/sh
# Sets up, builds and starts the application. With a directory argument the
# application opens it at start; without one it opens the demo card, which is
# generated once under the user's cache folder.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/build.sh"
BIN="$ROOT/build/bin"

if [ "$#" -ge 1 ]; then
    exec "$BIN/zentrova" "$1"
fi

if [ -x "$BIN/zentrova-samplecard" ]; then
    DEMO="${XDG_CACHE_HOME:-$HOME/.cache}/zentrova/demo-card"
    if [ ! -f "$DEMO/.complete" ]; then
        echo "Generating the demo card in $DEMO ..." >&2
        rm -rf "$DEMO.tmp"
        mkdir -p "$DEMO.tmp"
        # A card half written (ffmpeg missing, disk full) is never opened as the demo.
        if "$BIN/zentrova-samplecard" "$DEMO.tmp"; then
            rm -rf "$DEMO"
            mv "$DEMO.tmp" "$DEMO"
            touch "$DEMO/.complete"
        else
            rm -rf "$DEMO.tmp"
            echo "The demo card could not be generated; starting without it." >&2
            exec "$BIN/zentrova"
        fi
    fi
    exec "$BIN/zentrova" "$DEMO"
fi
exec "$BIN/zentrova"
