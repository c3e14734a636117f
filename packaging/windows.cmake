# Windows: the .exe's resources (icon, manifest, version), the zip (cpack) and
# the installer script (makensis, run by script/package).
set(NUDGEWICK_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.manifest)
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/nudgewick.manifest.in ${NUDGEWICK_MANIFEST} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/nudgewick.rc.in nudgewick.rc @ONLY)
target_sources(nudgewick PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/nudgewick.rc TARGET_DIRECTORY nudgewick
    PROPERTIES OBJECT_DEPENDS "${NUDGEWICK_ICO};${NUDGEWICK_MANIFEST}")
add_dependencies(nudgewick nudgewick_icons)

# The installer's pictures, the icon on white in the sizes its pages show: the
# header's corner and the finish page's side. Without ImageMagick's convert
# (a native Windows build) the installer shows NSIS's own.
set(NUDGEWICK_INSTALLER_PICTURES "")
find_program(IMAGEMAGICK_CONVERT convert)
if(icon_pngs AND IMAGEMAGICK_CONVERT)
    set(header ${icons}/installer-header.bmp)
    set(side ${icons}/installer-side.bmp)
    # NSIS reads only uncompressed BMP3 without alpha.
    add_custom_command(OUTPUT ${header} ${side}
        COMMAND ${IMAGEMAGICK_CONVERT} -size 150x57 xc:white ${icons}/48.png -gravity east -geometry +8+0 -composite
                -type TrueColor BMP3:${header}
        COMMAND ${IMAGEMAGICK_CONVERT} -size 164x314 xc:white ${icons}/128.png -gravity center -composite
                -type TrueColor BMP3:${side}
        DEPENDS ${icons}/48.png ${icons}/128.png VERBATIM)
    add_custom_target(nudgewick_installer_pictures ALL DEPENDS ${header} ${side})
    string(CONCAT NUDGEWICK_INSTALLER_PICTURES
        "!define MUI_HEADERIMAGE\n!define MUI_HEADERIMAGE_RIGHT\n"
        "!define MUI_HEADERIMAGE_BITMAP \"${header}\"\n!define MUI_HEADERIMAGE_UNBITMAP \"${header}\"\n"
        "!define MUI_WELCOMEFINISHPAGE_BITMAP \"${side}\"\n!define MUI_UNWELCOMEFINISHPAGE_BITMAP \"${side}\"\n")
endif()

# What a user downloads: the zip (cpack -G ZIP) and the installer (makensis on
# nudgewick.nsi; script/package runs both after signing the .exe).
set(NUDGEWICK_STAGE ${CMAKE_CURRENT_BINARY_DIR}/stage)
set(package_name nudgewick-${NUDGEWICK_DISPLAY_VERSION}-windows-x64)
set(NUDGEWICK_INSTALLER ${PROJECT_BINARY_DIR}/${package_name}-setup.exe)
configure_file(windows/README.txt.in ${NUDGEWICK_STAGE}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${NUDGEWICK_STAGE}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
set(NUDGEWICK_EXE $<TARGET_FILE:nudgewick>)
configure_file(windows/nudgewick.nsi.in nudgewick.nsi.in @ONLY)
file(GENERATE OUTPUT nudgewick.nsi INPUT ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.nsi.in)

install(TARGETS nudgewick RUNTIME DESTINATION .)
install(FILES ${NUDGEWICK_STAGE}/README.txt ${NUDGEWICK_STAGE}/LICENSE.txt DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME nudgewick)
set(CPACK_PACKAGE_VERSION ${NUDGEWICK_DISPLAY_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${package_name})
include(CPack)
