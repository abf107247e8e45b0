#include "sdl/quiet_alsa.h"

#include <dlfcn.h>

namespace kelvarok {
namespace {

// snd_lib_error_handler_t.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err,
                                  const char* format, ...);
using SetErrorHandler = int (*)(AlsaErrorHandler);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void QuietAlsaErrors() {
  // SDL loads ALSA at run time as well, so the program does not link it: a
  // system without it has nothing to quieten. The handle is never closed.
  static void* const alsa = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (alsa == nullptr) return;
  if (auto set = reinterpret_cast<SetErrorHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
    set(&IgnoreAlsaError);
}

}  // namespace kelvarok
