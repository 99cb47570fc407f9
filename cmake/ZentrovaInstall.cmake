# What `cmake --install` puts where a desktop finds it: the two programs, the
# menu entry, the icon in the icon theme, the software-centre entry and the
# man pages. Generated files are made under build/desktop/ by the build.
include(GNUInstallDirs)

# The desktop and AppStream id: it names the menu entry, the icon and the
# metainfo file, and must never change once released.
set(ZENTROVA_APP_ID org.zentrova.companion)
set(ZENTROVA_HOMEPAGE_URL "https://zentrova.org" CACHE STRING
    "Home page of the project; the metainfo's screenshot is its screenshots/3-playing.png")
set(ZENTROVA_PACKAGE_MAINTAINER "Zentrova developers <developers@zentrova.org>" CACHE STRING
    "Maintainer of the Debian package and of its changelog entry")
# The day this version was released: the date of the man pages, of the
# metainfo's release and of the package's changelog entry (2026-12-09).
set(ZENTROVA_RELEASE_EPOCH 1796774400)

# Directories made by the install get 755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH when it is set, which is the
# one way CMake formats a given time.
function(zentrova_format_release_date out format)
    set(saved "$ENV{SOURCE_DATE_EPOCH}")
    set(ENV{SOURCE_DATE_EPOCH} ${ZENTROVA_RELEASE_EPOCH})
    string(TIMESTAMP text "${format}" UTC)
    set(ENV{SOURCE_DATE_EPOCH} "${saved}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
zentrova_format_release_date(ZENTROVA_RELEASE_DATE "%Y-%m-%d")
zentrova_format_release_date(ZENTROVA_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000")

set(ZENTROVA_DESKTOP_SOURCE_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(ZENTROVA_DESKTOP_BINARY_DIR ${PROJECT_BINARY_DIR}/desktop)
set(ZENTROVA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zentrova)
file(MAKE_DIRECTORY ${ZENTROVA_DESKTOP_BINARY_DIR})

# Man pages are installed compressed, without name or time stamp in the
# gzip header so that the same page always gives the same bytes.
function(zentrova_gzip_file source)
    add_custom_command(OUTPUT ${source}.gz
        COMMAND gzip -9 -n -f -k ${source}
        DEPENDS ${source}
        COMMENT "Compressing ${source}"
        VERBATIM)
endfunction()

set(ZENTROVA_CLI_MAN_PAGE ${ZENTROVA_DESKTOP_BINARY_DIR}/zentrova-cli.1)
add_custom_command(OUTPUT ${ZENTROVA_CLI_MAN_PAGE}
    COMMAND zentrova-manpage $<TARGET_FILE:zentrova-cli> ${ZENTROVA_CLI_MAN_PAGE} ${ZENTROVA_RELEASE_DATE} "zentrova(1)"
    DEPENDS zentrova-manpage zentrova-cli
    COMMENT "Writing the man page of zentrova-cli from its --help texts"
    VERBATIM)
zentrova_gzip_file(${ZENTROVA_CLI_MAN_PAGE})

configure_file(${ZENTROVA_DESKTOP_SOURCE_DIR}/changelog.in ${ZENTROVA_DESKTOP_BINARY_DIR}/changelog @ONLY)
zentrova_gzip_file(${ZENTROVA_DESKTOP_BINARY_DIR}/changelog)

set(zentrova_generated ${ZENTROVA_CLI_MAN_PAGE}.gz ${ZENTROVA_DESKTOP_BINARY_DIR}/changelog.gz)

install(TARGETS zentrova-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZENTROVA_CLI_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZENTROVA_DESKTOP_SOURCE_DIR}/copyright ${ZENTROVA_DESKTOP_BINARY_DIR}/changelog.gz
        DESTINATION ${ZENTROVA_DOC_DIR})

if(ZENTROVA_BUILD_UI)
    # The Wayland app id and the X11 window class lead the desktop from the
    # window to its menu entry and icon.
    target_compile_definitions(zentrova PRIVATE ZENTROVA_DESKTOP_ID="${ZENTROVA_APP_ID}")

    set(ZENTROVA_DESKTOP_FILE ${ZENTROVA_DESKTOP_BINARY_DIR}/${ZENTROVA_APP_ID}.desktop)
    set(ZENTROVA_METAINFO_FILE ${ZENTROVA_DESKTOP_BINARY_DIR}/${ZENTROVA_APP_ID}.metainfo.xml)
    configure_file(${ZENTROVA_DESKTOP_SOURCE_DIR}/zentrova.desktop.in ${ZENTROVA_DESKTOP_FILE} @ONLY)
    configure_file(${ZENTROVA_DESKTOP_SOURCE_DIR}/zentrova.metainfo.xml.in ${ZENTROVA_METAINFO_FILE} @ONLY)
    configure_file(${ZENTROVA_DESKTOP_SOURCE_DIR}/zentrova.1.in ${ZENTROVA_DESKTOP_BINARY_DIR}/zentrova.1 @ONLY)
    zentrova_gzip_file(${ZENTROVA_DESKTOP_BINARY_DIR}/zentrova.1)

    # The application's own icon (also its window icon) is the theme's
    # scalable icon; the PNG sizes are rendered from it.
    set(ZENTROVA_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/images/zentrova.svg)
    set(ZENTROVA_ICON_SIZES 16 22 24 32 48 64 128 256 512)
    set(icon_arguments)
    set(icon_files)
    foreach(size ${ZENTROVA_ICON_SIZES})
        set(png ${ZENTROVA_DESKTOP_BINARY_DIR}/icons/${size}x${size}/apps/${ZENTROVA_APP_ID}.png)
        file(MAKE_DIRECTORY ${ZENTROVA_DESKTOP_BINARY_DIR}/icons/${size}x${size}/apps)
        list(APPEND icon_arguments ${size} ${png})
        list(APPEND icon_files ${png})
    endforeach()
    add_custom_command(OUTPUT ${icon_files}
        COMMAND zentrova-iconrender ${ZENTROVA_ICON_SVG} ${icon_arguments}
        DEPENDS zentrova-iconrender ${ZENTROVA_ICON_SVG}
        COMMENT "Rendering the application icon"
        VERBATIM)
    list(APPEND zentrova_generated ${icon_files} ${ZENTROVA_DESKTOP_BINARY_DIR}/zentrova.1.gz)

    install(TARGETS zentrova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${ZENTROVA_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${ZENTROVA_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${ZENTROVA_DESKTOP_BINARY_DIR}/zentrova.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(DIRECTORY ${ZENTROVA_DESKTOP_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${ZENTROVA_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${ZENTROVA_APP_ID}.svg)
endif()

add_custom_target(zentrova_desktop_files ALL DEPENDS ${zentrova_generated})
