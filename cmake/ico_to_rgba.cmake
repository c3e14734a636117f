# Writes the 32-bit images of the given sizes in a .ico as RGBA arrays, the
# icon built into the Linux program for its window and its notification-area
# icon:
#   cmake -DICO=nudgewick.ico -DSIZES=16;32;48 -DOUT=window_icon_pixels.h -P ico_to_rgba.cmake
# A .ico holds a directory of images; each small one is a BITMAPINFOHEADER and
# bottom-up rows of BGRA pixels (icotool -b 32 writes them so).
cmake_minimum_required(VERSION 3.20)
file(READ "${ICO}" hex HEX)

# Sets VAR to the little-endian number of BYTES bytes at byte OFFSET.
function(read_number offset bytes var)
    math(EXPR start "${offset} * 2")
    math(EXPR length "${bytes} * 2")
    string(SUBSTRING "${hex}" ${start} ${length} digits)
    string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" digits "${digits}")
    string(REGEX REPLACE "^(..)(..)$" "\\2\\1" digits "${digits}")
    math(EXPR value "0x${digits}")
    set(${var} ${value} PARENT_SCOPE)
endfunction()

set(arrays "")
set(table "")
read_number(4 2 count)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
    math(EXPR entry "6 + 16 * ${index}")
    read_number(${entry} 1 size)
    math(EXPR entry_bits "${entry} + 6")
    math(EXPR entry_offset "${entry} + 12")
    read_number(${entry_bits} 2 bits)
    read_number(${entry_offset} 4 offset)
    read_number(${offset} 4 header_size)
    if(NOT size IN_LIST SIZES OR NOT bits EQUAL 32 OR NOT header_size EQUAL 40)
        continue()  # another size, a palette image or a PNG
    endif()
    math(EXPR row_length "${size} * 8")  # hex digits
    set(rows "")
    foreach(row RANGE 1 ${size})
        math(EXPR start "(${offset} + 40) * 2 + (${size} - ${row}) * ${row_length}")
        string(SUBSTRING "${hex}" ${start} ${row_length} pixels)
        string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\3,0x\\2,0x\\1,0x\\4," pixels "${pixels}")
        string(APPEND rows "    ${pixels}\n")
    endforeach()
    string(APPEND arrays "inline constexpr std::uint8_t kRgba${size}[] = {\n${rows}};\n")
    string(APPEND table "    {${size}, kRgba${size}},\n")
    list(REMOVE_ITEM SIZES ${size})
endforeach()
if(SIZES)
    message(FATAL_ERROR "${ICO} has no 32-bit image of ${SIZES} px")
endif()

file(WRITE "${OUT}" "#pragma once
// Generated from ${ICO} by cmake/ico_to_rgba.cmake.
#include <cstdint>

#include \"core/tray.h\"  // IconImage

namespace nudgewick::linux_desktop {

${arrays}
inline constexpr IconImage kWindowIconImages[] = {
${table}};

}  // namespace nudgewick::linux_desktop
")
