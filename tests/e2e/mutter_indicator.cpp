// Loaded into a headless Mutter (LD_PRELOAD), it stands in for GNOME Shell's remote-access indicator:
// SIGUSR1 presses the indicator's button that ends remote control, stopping each remote access handle
// that Mutter announced, as the indicator does. Mutter's own symbols are found in the process; its context,
// the way to the backend in every Mutter since 40, is caught as Mutter's main configures it.
#include <dlfcn.h>

#include <csignal>
#include <vector>

extern "C" {
using gpointer = void*;
using gboolean = int;
void* meta_context_get_backend(void* context);
void* meta_backend_get_remote_access_controller(void* backend);
void meta_remote_access_handle_stop(void* handle);
unsigned long g_signal_connect_data(gpointer instance, const char* signal, void (*handler)(), gpointer data,
                                    void* destroy, int flags);
unsigned g_idle_add(gboolean (*function)(gpointer), gpointer data);
unsigned g_unix_signal_add(int signal, gboolean (*handler)(gpointer), gpointer data);
gpointer g_object_ref(gpointer object);
void g_object_unref(gpointer object);
}

namespace {

void* context = nullptr;
std::vector<gpointer> handles;

void OnNewHandle(gpointer, gpointer handle, gpointer) { handles.push_back(g_object_ref(handle)); }

gboolean StopEveryHandle(gpointer) {
    for (const gpointer handle : handles) meta_remote_access_handle_stop(handle), g_object_unref(handle);
    handles.clear();
    return 1;
}

// Once Mutter's loop runs, its backend exists.
gboolean Listen(gpointer) {
    void* backend = context != nullptr ? meta_context_get_backend(context) : nullptr;
    if (backend == nullptr) return 1;
    g_signal_connect_data(meta_backend_get_remote_access_controller(backend), "new-handle",
                          reinterpret_cast<void (*)()>(OnNewHandle), nullptr, nullptr, 0);
    return 0;
}

__attribute__((constructor)) void Load() {
    g_idle_add(Listen, nullptr);
    g_unix_signal_add(SIGUSR1, StopEveryHandle, nullptr);
}

}  // namespace

extern "C" int meta_context_configure(void* made, int* argc, char*** argv, void** error) {
    static const auto configure =
        reinterpret_cast<int (*)(void*, int*, char***, void**)>(dlsym(RTLD_NEXT, "meta_context_configure"));
    context = made;
    return configure(made, argc, argv, error);
}
