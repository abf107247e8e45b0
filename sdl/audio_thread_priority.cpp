#include "sdl/audio_thread_priority.h"

#include <pthread.h>
#include <sched.h>

namespace kelvarok {
namespace {

// Below PipeWire's and PulseAudio's data threads, above every ordinary one.
constexpr int kAudioThreadPriority = 10;

}  // namespace

void KeepAudioThreadInTime() {
  thread_local bool asked = false;
  if (asked) return;
  asked = true;
  sched_param param{};
  param.sched_priority = kAudioThreadPriority;
  pthread_setschedparam(pthread_self(), SCHED_RR | SCHED_RESET_ON_FORK, &param);
}

}  // namespace kelvarok
