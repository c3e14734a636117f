# Windows: the .exe's resources (icon, manifest, version), the zip (cpack) and
# the installer script (makensis, run by script/package).
add_custom_target(nudgewick_icons DEPENDS ${NUDGEWICK_ICO})
set(NUDGEWICK_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.manifest)
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/nudgewick.manifest.in ${NUDGEWICK_MANIFEST} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/platform/win32/nudgewick.rc.in nudgewick.rc @ONLY)
target_sources(nudgewick PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/nudgewick.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/nudgewick.rc TARGET_DIRECTORY nudgewick
    PROPERTIES OBJECT_DEPENDS "${NUDGEWICK_ICO};${NUDGEWICK_MANIFEST}")
add_dependencies(nudgewick nudgewick_icons)
