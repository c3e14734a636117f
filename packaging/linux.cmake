# Linux: the install rules and the Debian package (cpack).

# The text files, filled in from the one version, address and id; the manual
# page from the built program's own --help and --version, so the two cannot
# disagree, plus the sections in nudgewick.h2m.
set(linux ${CMAKE_CURRENT_SOURCE_DIR}/linux)
set(out ${CMAKE_CURRENT_BINARY_DIR})
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG release_line REGEX "^${NUDGEWICK_DISPLAY_VERSION} \\(")
string(REGEX MATCH "[0-9]+-[0-9]+-[0-9]+" NUDGEWICK_RELEASE_DATE "${release_line}")
if(NOT NUDGEWICK_RELEASE_DATE)
    message(FATAL_ERROR "CHANGELOG has no line \"${NUDGEWICK_DISPLAY_VERSION} (YYYY-MM-DD)\" for this version")
endif()
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^.*\n(Permission)" "\\1" license "${license}")  # the text after the copyright line
string(REGEX REPLACE "\n+$" "" license "${license}")
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " license "${license}")
set(NUDGEWICK_LICENSE_PARAGRAPHS " ${license}")
configure_file(${linux}/copyright.in ${out}/copyright @ONLY)
# The desktop entry names the program by its installed path: KWin lets a
# Wayland client use its fake input only when an entry with an absolute Exec=
# names it (see X-KDE-Wayland-Interfaces in the entry).
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(NUDGEWICK_INSTALLED_PROGRAM ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/nudgewick)
configure_file(${linux}/nudgewick.desktop.in ${out}/${NUDGEWICK_APP_ID}.desktop @ONLY)
configure_file(${linux}/nudgewick.metainfo.xml.in ${out}/${NUDGEWICK_APP_ID}.metainfo.xml @ONLY)
configure_file(${linux}/nudgewick.h2m ${out}/nudgewick.h2m @ONLY)

find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${out}/nudgewick.1.gz
    COMMAND ${HELP2MAN} --no-info --include=${out}/nudgewick.h2m
            --output=${out}/nudgewick.1 $<TARGET_FILE:nudgewick>
    COMMAND ${GZIP} -9nf ${out}/nudgewick.1
    DEPENDS nudgewick ${out}/nudgewick.h2m VERBATIM)
add_custom_command(OUTPUT ${out}/changelog.gz
    COMMAND sh -c "${linux}/debian-changelog \"$1\" nudgewick \"$2\" | ${GZIP} -9n >${out}/changelog.gz"
            debian-changelog ${PROJECT_SOURCE_DIR}/CHANGELOG ${NUDGEWICK_CONTACT}
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG ${linux}/debian-changelog VERBATIM)
add_custom_target(nudgewick_docs ALL DEPENDS ${out}/nudgewick.1.gz ${out}/changelog.gz)

install(TARGETS nudgewick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${out}/nudgewick.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${out}/${NUDGEWICK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${out}/${NUDGEWICK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${out}/copyright ${out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nudgewick)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/icons/nudgewick.svg DESTINATION ${hicolor}/scalable/apps RENAME ${NUDGEWICK_APP_ID}.svg)
foreach(size IN LISTS NUDGEWICK_ICON_SIZES)
    install(FILES ${icons}/${size}.png DESTINATION ${hicolor}/${size}x${size}/apps RENAME ${NUDGEWICK_APP_ID}.png)
endforeach()

# The Debian package: cpack -G DEB in the build directory.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nudgewick)
set(CPACK_PACKAGE_VENDOR ${NUDGEWICK_PUBLISHER})
set(CPACK_PACKAGE_CONTACT ${NUDGEWICK_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${NUDGEWICK_SUMMARY})
set(CPACK_PACKAGE_VERSION ${NUDGEWICK_DISPLAY_VERSION})
set(CPACK_PACKAGE_DESCRIPTION [[While it runs, Nudgewick looks at the mouse pointer every few seconds
and, when the pointer has not moved, nudges it a few pixels sideways
through real mouse input: right, and at the next look back left, so it
never drifts. One small window sets the interval and the distance and
stops and resumes the nudging. It writes no files and uses no network.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${NUDGEWICK_ADDRESS})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-utils opens the web address; the libraries (X, Wayland, systemd's sd-bus)
# come from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
