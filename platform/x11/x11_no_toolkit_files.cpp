// FLTK 1.3 rewrites its preference files (/etc/fltk/fltk.org/fltk.prefs and
// ~/.fltk/fltk.org/fltk.prefs) each time a program reads the toolkit's
// options, which every window does at start-up. Nudgewick writes no files, so
// the link routes FLTK's file helpers through these wrappers (--wrap in
// CMakeLists.txt), which refuse to create folders or open files for writing.
// Reading goes on as before.

#include <cerrno>
#include <cstdio>
#include <cstring>

extern "C" {

FILE* __real_fl_fopen(const char* name, const char* mode);

FILE* __wrap_fl_fopen(const char* name, const char* mode) {
    if (std::strpbrk(mode, "wa+") != nullptr) {
        errno = EROFS;
        return nullptr;
    }
    return __real_fl_fopen(name, mode);
}

void __wrap_fl_make_path_for_file(const char*) {}

}  // extern "C"
