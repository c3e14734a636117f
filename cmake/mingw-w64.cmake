# Cross-compiles for 64-bit Windows with mingw-w64; runs the tests under Wine when it is installed.
# The posix-threads variant of the compilers gives GoogleTest its std::mutex.
# Everything mingw-specific lives here, so the project's own CMake files also
# build with MSVC on Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NUDGEWICK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${NUDGEWICK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NUDGEWICK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${NUDGEWICK_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NUDGEWICK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe (and test DLL): the C++ runtime and winpthread are
# linked in, so it needs nothing beyond the system's own DLLs. Unused code is
# dropped, symbols are stripped.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s -Wl,--gc-sections")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${CMAKE_EXE_LINKER_FLAGS_INIT}")

# Wine is for the tests only: without it the .exe still builds, and the tests
# that run Windows code are left out. With it, ctest starts the Windows test
# programs through Wine, quietly, in a prefix of the build tree's own and
# without the Mono and Gecko installers' prompts; tests/win32 runs the .exe in
# the same prefix.
find_program(NUDGEWICK_WINE wine)
if(NUDGEWICK_WINE)
    set(NUDGEWICK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
    set(NUDGEWICK_WINE_ENVIRONMENT WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= WINEPREFIX=${NUDGEWICK_WINE_PREFIX})
    set(CMAKE_CROSSCOMPILING_EMULATOR env ${NUDGEWICK_WINE_ENVIRONMENT} ${NUDGEWICK_WINE})
endif()

# wWinMain is the entry only when asked for; the test programs keep main.
set(NUDGEWICK_WIDE_ENTRY_LINK_OPTIONS -municode)
