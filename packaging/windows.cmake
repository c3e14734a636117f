# Windows: the .exe's resources (icon, manifest, version), the zip (cpack) and
# the installer script (makensis, run by script/package).

# The texts in every catalogue's language (po/LANG.po), as deflated tables
# that nudgewick.rc includes: rewritten when a catalogue or the template changes.
nudgewick_host_program(string_tables win32_string_tables ${CMAKE_CURRENT_SOURCE_DIR}/windows/win32_string_tables.cpp
                       ${CMAKE_CURRENT_SOURCE_DIR}/po_file.cpp ${CMAKE_CURRENT_SOURCE_DIR}/po_file.h
                       ${PROJECT_SOURCE_DIR}/core/string_tables.h ${CMAKE_CURRENT_SOURCE_DIR}/windows/catalogue_languages.h
                       LIBRARIES z)
set(template ${PROJECT_SOURCE_DIR}/po/nudgewick.pot)
file(GLOB catalogues CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
set(string_table_arguments)
set(NUDGEWICK_STRING_TABLES ${CMAKE_CURRENT_BINARY_DIR}/nudgewick_strings.rc)
set(table_files ${NUDGEWICK_STRING_TABLES}.english)
foreach(catalogue IN LISTS catalogues)
    get_filename_component(language ${catalogue} NAME_WE)
    list(APPEND string_table_arguments ${language} ${catalogue})
    list(APPEND table_files ${NUDGEWICK_STRING_TABLES}.${language})
endforeach()
add_custom_command(OUTPUT ${NUDGEWICK_STRING_TABLES} BYPRODUCTS ${table_files}
    COMMAND ${string_tables} ${NUDGEWICK_STRING_TABLES} ${template} ${string_table_arguments}
    DEPENDS ${string_tables} ${template} ${catalogues} VERBATIM)
add_custom_target(nudgewick_string_tables DEPENDS ${NUDGEWICK_STRING_TABLES})

set(NUDGEWICK_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.manifest)
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/nudgewick.manifest.in ${NUDGEWICK_MANIFEST} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/nudgewick.rc.in nudgewick.rc @ONLY)
target_sources(nudgewick PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/nudgewick.rc TARGET_DIRECTORY nudgewick
    PROPERTIES OBJECT_DEPENDS "${NUDGEWICK_ICO};${NUDGEWICK_MANIFEST};${NUDGEWICK_STRING_TABLES}")
