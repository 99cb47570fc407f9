#!/bin/sh
# The fake card of scripts/fake-card.sh as the application sees it: listed
# as a card through its tree of system files, renamed through udisks' SetLabel
# as the settings editor does it, formatted by the commands the
# formatter plans, through the stand-ins, with the real mkfs.fat; any other
# device refused; removed without a trace.
# usage: fake_card.sh SOURCE_DIR BIN_DIR
set -u
SOURCE=$1
BIN=$2
WORK=$(mktemp -d)
DIR="$WORK/card"
trap '"$SOURCE/scripts/fake-card.sh" --remove --dir "$DIR" >/dev/null 2>&1; rm -rf "$WORK"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

ZENTROVA_BIN_DIR=$BIN "$SOURCE/scripts/fake-card.sh" --dir "$DIR" --size 64 >"$WORK/setup" 2>&1 ||
    { cat "$WORK/setup" >&2; echo "FAIL: setting up" >&2; exit 1; }
grep -q "Loop devices are" "$WORK/setup" || fail "the setup does not say whether loop devices are used"
DEVICE=$(cat "$DIR/device")
MOUNTED=$(ls -d "$DIR"/root/media/*/DASHCAM 2>/dev/null)
[ -n "$MOUNTED" ] || fail "the card is not mounted at media/USER/DASHCAM"
for file in config.bin timeset.cfg DrvInfo/zentrova_000.drv; do
    [ -f "$MOUNTED/$file" ] || fail "the card lacks $file"
done

# The editor's rename of a card under another volume name, through udisks.
SET_LABEL="--method org.freedesktop.UDisks2.Filesystem.SetLabel 'CAMERA' {'auth.no_user_interaction':<true>}"
"$DIR/bin/gdbus" call --system --dest org.freedesktop.UDisks2 \
    --object-path /org/freedesktop/UDisks2/block_devices/fakecard1 $SET_LABEL >/dev/null 2>"$WORK/label.err" ||
    fail "renaming the card: $(cat "$WORK/label.err")"
label=$(dd if="$DEVICE" bs=1 skip=71 count=11 2>/dev/null)
[ "$label" = "CAMERA     " ] || fail "the label after the rename is '$label'"
grep -qx "E:ID_FS_LABEL=CAMERA" "$DIR"/root/run/udev/data/b8:97 || fail "udev does not know the new label"
"$DIR/bin/gdbus" call --system --dest org.freedesktop.UDisks2 \
    --object-path /org/freedesktop/UDisks2/block_devices/sda1 $SET_LABEL >/dev/null 2>&1 &&
    fail "the stand-in renamed another device"

PATH="$DIR/bin:$PATH" "$BIN/zentrova-cli" format-plan fakecard1 --root "$DIR/root" >"$WORK/plan" 2>"$WORK/plan.err" ||
    fail "the formatter's plan refuses the fake card: $(cat "$WORK/plan.err")"
cat >"$WORK/expected" <<PLAN
udisksctl unmount -b /dev/fakecard1
pkexec $DIR/bin/mkfs.fat -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s 1 -a /dev/fakecard1
udisksctl mount -b /dev/fakecard1
PLAN
cmp -s "$WORK/plan" "$WORK/expected" || fail "the plan is $(cat "$WORK/plan")"

while read -r line; do
    env PATH="$DIR/bin:$PATH" sh -c "$line" >/dev/null 2>"$WORK/step.err" || fail "$line: $(cat "$WORK/step.err")"
done <"$WORK/plan"
label=$(dd if="$DEVICE" bs=1 skip=71 count=11 2>/dev/null)
[ "$label" = "ZENTROVA   " ] || fail "the label after the format is '$label'"
[ ! -e "$MOUNTED" ] || fail "the old mount folder is still there"
AFTER=$(ls -d "$DIR"/root/media/*/ZENTROVA 2>/dev/null)
[ -n "$AFTER" ] && [ -z "$(ls -A "$AFTER")" ] || fail "the formatted card is not mounted empty as ZENTROVA"

"$DIR/bin/mkfs.fat" -F 32 /dev/sda >/dev/null 2>&1 && fail "the stand-in formatted another device"
"$DIR/bin/udisksctl" unmount -b /dev/sda >/dev/null 2>&1 && fail "the stand-in unmounted another device"
"$DIR/bin/udisksctl" unmount -b /dev/fakecard1 >/dev/null 2>&1 || fail "unmounting the card"
"$DIR/bin/udisksctl" unmount -b /dev/fakecard1 >/dev/null 2>&1 && fail "a card not mounted was unmounted again"
"$DIR/bin/mkfs.fat" -F 32 /dev/fakecard1 >/dev/null 2>&1 || fail "formatting the unmounted card"

LOOP=""
[ -f "$DIR/loop" ] && LOOP=$(cat "$DIR/loop")
"$SOURCE/scripts/fake-card.sh" --remove --dir "$DIR" >/dev/null
[ ! -e "$DIR" ] || fail "the card's folder is left"
if [ -n "$LOOP" ] && losetup "$LOOP" >/dev/null 2>&1; then fail "$LOOP is still attached"; fi

[ "$failures" -eq 0 ] || exit 1
echo "the fake card works"
