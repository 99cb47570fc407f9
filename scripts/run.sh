#!/bin/sh
# Sets up, builds and starts the application. With a directory argument the
# application opens it at start; without one it opens the demo card, which is
# generated under the user's cache folder (again after the generator changed).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/build.sh"
BIN="$ROOT/build/bin"

if [ "$#" -ge 1 ]; then
    exec "$BIN/zentrova" "$1"
fi

if DEMO=$("$ROOT/scripts/demo-card.sh"); then
    exec "$BIN/zentrova" "$DEMO"
fi
echo "The demo card could not be generated; starting without it." >&2
exec "$BIN/zentrova"