add_dependencies(nudgewick nudgewick_icons nudgewick_string_tables)

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
# The zip's README.txt lists the options as --help does, printed by the core
# built for the machine that builds the package.
get_target_property(core_sources nudgewick_core SOURCES)
list(TRANSFORM core_sources PREPEND ${PROJECT_SOURCE_DIR}/)
nudgewick_host_program(print_help print_help ${core_sources} ${CMAKE_CURRENT_SOURCE_DIR}/windows/print_help.cpp)
set(readme ${NUDGEWICK_STAGE}/README.txt)
add_custom_command(OUTPUT ${readme}
    COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt.in -DPRINT_HELP=${print_help}
            -DOUT=${readme} -DNUDGEWICK_DISPLAY_VERSION=${NUDGEWICK_DISPLAY_VERSION}
            -DNUDGEWICK_ADDRESS=${NUDGEWICK_ADDRESS} -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/readme.cmake
    DEPENDS ${print_help} ${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt.in
            ${CMAKE_CURRENT_SOURCE_DIR}/windows/readme.cmake VERBATIM)
add_custom_target(nudgewick_readme ALL DEPENDS ${readme})
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${NUDGEWICK_STAGE}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
set(NUDGEWICK_EXE $<TARGET_FILE:nudgewick>)
set(NUDGEWICK_UNINSTALL_KEY Nudgewick)  # the installer's key under ...\CurrentVersion\Uninstall
# The start at sign-in that the installer and the MSI offer.
set(NUDGEWICK_RUN_KEY "Software\\Microsoft\\Windows\\CurrentVersion\\Run")
set(NUDGEWICK_RUN_VALUE Nudgewick)
set(NUDGEWICK_AUTOSTART_OPTIONS --minimized)
# The installer speaks every catalogue's language: NSIS's pages and our texts
# (windows/nsis_texts.h), in the language Windows shows its own in.
nudgewick_host_program(lang_strings nsis_lang_strings ${CMAKE_CURRENT_SOURCE_DIR}/windows/nsis_lang_strings.cpp
                       ${CMAKE_CURRENT_SOURCE_DIR}/windows/nsis_texts.h ${CMAKE_CURRENT_SOURCE_DIR}/po_file.cpp
                       ${CMAKE_CURRENT_SOURCE_DIR}/po_file.h ${CMAKE_CURRENT_SOURCE_DIR}/windows/catalogue_languages.h)
file(GLOB installer_catalogues CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
set(lang_string_arguments)
foreach(catalogue IN LISTS installer_catalogues)
    get_filename_component(language ${catalogue} NAME_WE)
    list(APPEND lang_string_arguments ${language} ${catalogue})
endforeach()
set(NUDGEWICK_INSTALLER_LANGUAGES ${CMAKE_CURRENT_BINARY_DIR}/nudgewick_languages.nsh)
add_custom_command(OUTPUT ${NUDGEWICK_INSTALLER_LANGUAGES}
    COMMAND ${lang_strings} ${NUDGEWICK_INSTALLER_LANGUAGES} ${lang_string_arguments}
    DEPENDS ${lang_strings} ${installer_catalogues} VERBATIM)
add_custom_target(nudgewick_installer_languages ALL DEPENDS ${NUDGEWICK_INSTALLER_LANGUAGES})
configure_file(windows/nudgewick.nsi.in nudgewick.nsi.in @ONLY)
file(GENERATE OUTPUT nudgewick.nsi INPUT ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.nsi.in)

install(TARGETS nudgewick RUNTIME DESTINATION .)
install(FILES ${NUDGEWICK_STAGE}/README.txt ${NUDGEWICK_STAGE}/LICENSE.txt DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME nudgewick)
set(CPACK_PACKAGE_VERSION ${NUDGEWICK_DISPLAY_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${package_name})
include(CPack)

# The MSI (packaging/windows/msi on nudgewick-VERSION-x64.wxs, run by script/package) with its
# custom action that closes a running copy. One UpgradeCode for every version;
# each version's ProductCode is made from it and the version.
add_library(close_running_copy MODULE windows/close_running_copy.cpp)
set_target_properties(close_running_copy PROPERTIES PREFIX "")
target_compile_definitions(close_running_copy PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
target_include_directories(close_running_copy PRIVATE ${PROJECT_BINARY_DIR}/generated)
nudgewick_warnings(close_running_copy)
set(msi_name nudgewick-${NUDGEWICK_DISPLAY_VERSION}-x64)
set(NUDGEWICK_MSI ${msi_name}.msi)
set(NUDGEWICK_MSI_UPGRADE_CODE 13B1F7EF-564D-4163-BFC3-CB9E90B2AFC9)
string(UUID NUDGEWICK_MSI_PRODUCT_CODE NAMESPACE ${NUDGEWICK_MSI_UPGRADE_CODE} NAME ${NUDGEWICK_DISPLAY_VERSION}
       TYPE SHA1 UPPER)
# wixl finds files only by paths relative to the .wxs.
file(RELATIVE_PATH msi_ico ${PROJECT_BINARY_DIR} ${NUDGEWICK_ICO})
file(RELATIVE_PATH msi_stage ${PROJECT_BINARY_DIR} ${NUDGEWICK_STAGE})
set(msi_exe "$<PATH:RELATIVE_PATH,$<TARGET_FILE:nudgewick>,${PROJECT_BINARY_DIR}>")
set(msi_dll "$<PATH:RELATIVE_PATH,$<TARGET_FILE:close_running_copy>,${PROJECT_BINARY_DIR}>")
configure_file(windows/nudgewick.wxs.in nudgewick.wxs.in @ONLY)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/${msi_name}.wxs
     INPUT ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.wxs.in)

# The winget and Scoop manifests, filled in here but for the files' SHA-256,
# which script/package adds once it has made them (windows/manifests.cmake).
set(NUDGEWICK_WINGET_ID Nudgewick.Nudgewick)
string(REPLACE "\n" " " NUDGEWICK_DESCRIPTION_LINE "${NUDGEWICK_DESCRIPTION}")
set(manifests ${PROJECT_BINARY_DIR}/manifests)
configure_file(windows/winget/version.yaml.in ${manifests}/winget/${NUDGEWICK_WINGET_ID}.yaml @ONLY)
configure_file(windows/winget/locale.yaml.in ${manifests}/winget/${NUDGEWICK_WINGET_ID}.locale.en-US.yaml @ONLY)
configure_file(windows/winget/installer.yaml.in ${manifests}/winget/${NUDGEWICK_WINGET_ID}.installer.yaml @ONLY)
configure_file(windows/scoop/nudgewick.json.in ${manifests}/scoop/nudgewick.json @ONLY)
