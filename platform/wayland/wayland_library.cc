#include <dlfcn.h>

#include <array>
#include <cstddef>
#include <iterator>

#include "wayland_client.h"

namespace screenprobe::wayland {

std::array<void*, std::size(kFunctionNames)> library{};

bool load_library() {
  // The versioned name: the unversioned one exists only where the -dev package is installed.
  // The library stays loaded for the rest of this short process. Lazy binding leaves its own
  // calls into libffi and libc unresolved until made: a run makes few of them.
  void* handle = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_LOCAL);
  if (handle == nullptr) return false;
  for (size_t i = 0; i < library.size(); ++i) {
    library[i] = dlsym(handle, kFunctionNames[i]);
    if (library[i] == nullptr) return false;
  }
  return true;
}

}  // namespace screenprobe::wayland
