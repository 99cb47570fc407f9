#!/bin/bash
# Sets up a fake SD card for trying the card windows by hand (the formatter,
# the clock window, the drive-information page) without a USB stick.
#
#   scripts/fake-card.sh [--dir DIR] [--size MIB] [--label NAME]
#                        [--write-protected] [--no-settings] [--no-timeset]
#                        [--pkexec-answer 126|127] [--slow SECONDS]
#   scripts/fake-card.sh --remove [--dir DIR]
#
# The card is a FAT32 disk image (DIR/card.img, default DIR build/fake-card,
# 256 MiB, labelled DASHCAM) holding a settings file config.bin, a drive log
# DrvInfo/zentrova_000.drv, timeset.cfg and the recordings of the sample-card
# generator. Where loop devices can be used (root, /dev/loop-control), the
# image is attached to one and every tool works on that block device;
# otherwise the tools work on the image file, and the script says so.
#
# The application sees the card as /dev/fakecard1 (a name no real device
# has, so that no real disk tool can ever act on it) in a USB card reader
# through a tree of the system's files under DIR/root (the mount table,
# sysfs, the udev database), which ZENTROVA_SYSTEM_ROOT points it to. DIR/bin holds stand-ins
# for udisksctl, pkexec, mkfs.fat and gdbus (udisks' SetLabel, with which
# the settings editor renames the card), found first on PATH: they act on the
# fake card only and refuse any other device, and the format is the real
# /usr/sbin/mkfs.fat on the image or its loop device. A kernel here may not
# mount FAT file systems, so "mounted" means: the card's files are copied
# with mtools into the mount folder DIR/root/media/USER/LABEL, and copied back
# into the file system when the card is unmounted.
#
# Start the application with the card (the script prints the line):
#   ZENTROVA_SYSTEM_ROOT=DIR/root PATH=DIR/bin:$PATH build/bin/zentrova
# Read the file system itself after unmounting:
#   DIR/bin/udisksctl unmount -b /dev/fakecard1
#   MTOOLS_SKIP_CHECK=1 mcopy -i DEVICE ::config.bin - | od -A d -t x1 | head
# --write-protected marks the card read-only (the formatter refuses it);
# --pkexec-answer makes the password prompt end as dismissed (126) or not
# authorised (127); ZENTROVA_BIN_DIR names another folder of the programs
# than build/bin; --slow makes each tool take that long, so that the
# formatter's steps can be watched. Needs a build (for the sample card), dosfstools, mtools.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SELF="$ROOT/scripts/fake-card.sh"
export MTOOLS_SKIP_CHECK=1

CARD_DEVICE=fakecard1
CARD_DISK=fakecard
CARD_USER=${SUDO_USER:-${USER:-user}}
MKFS=/usr/sbin/mkfs.fat

die() { echo "fake-card: $*" >&2; exit 1; }

# mtools notes on every call that a loop device has no disk geometry.
quiet_mtools() { "$@" 2> >(grep -v "Could not get geometry" >&2); }

# --- state of the card -------------------------------------------------------

device_of() { cat "$1/device"; }
state_get() { sed -n "s/^$2=//p" "$1/state"; }
state_set() {
    local dir=$1 key=$2 value=$3
    grep -v "^$key=" "$dir/state" > "$dir/state.new" || true
    echo "$key=$value" >> "$dir/state.new"
    mv "$dir/state.new" "$dir/state"
}

# The FAT32 volume label from the boot sector, trailing blanks dropped.
read_label() {
    dd if="$1" bs=1 skip=71 count=11 2>/dev/null | tr -d '\0' | sed 's/ *$//'
}

# Blanks as the kernel writes them in mountinfo and udev in its database.
mountinfo_escape() { printf '%s' "$1" | sed 's/\\/\\134/g; s/ /\\040/g'; }
udev_escape() { printf '%s' "$1" | sed 's/ /\\x20/g'; }

write_mount_table() {
    local dir=$1 tree="$1/root"
    {
        echo "22 1 0:21 / / rw,relatime shared:1 - overlay overlay rw"
        echo "23 22 0:22 / /proc rw,nosuid,nodev,noexec shared:2 - proc proc rw"
        if [ "$(state_get "$dir" MOUNTED)" = 1 ]; then
            echo "40 22 8:97 / $(mountinfo_escape "$(state_get "$dir" MOUNT_POINT)") rw,nosuid,nodev shared:40 -" \
                 "vfat /dev/$CARD_DEVICE rw,uid=1000"
        fi
    } > "$tree/proc/self/mountinfo"
}

