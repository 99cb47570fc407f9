#!/bin/bash
# Starts the application under Xvfb on the demo card (or the given
# directory), plays the first recording and writes screenshots into
# build/screenshots/: the table, the map, playing, full screen, the menu,
# the capture and print dialogs, the play button under the pointer and held
# down, the range slider, the settings editor and its Video, Basic, GPS,
# Parking, System, Driver Assistance and Audio pages, the whole picture and
# the play bar with the keyboard's focus and the sound off, the card check
# and the recordings table's context menu; then, on a fake card, the clock
# window, the Drive Log page, its map window and the card formatter.
# Needs a build (scripts/build.sh), xvfb, xdotool, imagemagick, and for the
# fake card dosfstools and mtools.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN="$ROOT/build/bin"
OUT="$ROOT/build/screenshots"
mkdir -p "$OUT"

CARD="${1:-}"
if [ -z "$CARD" ]; then
    CARD=$("$ROOT/scripts/demo-card.sh")
fi

if [ -z "${ZENTROVA_IN_XVFB:-}" ]; then
    ZENTROVA_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$CARD"
fi

export QT_QPA_PLATFORM=xcb
"$BIN/zentrova" "$CARD" >"$OUT/app.log" 2>&1 &
APP=$!
trap 'kill $APP 2>/dev/null || true' EXIT

# Sets FOUND to the first visible window whose name matches.
find_window() {
    FOUND=""
    for _ in $(seq 50); do
        FOUND=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        [ -n "$FOUND" ] && break
        sleep 0.2
    done
    [ -n "$FOUND" ] || { echo "no window named $1 appeared" >&2; exit 1; }
}
find_window "^Zentrova$"
sleep 3
# Looked up again: the first window seen can be replaced while it starts.
find_window "^Zentrova$"
WINDOW=$FOUND
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"   # X, Y, WIDTH, HEIGHT

# Points inside the window, from its top-left corner: the side column is
# 334 wide with a 10 margin; its buttons are 32 high under the 50 head.
click_at() { xdotool mousemove $((X + $1)) $((Y + $2)) click --repeat "${3:-1}" --delay 80 1; }
RIGHT=$((WIDTH - 10 - 334))

shot() { sleep "$2"; import -window root "$OUT/$1.png"; echo "$OUT/$1.png"; }

shot 1-table 0.5
click_at $((RIGHT + 250)) 66          # the map button
shot 2-map 2
click_at $((RIGHT + 83)) 66           # back to the recordings
sleep 1
click_at $((RIGHT + 167)) 153 2       # double-click the first recording
shot 3-playing 2
click_at $((RIGHT + 250)) 66          # the map while playing
shot 4-playing-map 2
xdotool windowfocus --sync "$WINDOW" key f
shot 5-fullscreen 2
xdotool windowfocus --sync "$WINDOW" key Escape
shot 6-after-fullscreen 1
click_at $((WIDTH - 150)) 25           # the head bar's menu button
shot 7-menu 1
xdotool key Escape

# Capture and print while the recording plays: the save dialog, then the
# print dialog, each dismissed again.
xdotool windowfocus --sync "$WINDOW" key ctrl+s
shot 7a-capture-save 1.5
xdotool key Escape
sleep 0.5
xdotool windowfocus --sync "$WINDOW" key ctrl+p
shot 7b-capture-print 1.5
xdotool key Escape
sleep 0.5

# The image buttons' states: the play button under the pointer, then held
# down (letting go pauses), and the range slider's looks drawn offscreen.
PLAY_X=$(((WIDTH - 344) / 2 - 30))
PLAY_Y=$((HEIGHT - 38))
xdotool mousemove $((X + PLAY_X)) $((Y + PLAY_Y))
shot 8-play-rollover 1
xdotool mousedown 1
shot 9-play-pressed 0.5
xdotool mouseup 1
ZENTROVA_SCREENSHOT_DIR="$OUT" QT_QPA_PLATFORM=offscreen "$BIN/controls_tests" \
    --gtest_filter=SMDoubleSliderTest.TheFocusRingMarksTheSelectedKnob >/dev/null
echo "$OUT/10-range-slider.png"

# The settings editor over the card shown: no card reader here, so it offers
# the shown folder's config.bin; Space takes the offer, which has the focus.
xdotool windowfocus --sync "$WINDOW" key ctrl+comma
find_window "^Camera Settings"
EDITOR=$FOUND
shot 11-settings-offer 1
xdotool windowfocus --sync "$EDITOR" key space
shot 12-settings-video 2

