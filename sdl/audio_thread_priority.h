// Real-time scheduling for the thread that feeds the sound device.
#pragma once

namespace kelvarok {

// Call on the audio thread each time it runs the device's callback: the first
// call on a thread asks the kernel for round-robin real-time scheduling at a
// low real-time priority, below the sound server's own threads. A process that
// may not have it (an ordinary user without a real-time limit) keeps the
// ordinary scheduling; SDL has asked RealtimeKit for it on such desktops.
void KeepAudioThreadInTime();

}  // namespace kelvarok
