# The Debian package: `cpack -G DEB` in the build directory packs what
# `cmake --install` installs under /usr. The dependencies on shared
# libraries are computed from the programs by dpkg-shlibdeps; the list below
# adds what the programs load or run without linking to it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zentrova developers")
set(CPACK_PACKAGE_CONTACT "${ZENTROVA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion for a two-channel dash camera")
# One line of the control file each; Debian wants them within 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Zentrova lists the recordings on the SD card of a front and rear dash"
    "camera, plays the front and rear pictures of a recording side by side and"
    "in step, and shows the speed, satellites, G-sensor readings and the route"
    "on a map while the video plays. It edits the camera's settings file,"
    "formats the card for the camera, writes its clock file and shows its"
    "drive log."
    ""
    "The command-line companion zentrova-cli lists recordings, exports their"
    "routes as GPX, KML or CSV, and reads the settings and drive-log files.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZENTROVA_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# libVLC's demuxer, decoders, audio output and picture callbacks
# (vlc-plugin-base), and the programs the card services run: udisksctl
# (udisks2), gdbus (libglib2.0-bin), mkfs.fat and fatlabel (dosfstools) and
# pkexec. Qt WebEngine's helper process (libqt6webenginecore6-bin) comes
# with the computed list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "vlc-plugin-base, udisks2, libglib2.0-bin, dosfstools, pkexec")
# libvlc-bin keeps libVLC's plugin cache up to date; xdg-utils opens a
# captured picture in the desktop's viewer. Qt's Wayland plugin is
# left out on purpose: the borderless window places and moves itself, which
# only X11 (XWayland on a Wayland desktop) allows.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libvlc-bin, xdg-utils")

# `make package_source` packs the sources only, never a build tree.
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build/" "/build-[^/]*/")

include(CPack)
