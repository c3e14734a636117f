// FLTK 1.3 reads its preference files (/etc/fltk/fltk.org/fltk.prefs and
// ~/.fltk/fltk.org/fltk.prefs) when a widget first asks for the toolkit's
// options, which every window does at start-up, and writes them back at exit.
// Its reader crashes on some malformed files, and Nudgewick touches no file of
// its own, so the link routes FLTK's file helpers through these wrappers
// (--wrap in CMakeLists.txt): no toolkit file is opened, no folder created.
// The options keep their built-in defaults.

#include <cerrno>
#include <cstdio>

extern "C" {

FILE* __wrap_fl_fopen(const char*, const char*) {
    errno = EACCES;
    return nullptr;
}

void __wrap_fl_make_path_for_file(const char*) {}

}  // extern "C"