# The Basic, GPS and Parking pages: the tabs share the row under the
# editor's top edge, so each is clicked in the middle of its eighth.
eval "$(xdotool getwindowgeometry --shell "$EDITOR")"   # X, Y, WIDTH, HEIGHT
click_tab() { xdotool mousemove $((X + 16 + (2 * $1 + 1) * (WIDTH - 32) / 16)) $((Y + 26)) click 1; }
click_tab 1
shot 13-settings-basic 1
click_tab 2
shot 14-settings-gps 1
click_tab 4
shot 15-settings-motion 1

# The System page.
click_tab 3
shot 16-settings-system 1

# The driver-assistance and audio pages.
click_tab 5
shot 17-settings-adas 1
click_tab 6
shot 18-settings-audio 1

# The viewer from the keyboard: the whole picture in both views (A, pressed
# again to leave it as it was), then the play bar reached with Tab, its
# focus ring on a button, and the sound off (M).
xdotool key Escape
find_window "^Zentrova$"
WINDOW=$FOUND
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"   # the editor's took the names
RIGHT=$((WIDTH - 10 - 334))
click_at $((RIGHT + 83)) 66           # back to the recordings
sleep 1
click_at $((RIGHT + 167)) 153 2       # the first recording again: it has both sides
sleep 1.5
xdotool windowfocus --sync "$WINDOW" key a
shot 19-whole-picture 1.5
xdotool windowfocus --sync "$WINDOW" key a
click_at $((RIGHT + 167)) 198         # the table has the keys: framed
# From the table: the head bar's ten buttons, the slider, the speed, the
# two size steps, back, then play.
xdotool windowfocus --sync "$WINDOW" key --delay 100 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab m
shot 20-play-bar-focus-muted 1


# The card check of the shown folder (Ctrl+K in the main window), and the
# table's context menu with the incident export.
xdotool windowfocus --sync "$WINDOW" key ctrl+k
find_window "^Card Check$"
CHECK=$FOUND
xdotool windowsize --sync "$CHECK" 1100 700
shot 21-card-check 4
xdotool windowfocus --sync "$CHECK" key ctrl+w
sleep 0.5
xdotool mousemove $((X + RIGHT + 167)) $((Y + 147)) click 3
shot 22-recording-menu 1
xdotool key Escape
# The card windows, in a second run on a fake card (scripts/fake-card.sh):
# the editor reads the card's config.bin and hands the drive log to its
# Drive Log page, whose double-clicked row opens the map window; the
# formatter and the clock window list the card.
kill $APP 2>/dev/null || true
wait $APP 2>/dev/null || true
FAKE="$ROOT/build/fake-card-shots"
# Labelled as the camera labels it, so that the editor has nothing to rename.
"$ROOT/scripts/fake-card.sh" --dir "$FAKE" --label ZENTROVA > "$OUT/fake-card.log"
trap 'kill $APP 2>/dev/null || true; "$ROOT/scripts/fake-card.sh" --remove --dir "$FAKE" > /dev/null' EXIT
ZENTROVA_SYSTEM_ROOT="$FAKE/root" PATH="$FAKE/bin:$PATH" "$BIN/zentrova" > "$OUT/app-card.log" 2>&1 &
APP=$!
find_window "^Zentrova$"
sleep 3
find_window "^Zentrova$"
WINDOW=$FOUND
xdotool windowfocus --sync "$WINDOW" key ctrl+t
find_window "^Set Camera Clock"
shot 23-clock 2
xdotool windowfocus --sync "$FOUND" key Escape
sleep 0.5
xdotool windowfocus --sync "$WINDOW" key ctrl+comma
find_window "^Camera Settings"
EDITOR=$FOUND
sleep 2
eval "$(xdotool getwindowgeometry --shell "$EDITOR")"   # X, Y, WIDTH, HEIGHT
EDITOR_X=$X EDITOR_Y=$Y EDITOR_W=$WIDTH EDITOR_H=$HEIGHT
click_tab 7
shot 24-settings-drive-log 2
# The second row of the table, under the page title and the table's header.
xdotool mousemove $((EDITOR_X + 200)) $((EDITOR_Y + 138)) click --repeat 2 --delay 80 1
find_window "^Map$"
shot 25-drive-log-map 5
# The format button, first of the editor's bottom row.
xdotool mousemove $((EDITOR_X + 70)) $((EDITOR_Y + EDITOR_H - 30)) click 1
find_window "^Format SD Card"
shot 26-formatter 2
