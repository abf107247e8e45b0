// The program's last step, once its windows are closed and everything is
// saved.
#pragma once

namespace kelvarok {

// Gives status back for main to return; under Wayland it ends the process
// here with status instead. Qt 6.4's Wayland client can wait forever, when
// the application object is destroyed, for its event thread to stop (a busy
// machine makes it likely): the process would live on without a window,
// holding the single-instance lock. Nothing of the program's remains to be
// done then, so skipping Qt's teardown loses nothing.
int EndProgram(int status);

}  // namespace kelvarok
