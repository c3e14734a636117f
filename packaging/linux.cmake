# Linux: the window icon built into the program, the install rules and the
# Debian package (cpack).
set(window_icon_pixels ${PROJECT_BINARY_DIR}/generated/platform/x11/window_icon_pixels.h)
add_custom_command(OUTPUT ${window_icon_pixels}
    COMMAND ${CMAKE_COMMAND} -DICO=${NUDGEWICK_ICO} -DSIZES=16\;32\;48 -DOUT=${window_icon_pixels}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/icons/ico_to_rgba.cmake
    DEPENDS ${NUDGEWICK_ICO} ${CMAKE_CURRENT_SOURCE_DIR}/icons/ico_to_rgba.cmake VERBATIM)
add_custom_target(nudgewick_icons DEPENDS ${window_icon_pixels} ${icon_pngs})
add_dependencies(nudgewick nudgewick_icons)
