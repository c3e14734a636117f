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
configure_file(${linux}/nudgewick.desktop.in ${out}/english/${NUDGEWICK_APP_ID}.desktop @ONLY)
configure_file(${linux}/nudgewick.metainfo.xml.in ${out}/english/${NUDGEWICK_APP_ID}.metainfo.xml @ONLY)
configure_file(${linux}/nudgewick.h2m ${out}/nudgewick.h2m @ONLY)

find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
# help2man runs the program by its path: a cross-built one through its emulator, by a script of the same name.
set(help_program $<TARGET_FILE:nudgewick>)
if(CMAKE_CROSSCOMPILING_EMULATOR)
    set(help_program ${out}/emulated/nudgewick)
    list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
    file(GENERATE OUTPUT ${help_program} CONTENT "#!/bin/sh\nexec ${emulator} $<TARGET_FILE:nudgewick> \"$@\"\n"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
# The manual page is English in every build, whatever the builder's language.
add_custom_command(OUTPUT ${out}/nudgewick.1.gz
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE= ${HELP2MAN} --no-info --include=${out}/nudgewick.h2m
            --output=${out}/nudgewick.1 ${help_program}
    COMMAND ${GZIP} -9nf ${out}/nudgewick.1
    DEPENDS nudgewick ${out}/nudgewick.h2m VERBATIM)
set(changelog ${linux}/changelog ${PROJECT_SOURCE_DIR}/CHANGELOG nudgewick ${NUDGEWICK_CONTACT})
add_custom_command(OUTPUT ${out}/changelog.gz ${out}/rpm-changelog
    COMMAND sh -c "\"$0\" deb \"$@\" | ${GZIP} -9n >${out}/changelog.gz" ${changelog}
    COMMAND sh -c "\"$0\" rpm \"$@\" >${out}/rpm-changelog" ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG ${linux}/changelog VERBATIM)
add_custom_target(nudgewick_docs ALL DEPENDS ${out}/nudgewick.1.gz ${out}/changelog.gz ${out}/rpm-changelog)

install(TARGETS nudgewick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
add_subdirectory(${PROJECT_SOURCE_DIR}/po ${PROJECT_BINARY_DIR}/po)
# The desktop entry and the metainfo carry every catalogue's translations of their texts.
file(GLOB catalogues CONFIGURE_DEPENDS ${NUDGEWICK_CATALOGUE_FOLDER}/*.po)
add_custom_command(OUTPUT ${out}/${NUDGEWICK_APP_ID}.desktop ${out}/${NUDGEWICK_APP_ID}.metainfo.xml
    COMMAND ${MSGFMT} --desktop --template=${out}/english/${NUDGEWICK_APP_ID}.desktop
            -d ${NUDGEWICK_CATALOGUE_FOLDER} --output-file=${out}/${NUDGEWICK_APP_ID}.desktop
    COMMAND ${MSGFMT} --xml --template=${out}/english/${NUDGEWICK_APP_ID}.metainfo.xml
            -d ${NUDGEWICK_CATALOGUE_FOLDER} --output-file=${out}/${NUDGEWICK_APP_ID}.metainfo.xml
    DEPENDS ${out}/english/${NUDGEWICK_APP_ID}.desktop ${out}/english/${NUDGEWICK_APP_ID}.metainfo.xml
            ${catalogues} ${NUDGEWICK_CATALOGUE_FOLDER}/LINGUAS VERBATIM)
add_custom_target(nudgewick_entries ALL DEPENDS ${out}/${NUDGEWICK_APP_ID}.desktop ${out}/${NUDGEWICK_APP_ID}.metainfo.xml)
install(FILES ${out}/nudgewick.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${out}/${NUDGEWICK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${out}/${NUDGEWICK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${out}/copyright ${out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nudgewick)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/icons/nudgewick.svg DESTINATION ${hicolor}/scalable/apps RENAME ${NUDGEWICK_APP_ID}.svg)
foreach(size IN LISTS NUDGEWICK_ICON_SIZES)
    install(FILES ${icons}/${size}.png DESTINATION ${hicolor}/${size}x${size}/apps RENAME ${NUDGEWICK_APP_ID}.png)
endforeach()

# The Debian package (cpack -G DEB) and the RPM (cpack -G RPM), with the same
# files. Each asks for xdg-utils, which opens the web address; the libraries
# (X, Wayland, systemd's sd-bus) come from dpkg-shlibdeps and rpmbuild's scan.
set(linux_depends xdg-utils)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nudgewick)
set(CPACK_PACKAGE_VENDOR ${NUDGEWICK_PUBLISHER})
set(CPACK_PACKAGE_CONTACT ${NUDGEWICK_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${NUDGEWICK_SUMMARY})
set(CPACK_PACKAGE_VERSION ${NUDGEWICK_DISPLAY_VERSION})
set(CPACK_PACKAGE_DESCRIPTION ${NUDGEWICK_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
# Each processor's .deb, by Debian's name for it (the Arch recipe names both); the RPM's go by the processor's own.
set(deb_architecture_x86_64 amd64)
set(deb_architecture_aarch64 arm64)
foreach(processor x86_64 aarch64)
    set(NUDGEWICK_DEB_${processor} nudgewick_${NUDGEWICK_DISPLAY_VERSION}_${deb_architecture_${processor}}.deb)
endforeach()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${deb_architecture_${CMAKE_SYSTEM_PROCESSOR}})
set(CPACK_DEBIAN_FILE_NAME ${NUDGEWICK_DEB_${CMAKE_SYSTEM_PROCESSOR}})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${NUDGEWICK_ADDRESS})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The catalogues in Chinese, Japanese, Korean and Vietnamese need letters Liberation Sans lacks.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, fonts-noto-core")
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${linux_depends})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_ARCHITECTURE ${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_RPM_PACKAGE_LICENSE ${NUDGEWICK_LICENSE})
set(CPACK_RPM_PACKAGE_DESCRIPTION ${NUDGEWICK_DESCRIPTION})
set(CPACK_RPM_PACKAGE_URL ${NUDGEWICK_ADDRESS})
set(CPACK_RPM_PACKAGE_REQUIRES ${linux_depends})
set(CPACK_RPM_CHANGELOG_FILE ${out}/rpm-changelog)
# Installed where it was built for, into directories that the system's
# packages own, without /usr/lib/.build-id links that could clash with another
# package's.
set(CPACK_PACKAGE_RELOCATABLE OFF)
set(system_dirs applications metainfo man man/man1 icons icons/hicolor icons/hicolor/scalable icons/hicolor/scalable/apps)
foreach(size IN LISTS NUDGEWICK_ICON_SIZES)
    list(APPEND system_dirs icons/hicolor/${size}x${size} icons/hicolor/${size}x${size}/apps)
endforeach()
file(GLOB languages RELATIVE ${PROJECT_SOURCE_DIR}/po CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
list(APPEND system_dirs locale)
foreach(language IN LISTS languages)
    string(REPLACE ".po" "" language ${language})
    list(APPEND system_dirs locale/${language} locale/${language}/LC_MESSAGES)
endforeach()
list(TRANSFORM system_dirs PREPEND ${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/)
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION ${system_dirs})
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none")
include(CPack)

# The Arch recipe, filled in here; script/package adds the .debs' checksums
# and writes .SRCINFO.
configure_file(${linux}/PKGBUILD.in ${PROJECT_BINARY_DIR}/arch/PKGBUILD @ONLY)
