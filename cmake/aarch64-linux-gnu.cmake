# Cross-compiles the Linux program for 64-bit ARM (Raspberry Pi OS, ARM laptops) with Debian's cross
# compilers, against the arm64 libraries that multiarch installs beside the machine's own
# (/usr/lib/aarch64-linux-gnu, script/deps arm64). The tests run the arm64 programs under qemu.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(NUDGEWICK_TRIPLET aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${NUDGEWICK_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${NUDGEWICK_TRIPLET}-g++)
# The compilers name the multiarch directory, so find_library and find_path look in the arm64 one; programs
# (wayland-scanner, help2man) are the machine's own.
set(CMAKE_LIBRARY_ARCHITECTURE ${NUDGEWICK_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# pkg-config and fltk-config answer for arm64.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${NUDGEWICK_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
find_program(FLTK_CONFIG ${NUDGEWICK_TRIPLET}-fltk-config REQUIRED)

# ctest, and the build steps that run the program (its manual page), start arm64 programs through qemu with
# the arm64 loader and libraries of this machine's root.
find_program(NUDGEWICK_QEMU qemu-${CMAKE_SYSTEM_PROCESSOR}-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NUDGEWICK_QEMU} -L /)