write_udev() {
    local dir=$1 label=$2 data="$1/root/run/udev/data"
    mkdir -p "$data"
    printf 'S:disk/by-id/usb-Zentrova_Fake_Card_Reader-0:0\nE:ID_BUS=usb\nE:ID_MODEL=Fake_Card_Reader\nE:ID_MODEL_ENC=Fake\\x20Card\\x20Reader\nE:DEVTYPE=disk\nG:systemd\n' \
        > "$data/b8:96"
    printf 'E:ID_BUS=usb\nE:ID_FS_TYPE=vfat\nE:ID_FS_LABEL=%s\nE:ID_FS_LABEL_ENC=%s\nE:DEVTYPE=partition\nG:systemd\n' \
        "${label// /_}" "$(udev_escape "$label")" > "$data/b8:97"
}

write_sysfs() {
    local dir=$1 sectors=$2 readonly=$3 tree="$1/root"
    local disk="$tree/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/host6/target6:0:0/6:0:0:0/block/$CARD_DISK"
    local part="$disk/$CARD_DEVICE"
    mkdir -p "$part" "$disk/device" "$tree/sys/class/block" "$tree/sys/dev/block"
    echo 8:96 > "$disk/dev"
    echo $((sectors + 2048)) > "$disk/size"
    echo "$readonly" > "$disk/ro"
    echo 1 > "$disk/removable"
    echo "Fake Card Reader" > "$disk/device/model"
    printf 'MAJOR=8\nMINOR=96\nDEVNAME=%s\nDEVTYPE=disk\n' "$CARD_DISK" > "$disk/uevent"
    echo 8:97 > "$part/dev"
    echo "$sectors" > "$part/size"
    echo "$readonly" > "$part/ro"
    echo 1 > "$part/partition"
    printf 'MAJOR=8\nMINOR=97\nDEVNAME=%s\nDEVTYPE=partition\n' "$CARD_DEVICE" > "$part/uevent"
    ln -sfn "$(realpath --relative-to="$tree/sys/class/block" "$disk")" "$tree/sys/class/block/$CARD_DISK"
    ln -sfn "$(realpath --relative-to="$tree/sys/class/block" "$part")" "$tree/sys/class/block/$CARD_DEVICE"
    ln -sfn "$(realpath --relative-to="$tree/sys/dev/block" "$disk")" "$tree/sys/dev/block/8:96"
    ln -sfn "$(realpath --relative-to="$tree/sys/dev/block" "$part")" "$tree/sys/dev/block/8:97"
}

# --- the stand-ins on PATH ---------------------------------------------------

# The wait that --slow asked for.
pause() { if [ -f "$1/slow" ]; then sleep "$(cat "$1/slow")"; fi; }

