#pragma once

namespace tarnwick {

// While the windowing system starts, Qt's messages are held back. Qt ends the process with
// abort() when it cannot open the display it was given; instead the program then prints one
// line naming the display and the command-line tool, and exits with status 1.
void holdStartupMessages();
// Lets the held messages through (the display opened) and restores Qt's own message output.
void releaseStartupMessages();

}  // namespace tarnwick
