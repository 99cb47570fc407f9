#!/bin/sh
# Installs the Debian packages the project builds, tests and runs with.
# Safe to run again: apt-get skips what is already there.
set -eu

PACKAGES="
build-essential cmake pkg-config git ca-certificates
qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-svg-dev
qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin qt6-l10n-tools
libgl-dev libxkbcommon-dev
libvlc-dev libvlccore-dev vlc-plugin-base vlc-plugin-video-output libyuv-dev
libgtest-dev libgmock-dev googletest libbenchmark-dev
libudev-dev libcups2-dev
ffmpeg dosfstools mtools udisks2 policykit-1 libglib2.0-bin
dbus python3-dbus python3-gi
libjs-leaflet
clang libclang-rt-14-dev
gpsbabel
xvfb xauth imagemagick xdotool time vlc-bin
fonts-dejavu-core
dpkg-dev lintian desktop-file-utils appstream man-db groff-base
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

echo "Installing:$missing" >&2
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