act_udisksctl() {
    local dir=$1 command=${2:-} flag=${3:-} device=${4:-}
    pause "$dir"
    [ "$flag" = -b ] || die "udisksctl: only 'mount -b' and 'unmount -b' are handled here"
    [ "$device" = "/dev/$CARD_DEVICE" ] || die "udisksctl: $device is not the fake card; only /dev/$CARD_DEVICE is handled"
    local image folder
    image=$(device_of "$dir")
    case $command in
    unmount)
        if [ "$(state_get "$dir" MOUNTED)" != 1 ]; then
            echo "Error unmounting $device: GDBus.Error:org.freedesktop.UDisks2.Error.NotMounted: Device $device is not mounted" >&2
            exit 1
        fi
        if [ -f "$dir/busy" ]; then
            echo "Error unmounting $device: GDBus.Error:org.freedesktop.UDisks2.Error.DeviceBusy: target is busy" >&2
            exit 1
        fi
        folder=$(state_get "$dir" MOUNT_POINT)
        folder="$dir/root$folder"
        # The folder is the truth while mounted: the file system gets its content.
        while IFS= read -r entry; do
            [ -n "$entry" ] || continue
            case $entry in
            */) quiet_mtools mdeltree -i "$image" "${entry%/}" ;;
            *) quiet_mtools mdel -i "$image" "$entry" ;;
            esac
        done < <(mdir -b -i "$image" ::/ 2>/dev/null || true)
        if [ -n "$(ls -A "$folder")" ]; then quiet_mtools mcopy -s -i "$image" "$folder"/* ::/; fi
        rm -rf "$folder"
        state_set "$dir" MOUNTED 0
        write_mount_table "$dir"
        echo "Unmounted $device."
        ;;
    mount)
        if [ "$(state_get "$dir" MOUNTED)" = 1 ]; then
            echo "Error mounting $device: GDBus.Error:org.freedesktop.UDisks2.Error.AlreadyMounted: Device $device is already mounted at \`$(state_get "$dir" MOUNT_POINT)'." >&2
            exit 1
        fi
        local label
        label=$(read_label "$image")
        [ -n "$label" ] || label="NO NAME"
        local point="/media/$CARD_USER/$label"
        folder="$dir/root$point"
        mkdir -p "$folder"
        mcopy -s -n -i "$image" '::*' "$folder" 2>/dev/null || true
        state_set "$dir" MOUNTED 1
        state_set "$dir" MOUNT_POINT "$point"
        write_udev "$dir" "$label"
        write_mount_table "$dir"
        echo "Mounted $device at $folder"
        ;;
    *) die "udisksctl: $command is not handled here" ;;
    esac
}

act_mkfs() {
    local dir=$1
    shift
    local args=("$@")
    local last=$((${#args[@]} - 1))
    [ "$last" -ge 0 ] && [ "${args[$last]}" = "/dev/$CARD_DEVICE" ] ||
        die "mkfs.fat: only /dev/$CARD_DEVICE, the fake card, is formatted here"
    [ "$(state_get "$dir" MOUNTED)" != 1 ] || die "mkfs.fat: /dev/$CARD_DEVICE contains a mounted filesystem."
    args[$last]=$(device_of "$dir")
    pause "$dir"
    exec "$MKFS" "${args[@]}"
}

# udisks' SetLabel, as the settings editor calls it through gdbus to give a
# card the camera's volume name; every other call is refused.
act_gdbus() {
    local dir=$1
    shift
    local path="" method="" name=""
    while [ $# -gt 0 ]; do
        case $1 in
        --object-path) path=$2; shift ;;
        --method) method=$2; name=${3:-}; shift ;;
        esac
        shift
    done
    [ "$path" = "/org/freedesktop/UDisks2/block_devices/$CARD_DEVICE" ] ||
        die "gdbus: $path is not the fake card; only /dev/$CARD_DEVICE is handled"
    [ "$method" = org.freedesktop.UDisks2.Filesystem.SetLabel ] || die "gdbus: only SetLabel is handled here"
    name=${name#\'}
    name=${name%\'}
    [ -n "$name" ] || die "gdbus: SetLabel needs a label"
    if [ "$(cat "$dir/root/sys/class/block/$CARD_DEVICE/ro")" = 1 ]; then
        echo "Error: GDBus.Error:org.freedesktop.UDisks2.Error.Failed: Error changing label: read-only device" >&2
        exit 1
    fi
    pause "$dir"
    quiet_mtools mlabel -i "$(device_of "$dir")" "::$name"
    write_udev "$dir" "$(read_label "$(device_of "$dir")")"
    echo "()"
}

act_pkexec() {
    local dir=$1
    shift
    if [ -f "$dir/pkexec-answer" ]; then exit "$(cat "$dir/pkexec-answer")"; fi
    exec "$@"
}

write_stand_ins() {
    local dir=$1
    mkdir -p "$dir/bin"
    for tool in udisksctl mkfs.fat pkexec gdbus; do
        printf '#!/bin/sh\n# The fake card'"'"'s %s (scripts/fake-card.sh).\nexec "%s" --act %s "%s" "$@"\n' \
            "$tool" "$SELF" "$tool" "$dir" > "$dir/bin/$tool"
        chmod +x "$dir/bin/$tool"
    done
}

# --- setting up and removing -------------------------------------------------

remove_card() {
    local dir=$1
    [ -d "$dir" ] || return 0
    if [ -f "$dir/loop" ]; then losetup -d "$(cat "$dir/loop")" 2>/dev/null || true; fi
    rm -rf "$dir"
}

card_files() {
    local files=$1 settings=$2 timeset=$3
    local generator="${ZENTROVA_BIN_DIR:-$ROOT/build/bin}/zentrova-samplecard"
    [ -x "$generator" ] || die "build first (scripts/build.sh): $generator is missing"
    local sample="$files.sample"
    rm -rf "$sample"
    "$generator" --count 1 --duration 2 "$sample" > /dev/null
    cp -r "$sample"/. "$files"/
    rm -rf "$sample"
    [ "$settings" = 1 ] || rm -f "$files/config.bin"
    if [ "$timeset" = 1 ]; then printf '2020/01/01 00:00:00' > "$files/timeset.cfg"; else rm -f "$files/timeset.cfg"; fi
}

setup_card() {
    local dir=$1 size=$2 label=$3 readonly=$4 settings=$5 timeset=$6 answer=$7 slow=$8
    case $dir in *" "*) die "the folder must not hold blanks: $dir" ;; esac
    remove_card "$dir"
    mkdir -p "$dir/root/proc/self" "$dir/files"
    : > "$dir/state"
    card_files "$dir/files" "$settings" "$timeset"

    local image="$dir/card.img"
    truncate -s "${size}M" "$image"
    "$MKFS" -F 32 -n "$label" "$image" > /dev/null
    mcopy -s -i "$image" "$dir/files"/* ::/
    rm -rf "$dir/files"

    local device=$image loop=""
    if [ "$(id -u)" = 0 ] && [ -e /dev/loop-control ] && loop=$(losetup -f --show "$image" 2>/dev/null); then
        echo "$loop" > "$dir/loop"
        device=$loop
        echo "Loop devices are available: the card's image is attached to $loop, and the tools work on it."
    else
        loop=""
        echo "Loop devices are NOT available here (they need root and /dev/loop-control):" \
             "the tools work on the image file $image itself."
    fi
    echo "$device" > "$dir/device"
    [ -z "$answer" ] || echo "$answer" > "$dir/pkexec-answer"

    write_sysfs "$dir" $((size * 2048)) "$readonly"
    state_set "$dir" MOUNTED 0
    write_mount_table "$dir"
    write_stand_ins "$dir"
    "$dir/bin/udisksctl" mount -b "/dev/$CARD_DEVICE" > /dev/null
    [ -z "$slow" ] || echo "$slow" > "$dir/slow"
    local point
    point=$(state_get "$dir" MOUNT_POINT)

    cat <<EOF
The fake card /dev/$CARD_DEVICE ($size MiB, labelled $label$([ "$readonly" = 1 ] && echo ", write-protected")) is mounted at
  $dir/root$point
Start the application with it:
  ZENTROVA_SYSTEM_ROOT=$dir/root PATH=$dir/bin:\$PATH $ROOT/build/bin/zentrova
Its file system, after "$dir/bin/udisksctl unmount -b /dev/$CARD_DEVICE":
  MTOOLS_SKIP_CHECK=1 mdir -i $device ::
Remove it with: $SELF --remove --dir $dir
EOF
}

if [ "${1:-}" = --act ]; then
    tool=$2 dir=$3
    shift 3
    case $tool in
    udisksctl) act_udisksctl "$dir" "$@" ;;
    mkfs.fat) act_mkfs "$dir" "$@" ;;
    pkexec) act_pkexec "$dir" "$@" ;;
    gdbus) act_gdbus "$dir" "$@" ;;
    *) die "unknown tool $tool" ;;
    esac
    exit 0
fi

DIR="$ROOT/build/fake-card" SIZE=256 LABEL=DASHCAM READONLY=0 SETTINGS=1 TIMESET=1 ANSWER="" SLOW="" REMOVE=0
while [ $# -gt 0 ]; do
    case $1 in
    --dir) DIR=$(realpath -m "$2"); shift ;;
    --size) SIZE=$2; shift ;;
    --label) LABEL=$2; shift ;;
    --write-protected) READONLY=1 ;;
    --no-settings) SETTINGS=0 ;;
    --no-timeset) TIMESET=0 ;;
    --pkexec-answer) ANSWER=$2; shift ;;
    --slow) SLOW=$2; shift ;;
    --remove) REMOVE=1 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) die "unknown argument $1 (see --help)" ;;
    esac
    shift
done
case $SIZE in ''|*[!0-9]*) die "--size takes a number of MiB" ;; esac
case $ANSWER in ''|126|127) ;; *) die "--pkexec-answer takes 126 or 127" ;; esac
case $SLOW in ''|[0-9]|[0-9][0-9]) ;; *) die "--slow takes whole seconds, up to 99" ;; esac
[ "$SIZE" -ge 64 ] || die "--size: FAT32 needs at least 64 MiB here"

if [ "$REMOVE" = 1 ]; then
    remove_card "$DIR"
    echo "Removed the fake card in $DIR."
else
    setup_card "$DIR" "$SIZE" "$LABEL" "$READONLY" "$SETTINGS" "$TIMESET" "$ANSWER" "$SLOW"
fi
