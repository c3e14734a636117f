# nudgewick_wayland_protocols(TARGET XML...): a static library of the client
# code that wayland-scanner generates from each protocol's XML at build time,
# its headers (NAME-client-protocol.h) on the include path of what links it.
# Included by each directory that calls it: the generated code is C.
enable_language(C)
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET GLOBAL wayland-client)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)

function(nudgewick_wayland_protocols target)
    set(directory ${CMAKE_CURRENT_BINARY_DIR}/${target})
    set(sources)
    foreach(xml IN LISTS ARGN)
        get_filename_component(base ${xml} NAME_WE)
        set(header ${directory}/${base}-client-protocol.h)
        set(code ${directory}/${base}-protocol.c)
        add_custom_command(OUTPUT ${header} ${code}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
            COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header}
            COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code}
            DEPENDS ${xml} VERBATIM)
        list(APPEND sources ${header} ${code})
    endforeach()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${directory})
    target_link_libraries(${target} PUBLIC PkgConfig::WAYLAND_CLIENT)
endfunction()
